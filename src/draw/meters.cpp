// The meters: a grey outline beside a point, filled from the bottom as the value climbs to 32.
#include "graphics.hpp"

#include "graphics_internal.hpp"

namespace qm {

namespace {

SDL_Point clamped_point(std::int64_t x, std::int64_t y) { return {clamp_coord(x), clamp_coord(y)}; }

DrawResult line(SDL_Renderer* r, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const SDL_Point a = clamped_point(x1, y1);
    const SDL_Point b = clamped_point(x2, y2);
    if (SDL_RenderDrawLine(r, a.x, a.y, b.x, b.y) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

}  // namespace

DrawResult DrawContext::draw_meter(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                                   bool mirrored, std::uint32_t colour, std::uint8_t value) {
    SDL_Renderer* r = renderer();
    const ScreenPoint p = transform.to_screen(x, y);
    const std::int64_t px = std::int64_t{p.x} + dx;
    const std::int64_t py = std::int64_t{p.y} + dy;
    const std::int64_t d = mirrored ? -1 : 1;

    // The grey outline, two pixels thick: lower slant, side, upper slant.
    set_draw_colour(r, 128, 128, 128, 255);
    const std::array<SDL_Point, 4> outline{clamped_point(px, py + 8), clamped_point(px + 7 * d, py + 4),
                                           clamped_point(px + 7 * d, py - 4), clamped_point(px, py - 8)};
    if (SDL_RenderDrawLines(r, outline.data(), static_cast<int>(outline.size())) != 0) {
        return std::unexpected(DrawError::from_sdl());
    }
    QM_TRY(line(r, px, py + 7, px + 7 * d, py + 3));
    QM_TRY(line(r, px + 6 * d, py + 4, px + 6 * d, py - 4));
    QM_TRY(line(r, px + 7 * d, py - 3, px, py - 7));

    set_draw_colour(r, red_of(colour), green_of(colour), blue_of(colour), alpha_of(colour));
    if (value == 0) return {};

    // The fill climbs from the bottom: 1–8 the lower slant, 9–24 the side, 25–32 the upper slant.
    const std::int64_t half = value / 2;
    const std::int64_t a = std::clamp<std::int64_t>(half, 1, 4);
    QM_TRY(line(r, px, py + 8, px + (2 * a - 1) * d, py + 8 - a));
    QM_TRY(line(r, px, py + 7, px + (2 * a - 1) * d, py + 7 - a));
    if (value > 8) {
        const std::int64_t b = std::clamp<std::int64_t>(half - 4, 1, 8);
        QM_TRY(line(r, px + 7 * d, py + 4, px + 7 * d, py + 4 - b));
        QM_TRY(line(r, px + 6 * d, py + 4, px + 6 * d, py + 4 - b));
    }
    if (value > 24) {
        const std::int64_t c = std::clamp<std::int64_t>(half - 12, 1, 4);
        QM_TRY(line(r, px + 7 * d, py - 4, px + (8 - 2 * c) * d, py - 4 - c));
        QM_TRY(line(r, px + 7 * d, py - 3, px + (8 - 2 * c) * d, py - 3 - c));
    }
    return {};
}

}  // namespace qm
