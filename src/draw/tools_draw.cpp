// The meter beside the gardener's hand: the watering can's water, in blue; the other tools have none.
#include "graphics.hpp"
#include "tools.hpp"
#include "world_draw.hpp"

namespace qm {

namespace {

constexpr std::uint32_t CAN_METER_COLOUR = 0xFFFF0000;  // opaque blue

}  // namespace

DrawResult draw_tool_meter(DrawContext& ctx, const Tool& tool, std::int32_t x, std::int32_t y, std::int32_t dx,
                           std::int32_t dy, bool mirrored) {
    if (tool.kind() != ToolKind::WateringCan) return {};
    const auto& can = static_cast<const WateringCan&>(tool);
    return ctx.draw_meter(x, y, dx, dy + 2, mirrored, CAN_METER_COLOUR, can.water);
}

}  // namespace qm
