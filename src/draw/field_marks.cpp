// The marks over the field: hexagon outlines and fills in screen pixels, genome labels and the
// can's number, all drawn after the field so that tall plants and the gardener never cover them.
#include "field_marks.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include <SDL.h>

#include "fatal.hpp"
#include "garden_cards.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "panel.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {

namespace {

// A cell's hexagon on the screen, from its centre: corners in NEIGHBOURS order of the edges that
// follow them (the west edge runs from the lower-left corner up). Rows lie 22 pixels apart and
// columns 16, so these corners meet their neighbours' exactly.
constexpr std::array<SDL_Point, 6> CORNERS{{{-16, 7}, {-16, -7}, {0, -15}, {16, -7}, {16, 7}, {0, 15}}};
// Edge k (facing NEIGHBOURS[k]) runs from corner k to corner k + 1.
constexpr std::uint8_t SHADOW_ALPHA = 160;
constexpr std::uint8_t RANGE_FILL_ALPHA = 44;
constexpr std::uint8_t OWN_TILE_ALPHA = 150;
constexpr int LABEL_ROOM = 1;  // pixels kept clear on each side of a genome label

void check(int sdl_result) {
    if (sdl_result != 0) fatal(SDL_GetError());
}

SDL_Color colour_of(std::uint32_t c, std::uint8_t alpha) {
    return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16), alpha};
}

// Blending for the duration of one mark, then back to the renderer's mode.
class Blend {
public:
    explicit Blend(SDL_Renderer* r) : r_(r) {
        check(SDL_GetRenderDrawBlendMode(r_, &before_));
        check(SDL_SetRenderDrawBlendMode(r_, SDL_BLENDMODE_BLEND));
    }
    ~Blend() { SDL_SetRenderDrawBlendMode(r_, before_); }
    Blend(const Blend&) = delete;
    Blend& operator=(const Blend&) = delete;

private:
    SDL_Renderer* r_;
    SDL_BlendMode before_ = SDL_BLENDMODE_NONE;
};

DrawResult line(SDL_Renderer* r, SDL_Point a, SDL_Point b) {
    if (SDL_RenderDrawLine(r, a.x, a.y, b.x, b.y) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

SDL_Point screen_centre(const DrawContext& ctx, Cell c) {
    const ScreenPoint p = ctx.transform.to_screen(centre_of(c));
    return {p.x, p.y};
}

// Edge k of the hexagon at `centre`, moved `inward` pixels towards the middle (0 or 1), so two
// lines make a two-pixel edge that stays inside the cell.
std::array<SDL_Point, 2> edge(SDL_Point centre, std::size_t k, int inward) {
    const auto toward = [&](SDL_Point corner) {
        const int x = corner.x == 0 ? 0 : (corner.x > 0 ? corner.x - inward : corner.x + inward);
        const int y = corner.y > 0 ? corner.y - inward : corner.y + inward;
        return SDL_Point{centre.x + x, centre.y + y};
    };
    return {toward(CORNERS[k]), toward(CORNERS[(k + 1) % 6])};
}

// The chosen edges of one cell: a dark shadow outside, the colour on the two pixels inside.
DrawResult draw_edges(DrawContext& ctx, SDL_Point centre, std::uint32_t colour, std::array<bool, 6> which) {
    SDL_Renderer* r = ctx.renderer();
    const Blend blend(r);
    for (const int ring : {-1, 0, 1}) {
        const SDL_Color c = ring < 0 ? SDL_Color{0, 0, 0, SHADOW_ALPHA} : colour_of(colour, 255);
        check(SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a));
        for (std::size_t k = 0; k < 6; ++k) {
            if (!which[k]) continue;
            const auto [a, b] = edge(centre, k, ring);
            QM_TRY(line(r, a, b));
        }
    }
    return {};
}

DrawResult fill_cells(DrawContext& ctx, const std::vector<SDL_Point>& centres, SDL_Color colour) {
    std::vector<SDL_Vertex> vertices;
    vertices.reserve(centres.size() * 12);
    for (const SDL_Point c : centres) {
        // Four triangles: the middle band's two, the top and bottom points'.
        const auto at = [&](int k) {
            return SDL_Vertex{SDL_FPoint{static_cast<float>(c.x + CORNERS[static_cast<std::size_t>(k)].x),
                                         static_cast<float>(c.y + CORNERS[static_cast<std::size_t>(k)].y)},
                              colour, SDL_FPoint{0, 0}};
        };
        for (const auto& [a, b, d] : {std::array{0, 1, 3}, std::array{0, 3, 4}, std::array{1, 2, 3}, std::array{4, 5, 0}}) {
            vertices.push_back(at(a));
            vertices.push_back(at(b));
            vertices.push_back(at(d));
        }
    }
    const Blend blend(ctx.renderer());
    if (SDL_RenderGeometry(ctx.renderer(), nullptr, vertices.data(), static_cast<int>(vertices.size()), nullptr, 0) != 0) {
        return std::unexpected(DrawError::from_sdl());
    }
    return {};
}

}  // namespace

DrawResult draw_cell_outline(DrawContext& ctx, Cell c, std::uint32_t colour) {
    return draw_edges(ctx, screen_centre(ctx, c), colour, {true, true, true, true, true, true});
}

DrawResult draw_faint_outline(DrawContext& ctx, Cell c) {
    SDL_Renderer* r = ctx.renderer();
    const Blend blend(r);
    const SDL_Color faint = colour_of(OWN_TILE_MARK, OWN_TILE_ALPHA);
    check(SDL_SetRenderDrawColor(r, faint.r, faint.g, faint.b, faint.a));
    const SDL_Point centre = screen_centre(ctx, c);
    for (std::size_t k = 0; k < 6; ++k) {
        const auto [a, b] = edge(centre, k, 0);
        QM_TRY(line(r, a, b));
    }
    return {};
}

DrawResult draw_aim(DrawContext& ctx, const Lily& lily, const World& world) {
    if (lily.in_building) return {};
    const std::optional<Cell> aim = lily.target();
    if (!aim) return {};
    const bool ready = lily.tool && lily.tool->can_use(world, aim->i, aim->j, !lily.carried_flowers.empty(),
                                                       lily.carried_hive.has_value());
    return draw_cell_outline(ctx, *aim, ready ? AIM_READY : AIM_IDLE);
}

DrawResult draw_partner_marks(DrawContext& ctx, std::span<const Cell> cells) {
    for (const Cell c : cells) {
        QM_TRY(draw_cell_outline(ctx, c, PARTNER_MARK));
        const SDL_Point p = screen_centre(ctx, c);
        const SDL_Color mark = colour_of(PARTNER_MARK, 255);
        check(SDL_SetRenderDrawColor(ctx.renderer(), mark.r, mark.g, mark.b, mark.a));
        const SDL_Rect dot{p.x - 2, p.y + 6, 4, 4};
        if (SDL_RenderFillRect(ctx.renderer(), &dot) != 0) return std::unexpected(DrawError::from_sdl());
    }
    return {};
}

DrawResult draw_range_outline(DrawContext& ctx, Cell centre) {
    std::vector<SDL_Point> inside;
    DrawResult done;
    for_each_in_hexagon(centre, HIVE_RANGE, [&](Cell c) { inside.push_back(screen_centre(ctx, c)); });
    QM_TRY(fill_cells(ctx, inside, colour_of(RANGE_OUTLINE, RANGE_FILL_ALPHA)));
    for_each_in_hexagon(centre, HIVE_RANGE, [&](Cell c) {
        if (!done || distance(c, centre) < HIVE_RANGE) return;
        std::array<bool, 6> outer{};
        for (std::size_t k = 0; k < 6; ++k) outer[k] = distance(c + NEIGHBOURS[k], centre) > HIVE_RANGE;
        done = draw_edges(ctx, screen_centre(ctx, c), RANGE_OUTLINE, outer);
    });
    return done;
}

DrawResult draw_selected_ranges(DrawContext& ctx, const Lily& lily, const World& world) {
    if (lily.in_building) return {};
    const std::optional<Cell> aim = lily.target();
    if (!aim) return {};
    if (lily.carried_hive) {
        for (const auto& [at, range] : world.hive_ranges()) {
            if (const auto* hive = std::get_if<Hive>(&world.get_tile(at))) QM_TRY(draw_range_outline(ctx, hive->hive.position));
        }
        return draw_range_outline(ctx, *aim);
    }
    if (const auto* hive = std::get_if<Hive>(&world.get_tile(*aim))) return draw_range_outline(ctx, hive->hive.position);
    return {};
}

const std::vector<Cell>& genome_labels_shown(DrawContext& ctx, const World& world, std::optional<Cell> selected) {
    int w = 0;
    int h = 0;
    check(SDL_QueryTexture(ctx.genome_textures[0][0].get(), nullptr, nullptr, &w, &h));
    const auto shows = [&](Cell c) {
        const Flower* flower = flower_on(world.get_tile(c));
        return flower && shows_blossom(*flower);
    };
    // Each label with a little room round it, so two never touch and read as one word.
    const auto room = [&](Cell c) {
        const SDL_Point p = screen_centre(ctx, c);
        return SDL_Rect{p.x - 3 * w / 2 - LABEL_ROOM, p.y - h / 2, 3 * w + 2 * LABEL_ROOM, h};
    };
    std::vector<Cell>& shown = ctx.scratch.labels_shown;
    std::vector<SDL_Rect>& taken = ctx.scratch.labels_taken;
    shown.clear();
    taken.clear();
    if (selected && shows(*selected)) {
        shown.push_back(*selected);
        taken.push_back(room(*selected));
    }
    for (const Cell c : ctx.transform.visible_iter()) {
        if (!shows(c) || (selected && c == *selected)) continue;
        const SDL_Rect r = room(c);
        if (std::ranges::any_of(taken, [&](const SDL_Rect& t) { return SDL_HasIntersection(&r, &t) == SDL_TRUE; })) continue;
        shown.push_back(c);
        taken.push_back(r);
    }
    return shown;
}

DrawResult draw_every_genome(DrawContext& ctx, const World& world, std::optional<Cell> selected) {
    for (const Cell c : genome_labels_shown(ctx, world, selected)) {
        const Fixed p = centre_of(c);
        QM_TRY(ctx.draw_genome(p.i, p.j, packed_genes(*flower_on(world.get_tile(c)))));
    }
    return {};
}

DrawResult draw_can_charges(DrawContext& ctx, TextCache& texts, const Lily& lily) {
    if (!lily.tool || lily.tool->kind() != ToolKind::WateringCan || lily.in_building) return {};
    const auto* can = static_cast<const WateringCan*>(lily.tool.get());
    auto made = texts.line(ctx, ctx.small_font.get(), can->water == 0 ? 0xFF6060FF : WHITE, std::to_string(can->water));
    if (!made) return std::unexpected(std::move(made.error()));
    const TextLine* text = *made;
    // Beside the meter's open side: the meter is seven pixels wide and sixteen tall round its point.
    const Lily::MeterSpot meter = lily.meter_spot();
    const ScreenPoint p = ctx.transform.to_screen(lily.position);
    const int px = p.x + meter.dx;
    const int py = p.y + meter.dy + 2;
    const int x = meter.mirrored ? px - 9 - text->w : px + 9;
    return put_text(ctx, *text, x, py - text->h / 2);
}

}  // namespace qm
