// The finale's drawing. Everything moves on integer paths worked out from the frame number and
// each piece's own number, so the celebration draws nothing from the game's random generator and
// leaves the garden's breeding exactly as it would have been.
#include "celebration.hpp"

#include <array>
#include <string>
#include <string_view>

#include <SDL.h>

#include "flowers.hpp"
#include "graphics.hpp"
#include "panel.hpp"

namespace qm {

namespace {

constexpr std::uint32_t FADE_FRAMES = 32;
constexpr std::uint32_t PETALS_PER_COLOUR = 2;

// The plant sheet's bee: a yellow body with a dark stripe and a pale wing.
constexpr SDL_Color BEE_BODY{250, 206, 48, 255};
constexpr SDL_Color BEE_STRIPE{40, 30, 20, 255};
constexpr SDL_Color BEE_WING{236, 246, 255, 255};

// A piece's fixed character: a few well-mixed bits from its number.
std::uint32_t mix(std::uint32_t k, std::uint32_t salt) {
    std::uint32_t x = k * 0x9E3779B9u ^ salt * 0x85EBCA6Bu;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    return x ^ (x >> 16);
}

// Up and down between -amplitude and amplitude, one unit a step, period 4 · amplitude.
int triangle(std::uint32_t t, int amplitude) {
    if (amplitude <= 0) return 0;
    const int u = static_cast<int>(t % static_cast<std::uint32_t>(4 * amplitude));
    if (u < amplitude) return u;
    if (u < 3 * amplitude) return 2 * amplitude - u;
    return u - 4 * amplitude;
}

DrawResult fill(DrawContext& ctx, SDL_Color c, std::uint8_t alpha, SDL_Rect area) {
    return fill_rect(ctx, area, SDL_Color{c.r, c.g, c.b, alpha});
}

struct Drawing {
    DrawContext& ctx;
    int w;
    int h;
    std::uint32_t frame;
    std::uint8_t alpha;
};

// Each colour of the collection falls as a blossom, swaying, from above the top edge; the
// later ones start higher, so the shower lasts.
DrawResult draw_blossoms(const Drawing& d) {
    for (std::uint32_t k = 0; k < GENOTYPES; ++k) {
        const int column = static_cast<int>((2 * k + 1) * static_cast<std::uint32_t>(d.w) / (2 * GENOTYPES));
        const int x = column + triangle(d.frame + mix(k, 1) % 64, 10);
        const int y = -BLOSSOM_SIDE - static_cast<int>(mix(k, 2) % 160) + static_cast<int>(d.frame * (2 + mix(k, 3) % 2));
        if (y < -BLOSSOM_SIDE || y > d.h + BLOSSOM_SIDE) continue;
        QM_TRY(draw_blossom(d.ctx, genotype_colour(k), d.alpha, SDL_Point{x, y}, 1));
    }
    return {};
}

// Loose petals tumble faster and wider than the blossoms, two of every colour.
DrawResult draw_petals(const Drawing& d) {
    for (std::uint32_t k = 0; k < PETALS_PER_COLOUR * GENOTYPES; ++k) {
        const std::uint32_t colour = genotype_colour(k % GENOTYPES);
        const SDL_Color c{static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                          static_cast<std::uint8_t>(colour >> 16), 255};
        const int x = static_cast<int>(mix(k, 4) % static_cast<std::uint32_t>(d.w)) + triangle(d.frame + k * 7, 18);
        const int y = -static_cast<int>(mix(k, 5) % 240) + static_cast<int>(d.frame * (3 + mix(k, 6) % 2));
        if (y < -4 || y > d.h) continue;
        // A petal turns as it falls: flat, then on its edge.
        const bool flat = (d.frame / 6 + k) % 2 == 0;
        QM_TRY(fill(d.ctx, c, d.alpha, SDL_Rect{x, y, flat ? 4 : 2, flat ? 2 : 4}));
    }
    return {};
}

constexpr int BEE_ZOOM = 2;  // screen pixels to a bee pixel, so the swarm reads at a glance

// A bee a little larger than the hive's, in the same colours: the wings beat between two frames,
// and she faces the way she flies.
constexpr std::array<const char*, 5> BEE_WINGS_UP{"..WW.WW.", "..WWWWW.", ".YDYDYY.", "YYDYDYYD", ".YDYDYY."};
constexpr std::array<const char*, 5> BEE_WINGS_DOWN{"........", "...WWW..", ".YDWWWY.", "YYDYDYYD", ".YDYDYY."};

DrawResult draw_bee(DrawContext& ctx, int x, int y, bool wings_up, bool facing_left, std::uint8_t alpha) {
    const auto& rows = wings_up ? BEE_WINGS_UP : BEE_WINGS_DOWN;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const std::string_view line = rows[static_cast<std::size_t>(row)];
        for (int col = 0; col < static_cast<int>(line.size()); ++col) {
            const char c = line[static_cast<std::size_t>(col)];
            if (c == '.') continue;
            const SDL_Color colour = c == 'Y' ? BEE_BODY : c == 'D' ? BEE_STRIPE : BEE_WING;
            const int px = facing_left ? static_cast<int>(line.size()) - 1 - col : col;
            QM_TRY(fill(ctx, colour, alpha, SDL_Rect{x + BEE_ZOOM * px, y + BEE_ZOOM * row, BEE_ZOOM, BEE_ZOOM}));
        }
    }
    return {};
}

// The bees zigzag over the field in a loose swarm, each on its own beat.
DrawResult draw_bees(const Drawing& d) {
    for (std::uint32_t k = 0; k < Celebration::BEES; ++k) {
        const std::uint32_t speed = 2 + mix(k, 7) % 3;
        const std::uint32_t t = d.frame * speed + mix(k, 8);
        const int half_w = d.w / 2 - 16;
        const int x = d.w / 2 + triangle(t, half_w);
        // Flying left while the triangle falls: it falls through the middle half of its period.
        const int phase = half_w > 0 ? static_cast<int>(t % static_cast<std::uint32_t>(4 * half_w)) : 0;
        const bool facing_left = phase >= half_w && phase < 3 * half_w;
        const int y = d.h / 2 + triangle(d.frame * (1 + mix(k, 9) % 2) + mix(k, 10), d.h / 3) + triangle(d.frame, 2);
        QM_TRY(draw_bee(d.ctx, x, y, (d.frame / 2 + k) % 2 == 0, facing_left, d.alpha));
    }
    return {};
}

}  // namespace

DrawResult Celebration::draw(DrawContext& ctx) const {
    if (!running()) return {};
    const std::uint32_t left = FRAMES - frame_;
    const auto alpha = static_cast<std::uint8_t>(left >= FADE_FRAMES ? 255 : left * 255 / FADE_FRAMES);
    const Drawing d{ctx, ctx.transform.width, ctx.transform.height, frame_, alpha};
    QM_TRY(draw_petals(d));
    QM_TRY(draw_blossoms(d));
    return draw_bees(d);
}

}  // namespace qm
