// Painting the field: the day tint, the ground, then row by row the buildings, the gardener,
// the plants swaying in the wind, flowers in their genome colours, labels and hive meters.
#include "world.hpp"
#include "world_draw.hpp"

#include <algorithm>
#include <variant>

#include "day_clock.hpp"
#include "flowers_draw.hpp"
#include "graphics.hpp"
#include "lily.hpp"

namespace qm {

namespace {

constexpr std::uint32_t METER_OLIVE = 191;
constexpr std::int32_t ROW_LIMIT_BELOW_CENTRE = 6;

// Black at the ends of the day, a red dawn and dusk for about an hour, white in between.
std::uint32_t day_tint(std::uint16_t t) {
    const auto m = std::min<std::uint32_t>(t, static_cast<std::uint16_t>(DAY_END - t));
    const std::uint32_t red = std::min<std::uint32_t>(255, 8 * m / 15);
    const std::uint32_t green_blue = std::min<std::uint32_t>(255, 2 * m / 15);
    return red | green_blue << 8 | green_blue << 16;
}

GroundCell ground_cell(const Tile& tile) {
    if (const auto* soil = std::get_if<Soil>(&tile)) return soil->watered ? GroundCell::Wet : GroundCell::Dry;
    if (std::holds_alternative<Water>(tile)) return GroundCell::Water;
    return GroundCell::Grass;  // lawn, tall grass and the ground under a hive
}

std::optional<PlantRow> plant_kind(const Tile& tile) {
    if (std::holds_alternative<TallGrass>(tile)) return PlantRow::TallGrass;
    if (std::holds_alternative<Hive>(tile)) return PlantRow::Hive;
    if (const Flower* flower = flower_on(tile)) return plant_row(flower->stage);
    return std::nullopt;
}

// A gust every 64 ticks, running diagonally: later by a tick every 8 columns, earlier by one
// every 4 rows. Shifting the unsigned cell values is floor division of the signed ones, and
// 65536 / 8 and 65536 / 4 are multiples of 64, so the phase is the same either way.
std::uint32_t wind_frame(std::uint16_t t, Cell c) {
    const std::uint32_t k = (std::uint32_t{t} + (std::uint32_t{c.i} >> 3) - (std::uint32_t{c.j} >> 2)) & 63u;
    if (k < 44) return 0;
    if (k >= 48 && k < 60) return 2;
    return 1;
}

std::uint32_t hive_meter_colour(std::uint32_t honey, std::uint16_t t) {
    std::uint32_t p = METER_OLIVE;
    if (honey == HONEY_MAX) {
        // A full hive pulses between 191 and 247 every 16 ticks to ask for the smoker.
        const std::uint32_t phase = t % 16u;
        p += 8 * std::min(phase, 15 - phase);
    }
    return p | p << 8 | 0xFF000000u;
}

// A peekable cursor over the buildings in drawing order (top of the field first).
struct BuildingCursor {
    const std::vector<std::unique_ptr<Building>>* list = nullptr;
    std::size_t next = 0;
};

// Draws the buildings whose base row lies on or above screen row `limit`.
DrawResult draw_buildings_until(DrawContext& ctx, BuildingCursor& cursor, std::int32_t limit) {
    if (!cursor.list) return {};
    while (cursor.next < cursor.list->size()) {
        const Building& building = *(*cursor.list)[cursor.next];
        // Only the base row counts: buildings are kept top to bottom in the list.
        if (ctx.transform.row_y(centre_of(building.position()).j) > limit) break;
        ++cursor.next;
        QM_TRY(building.draw(ctx));
    }
    return {};
}

}  // namespace

DrawResult World::draw(DrawContext& ctx, const Lily& lily, std::uint16_t tick) const {
    ctx.set_tint(day_tint(tick));

    for (const Cell c : ctx.transform.visible_iter()) {
        const Fixed at = centre_of(c);
        QM_TRY(ctx.draw_ground(std::to_underlying(ground_cell(get_tile(c))), std::nullopt, at.i, at.j));
    }

    QM_TRY(lily.draw_selection(ctx, *this));

    BuildingCursor cursor{&buildings, 0};
    bool lily_pending = true;
    const std::int32_t lily_y = ctx.transform.row_y(lily.position.j);
    const std::optional<Cell> selected = lily.target();

    for (const Cell c : ctx.transform.visible_iter()) {
        const Fixed at = centre_of(c);
        // Whatever stands with its feet above this line is drawn before the row, so the row
        // covers it: no sorting needed.
        const std::int32_t limit = wrap_add(ctx.transform.row_y(at.j), ROW_LIMIT_BELOW_CENTRE);
        if (lily_pending && limit > lily_y) {
            QM_TRY(draw_buildings_until(ctx, cursor, lily_y));
            QM_TRY(lily.draw(ctx, tick));
            lily_pending = false;
        }
        QM_TRY(draw_buildings_until(ctx, cursor, limit));

        const Tile& tile = get_tile(c);
        const std::optional<PlantRow> kind = plant_kind(tile);
        if (!kind) continue;
        const std::uint32_t frame = wind_frame(tick, c);
        QM_TRY(ctx.draw_plant(std::to_underlying(*kind), frame, at.i, at.j));

        if (const Flower* flower = flower_on(tile); flower && shows_blossom(*flower)) {
            QM_TRY(ctx.draw_flowers(std::to_underlying(flower_row(*flower)), frame, flower_colour(*flower), at.i,
                                    at.j));
            if (selected && *selected == c) {
                QM_TRY(ctx.draw_genome(at.i, at.j, packed_genes(*flower)));
            }
        }
        if (const auto* hive = std::get_if<Hive>(&tile)) {
            const Fixed home = centre_of(hive->hive.position);
            QM_TRY(ctx.draw_level(home.i, home.j, hive->hive.level));
            const auto value = static_cast<std::uint8_t>(std::min<std::uint32_t>(hive->hive.honey >> 13, 255));
            QM_TRY(ctx.draw_meter(home.i, home.j, 10, -10, false, hive_meter_colour(hive->hive.honey, tick), value));
        }
    }

    ctx.set_tint(0xFFFFFF);
    return {};
}

DrawResult World::draw_hive_ranges(DrawContext& ctx) const {
    for (const auto& [at, range] : hive_ranges_) {
        const auto* hive = std::get_if<Hive>(&get_tile(at));
        if (!hive) continue;
        QM_TRY(draw_range_marks(ctx, hive->hive.position));
    }
    return {};
}

DrawResult draw_range_marks(DrawContext& ctx, Cell centre) {
    DrawResult done;
    for_each_in_hexagon(centre, HIVE_RANGE, [&](Cell c) {
        if (!done || c == centre) return;
        const Fixed p = centre_of(c);
        done = ctx.draw_ground(std::to_underlying(GroundCell::Mark), YELLOW, p.i, p.j);
    });
    return done;
}

}  // namespace qm
