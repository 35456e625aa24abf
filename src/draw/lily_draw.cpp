// Drawing the gardener: her walk cycle, the arms around her body, the tool in her hand with its
// meter, what she carries over her head, and the marks of her selection on the ground.
#include "lily.hpp"

#include <array>

#include "field_marks.hpp"
#include "flowers_draw.hpp"
#include "graphics.hpp"
#include "world.hpp"
#include "world_draw.hpp"

namespace qm {

namespace {

constexpr std::int32_t TWO_ROWS_UP = 0x20000;
constexpr std::int32_t HALF_CARRY_SPACING = 0x14000;  // flowers ride 2.5 units apart
constexpr std::int32_t CARRY_SPACING = 0x28000;
constexpr std::uint32_t GROUND_MARK = std::to_underlying(GroundCell::Mark);
constexpr std::uint32_t GROUND_HALO = std::to_underlying(GroundCell::Backdrop);
constexpr std::uint32_t HIVE_PLANT_ROW = std::to_underlying(PlantRow::Hive);

struct ArmOffsets {
    std::int32_t free_dx, free_dy, tool_dx, tool_dy, meter_dx;
};

// By facing sector: east, north, west, south.
constexpr std::array<ArmOffsets, 4> ARMS{{
    {-2, -27, -2, -23, -3},
    {-7, -25, 5, -25, 3},
    {0, -23, 0, -27, 5},
    {5, -25, -7, -25, -1},
}};

// Facing east or south she holds her tool on the near side.
bool tool_arm_in_front(std::uint32_t sector) {
    return sector == std::to_underlying(Facing::East) || sector == std::to_underlying(Facing::South);
}


}  // namespace

std::uint32_t Lily::walk_frame() const {
    // The distance walked along her facing since the anchor; rows count double, since a row is
    // only half as far in j as a column step in i. A negative distance reads as a large one.
    std::uint32_t g = 0;
    switch (Facing{facing_sector(facing)}) {
        case Facing::East: g = static_cast<std::uint32_t>(wrap_sub(position.i, anchor.i)); break;
        case Facing::North: g = static_cast<std::uint32_t>(wrap_mul(wrap_sub(anchor.j, position.j), 2)); break;
        case Facing::West: g = static_cast<std::uint32_t>(wrap_sub(anchor.i, position.i)); break;
        default: g = static_cast<std::uint32_t>(wrap_mul(wrap_sub(position.j, anchor.j), 2)); break;
    }
    if (g < 0x8000) return 0;
    const std::uint32_t k = (g >> 15) & 3;
    return k == 0 ? 4 : k;
}

DrawResult Lily::draw(DrawContext& ctx, std::uint16_t now) const {
    if (in_building) return {};
    const std::uint32_t s = facing_sector(facing);
    const std::uint32_t w = walk_frame();

    // Facing east or south the tool arm is in front of her, facing north or west behind.
    const bool tool_in_front = tool_arm_in_front(s);
    QM_TRY(draw_arm(ctx, s, w, tool_in_front, now));
    QM_TRY(ctx.draw_lily(s, w, position.i, position.j));
    QM_TRY(draw_arm(ctx, s, w, !tool_in_front, now));

    const std::int32_t above = wrap_sub(position.j, TWO_ROWS_UP);
    if (carried_hive) {
        QM_TRY(ctx.draw_ground(GROUND_HALO, YELLOW, position.i, above));
        return ctx.draw_plant(HIVE_PLANT_ROW, 0, position.i, above);
    }
    const auto n = static_cast<std::int32_t>(carried_flowers.size());
    std::int32_t x = wrap_sub(position.i, wrap_mul(n - 1, HALF_CARRY_SPACING));
    for (const Flower& flower : carried_flowers) {
        const bool blossom = shows_blossom(flower);
        const std::optional<std::uint32_t> halo = blossom ? std::optional(flower_colour(flower)) : std::nullopt;
        QM_TRY(ctx.draw_ground(GROUND_HALO, halo, x, above));
        QM_TRY(ctx.draw_plant(std::to_underlying(plant_row(flower.stage)), 0, x, above));
        if (blossom) {
            QM_TRY(ctx.draw_flowers(std::to_underlying(flower_row(flower)), 0, flower_colour(flower), x, above));
            QM_TRY(ctx.draw_genome(x, above, packed_genes(flower)));
        }
        x = wrap_add(x, CARRY_SPACING);
    }
    return {};
}

DrawResult Lily::draw_arm(DrawContext& ctx, std::uint32_t sector, std::uint32_t frame, bool free_arm,
                          std::uint16_t now) const {
    const ArmOffsets& o = ARMS[sector & 3];
    const bool odd = (frame & 1) != 0;
    const std::int32_t dx = free_arm ? o.free_dx : o.tool_dx;
    const std::int32_t dy = (free_arm ? o.free_dy : o.tool_dy) + (odd ? 1 : 0);

    // The arms swing against the stride; a hand holding a tool stays still.
    std::uint32_t arm_frame = 0;
    if (odd) {
        if (free_arm) arm_frame = 2 - (frame >> 1);
        else if (!tool) arm_frame = (frame >> 1) + 1;
    }
    QM_TRY(ctx.draw_arm(sector, arm_frame, position.i, position.j, dx, dy));

    if (free_arm || !tool) return {};
    QM_TRY(ctx.draw_tool(tool->which(), sector, now < arm_until, position.i, position.j, dx + 1, dy + 10));
    const MeterSpot meter = meter_spot();
    return tool->draw_meter(ctx, position.i, position.j, meter.dx, meter.dy, meter.mirrored);
}

Lily::MeterSpot Lily::meter_spot() const {
    const std::uint32_t sector = facing_sector(facing);
    const ArmOffsets& o = ARMS[sector & 3];
    const std::int32_t dy = o.tool_dy + ((walk_frame() & 1) != 0 ? 1 : 0);
    return {o.tool_dx + o.meter_dx, dy + 10, tool_arm_in_front(sector)};
}

DrawResult Lily::draw_selection(DrawContext& ctx, const World& world) const {
    if (in_building) return {};
    // The tile she stands on, so the neighbour she acts on reads as the one next to her feet.
    QM_TRY(draw_faint_outline(ctx, containing_tile(position)));
    const std::optional<Cell> aim = target();
    if (!aim) return {};

    if (carried_hive) {
        QM_TRY(world.draw_hive_ranges(ctx));
        QM_TRY(draw_range_marks(ctx, *aim));
    } else if (const auto* hive = std::get_if<Hive>(&world.get_tile(*aim))) {
        QM_TRY(draw_range_marks(ctx, hive->hive.position));
    }

    if (tool && tool->can_use(world, aim->i, aim->j, !carried_flowers.empty(), carried_hive.has_value())) {
        const Fixed p = centre_of(*aim);
        return ctx.draw_ground(GROUND_MARK, tool->tint(), p.i, p.j);
    }
    return {};
}

}  // namespace qm
