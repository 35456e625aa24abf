// Framed panels and blossom swatches for the screens drawn over the field.
#include "panel.hpp"

#include <string>

#include "fatal.hpp"
#include "graphics.hpp"
#include "sheets.hpp"

namespace qm {

namespace {

// The open blossom in the still frame (column 0), cut square round its head.
constexpr const SheetSpec& FLOWER_SHEET = sheet_spec(SheetId::flowers);
constexpr int BLOSSOM_X = FLOWER_SHEET.anchor_x - BLOSSOM_SIDE / 2;
constexpr int BLOSSOM_Y =
    static_cast<int>(std::to_underlying(FlowerRow::Blossom)) * FLOWER_SHEET.cell_h + FLOWER_HEAD_Y - BLOSSOM_SIDE / 2;

// Outside in: two rings of dark wood and one of light wood round the middle, opaque, so that no
// letter of what lies beneath reads through a card's own.
constexpr SDL_Color MIDDLE{24, 28, 34, 255};
constexpr SDL_Color RINGS[] = {DARK_WOOD, DARK_WOOD, LIGHT_WOOD};

void check(int sdl_result) {
    if (sdl_result != 0) fatal(SDL_GetError());
}

void set_colour_mod(SDL_Texture* texture, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (SDL_SetTextureColorMod(texture, r, g, b) != 0) fatal(std::string("Error setting color mod: ") + SDL_GetError());
}

SDL_Rect inset(SDL_Rect area, int by) { return {area.x + by, area.y + by, area.w - 2 * by, area.h - 2 * by}; }

}  // namespace

DrawResult draw_panel(DrawContext& ctx, SDL_Rect area) {
    SDL_Renderer* r = ctx.renderer();
    int ring = 0;
    for (const SDL_Color& c : RINGS) {
        check(SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a));
        const SDL_Rect edge = inset(area, ring++);
        if (SDL_RenderDrawRect(r, &edge) != 0) return std::unexpected(DrawError::from_sdl());
    }
    return fill_rect(ctx, inset(area, ring), MIDDLE);
}

DrawResult fill_rect(DrawContext& ctx, SDL_Rect area, SDL_Color colour) {
    SDL_Renderer* r = ctx.renderer();
    SDL_BlendMode before = SDL_BLENDMODE_NONE;
    check(SDL_GetRenderDrawBlendMode(r, &before));
    check(SDL_SetRenderDrawBlendMode(r, colour.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND));
    check(SDL_SetRenderDrawColor(r, colour.r, colour.g, colour.b, colour.a));
    const bool filled = SDL_RenderFillRect(r, &area) == 0;
    check(SDL_SetRenderDrawBlendMode(r, before));
    if (!filled) return std::unexpected(DrawError::from_sdl());
    return {};
}

DrawResult draw_blossom(DrawContext& ctx, std::uint32_t colour, std::uint8_t alpha, SDL_Point centre, int zoom) {
    SDL_Texture* sheet = ctx.flowers.get();
    const auto channel = [colour](int shift) { return static_cast<std::uint8_t>((colour >> shift) & 0xFF); };
    set_colour_mod(sheet, channel(0), channel(8), channel(16));
    check(SDL_SetTextureAlphaMod(sheet, alpha));
    const int side = BLOSSOM_SIDE * zoom;
    auto done = ctx.copy(sheet, SDL_Rect{BLOSSOM_X, BLOSSOM_Y, BLOSSOM_SIDE, BLOSSOM_SIDE},
                         SDL_Rect{centre.x - side / 2, centre.y - side / 2, side, side});
    // The sheet goes back to the day's tint for the field's next frame.
    check(SDL_SetTextureAlphaMod(sheet, 255));
    set_colour_mod(sheet, ctx.tint.r, ctx.tint.g, ctx.tint.b);
    return done;
}

DrawResult put_text(DrawContext& ctx, const TextLine& line, int x, int y) {
    return ctx.copy_whole(line.texture.get(), SDL_Rect{x, y, line.w, line.h});
}

DrawResult draw_text(DrawContext& ctx, TTF_Font* font, std::uint32_t colour, std::string_view text, int x, int y) {
    auto line = ctx.texts.line(ctx, font, colour, text);
    if (!line) return std::unexpected(std::move(line.error()));
    return put_text(ctx, **line, x, y);
}

int text_width(TTF_Font* font, const char* text) {
    int w = 0;
    int h = 0;
    if (TTF_SizeUTF8(font, text, &w, &h) != 0) fatal(TTF_GetError());
    return w;
}

int text_width(TTF_Font* font, const std::string& text) { return text_width(font, text.c_str()); }

}  // namespace qm
