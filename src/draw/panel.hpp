// The panel toolkit of everything drawn over the field (the notices, the colour collection and the
// cards of overlay.*): a framed panel in the title card's wood round a dark, opaque middle,
// filled boxes, lines of text measured and placed, and a flower's blossom cut from the flower sheet.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include <SDL.h>
#include <SDL_ttf.h>

#include "draw_error.hpp"
#include "sdl.hpp"
#include "text_cache.hpp"  // TextLine

namespace qm {

class DrawContext;

// A panel over the whole rectangle: the frame is three pixels wide.
DrawResult draw_panel(DrawContext& ctx, SDL_Rect area);

// The open blossom of the flower sheet, coloured as the field colours it, its head centred in
// `area` at `zoom` screen pixels per sheet pixel. Alpha below 255 lets it fade into a silhouette.
DrawResult draw_blossom(DrawContext& ctx, std::uint32_t colour, std::uint8_t alpha, SDL_Point centre, int zoom);
DrawResult put_text(DrawContext& ctx, const TextLine& line, int x, int y);
// Places a line, its top-left corner at (x, y), rendered only if no frame drew it just before.
DrawResult draw_text(DrawContext& ctx, TTF_Font* font, std::uint32_t colour, std::string_view text, int x, int y);
// The width a line of text takes in a font.
int text_width(TTF_Font* font, const char* text);
int text_width(TTF_Font* font, const std::string& text);
// A solid rectangle, blended when the colour is see-through.
DrawResult fill_rect(DrawContext& ctx, SDL_Rect area, SDL_Color colour);

// The panel's wood, for marks and rules drawn in the same art.
inline constexpr SDL_Color DARK_WOOD{112, 72, 42, 255};
inline constexpr SDL_Color LIGHT_WOOD{168, 118, 70, 255};
// Honey: the highlight of the cards' titles and keys.
inline constexpr std::uint32_t HONEY = 0xFF40C8F8;

// Side of the square cut round a blossom's head, in sheet pixels.
inline constexpr int BLOSSOM_SIDE = 18;

}  // namespace qm
