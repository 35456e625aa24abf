// Drawing a tool's meter beside the gardener's hand.
#pragma once

#include <cstdint>

#include "draw_error.hpp"

namespace qm {

class DrawContext;
class Tool;

// The meter of the tool in her hand: (x, y) is her fixed-point position, (dx, dy) the meter's
// pixel offset from it. Only the watering can has one, showing its water; other tools draw nothing.
DrawResult draw_tool_meter(DrawContext& ctx, const Tool& tool, std::int32_t x, std::int32_t y, std::int32_t dx,
                           std::int32_t dy, bool mirrored);

}  // namespace qm
