// The meter beside the gardener's hand: the watering can's water, in blue; the other tools have none.
#include "tools.hpp"

#include "graphics.hpp"

namespace qm {

namespace {

constexpr std::uint32_t CAN_METER_COLOUR = 0xFFFF0000;  // opaque blue

}  // namespace

DrawResult Tool::draw_meter(DrawContext&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool) const {
    return {};
}

DrawResult WateringCan::draw_meter(DrawContext& ctx, std::int32_t x, std::int32_t y, std::int32_t dx,
                                   std::int32_t dy, bool mirrored) const {
    return ctx.draw_meter(x, y, dx, dy + 2, mirrored, CAN_METER_COLOUR, water);
}

}  // namespace qm
