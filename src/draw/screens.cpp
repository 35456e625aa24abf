// Texts and screens: the clock and the frame time, hive levels, the intro picture, the dawn card
// and the genome labels. Their texts come from the context's cache, so an unchanged clock costs
// no rendering.
#include "graphics.hpp"

#include "fatal.hpp"
#include "graphics_internal.hpp"
#include "wrapping.hpp"

namespace qm {

namespace {

// A text placed by its own size.
template <typename Place>
DrawResult draw_placed_text(DrawContext& ctx, TTF_Font* font, std::uint32_t colour, const std::string& text,
                            Place&& place) {
    auto line = ctx.texts.line(ctx, font, colour, text);
    if (!line) return std::unexpected(std::move(line.error()));
    const TextureSize size{(*line)->w, (*line)->h};
    const auto [x, y] = place(size);
    return copy_cell(ctx.renderer(), (*line)->texture.get(), WideRect{0, 0, size.w, size.h},
                     WideRect{x, y, size.w, size.h});
}

struct Pos {
    std::int64_t x, y;
};

}  // namespace

DrawResult DrawContext::draw_daytime(std::uint64_t day, std::uint16_t time) {
    return draw_placed_text(*this, medium_font.get(), WHITE, daytime_text(day, time),
                          [](TextureSize) { return Pos{0, 0}; });
}

DrawResult DrawContext::draw_frame_time(std::chrono::nanoseconds duration) {
    // The real viewport, not the stored view size: this runs after a possible full-screen switch.
    const SDL_Rect viewport = window_viewport();
    return draw_placed_text(*this, medium_font.get(), WHITE, frame_time_text(duration),
                          [&](TextureSize s) { return Pos{std::int64_t{viewport.w} - s.w, 0}; });
}

DrawResult DrawContext::draw_level(std::int32_t x, std::int32_t y, std::uint16_t level) {
    const ScreenPoint p = transform.to_screen(x, wrap_sub(y, ONE_UNIT));
    return draw_placed_text(*this, small_font.get(), YELLOW, "L" + std::to_string(level),
                          [&](TextureSize s) { return Pos{std::int64_t{p.x} - s.w / 2, std::int64_t{p.y} - s.h}; });
}

DrawResult DrawContext::draw_intro() {
    const TextureSize s = texture_size(intro.get());
    const std::int64_t x = transform.width / 2 - s.w / 2;
    const std::int64_t y = transform.height / 2 - s.h / 2;
    return copy_cell(renderer(), intro.get(), WideRect{0, 0, s.w, s.h}, WideRect{x, y, s.w, s.h});
}

DrawResult DrawContext::draw_new_day(std::uint64_t day) {
    SDL_Renderer* r = renderer();
    set_draw_colour(r, 0, 0, 0, 255);
    if (SDL_RenderClear(r) != 0) fatal(std::string("Could not clear: ") + SDL_GetError());

    const std::int64_t mid_x = transform.width / 2;
    const std::int64_t mid_y = transform.height / 2;
    const TextureSize dawn = texture_size(dawn_of.get());
    QM_TRY(copy_cell(r, dawn_of.get(), WideRect{0, 0, dawn.w, dawn.h},
           WideRect{mid_x - dawn.w / 2, mid_y - 4 - dawn.h, dawn.w, dawn.h}));
    return draw_placed_text(*this, large_font.get(), WHITE, "Day " + std::to_string(day),
                          [&](TextureSize s) { return Pos{mid_x - s.w / 2, mid_y + 4}; });
}

DrawResult DrawContext::draw_genome(std::int32_t x, std::int32_t y, std::uint32_t counts) {
    const TextureSize s = texture_size(genome_textures[0][0].get());
    const ScreenPoint p = transform.to_screen(x, y);
    const std::int64_t top = std::int64_t{p.y} - s.h / 2;
    const std::array<std::int64_t, 3> left{std::int64_t{p.x} - 3 * s.w / 2, std::int64_t{p.x} - s.w / 2,
                                           std::int64_t{p.x} + s.w / 2};
    // A gene counts 0, 1 or 2 dominant alleles; anything else means a corrupted flower.
    for (std::size_t k = 0; k < 3; ++k) {
        if (((counts >> (8 * k)) & 0xFF) > 2) fatal(ALLELE_MESSAGE);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        SDL_Texture* label = genome_textures[k][(counts >> (8 * k)) & 0xFF].get();
        // Every label is drawn at the size of the first, so the three line up whatever the glyphs.
        QM_TRY(copy_whole(label, clamped(WideRect{left[k], top, s.w, s.h})));
    }
    return {};
}

}  // namespace qm
