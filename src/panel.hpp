// What the notices and the colour collection are drawn with: a framed panel in the title card's
// wood round a dark, see-through middle, and a flower's blossom cut from the flower sheet.
#pragma once

#include <cstdint>
#include <expected>
#include <string>

#include <SDL.h>
#include <SDL_ttf.h>

#include "draw_error.hpp"
#include "sdl.hpp"

namespace qm {

class DrawContext;

// A panel over the whole rectangle: the frame is three pixels wide.
DrawResult draw_panel(DrawContext& ctx, SDL_Rect area);

// The open blossom of the flower sheet, coloured as the field colours it, its head centred in
// `area` at `zoom` screen pixels per sheet pixel. Alpha below 255 lets it fade into a silhouette.
DrawResult draw_blossom(DrawContext& ctx, std::uint32_t colour, std::uint8_t alpha, SDL_Point centre, int zoom);
// A line of text rendered for this frame, with its size for laying it out.
struct TextLine {
    TexturePtr texture;
    int w = 0;
    int h = 0;
};
std::expected<TextLine, DrawError> make_text(DrawContext& ctx, TTF_Font* font, std::uint32_t colour,
                                             const std::string& text);
DrawResult put_text(DrawContext& ctx, const TextLine& line, int x, int y);

// Side of the square cut round a blossom's head, in sheet pixels.
inline constexpr int BLOSSOM_SIDE = 18;

}  // namespace qm
