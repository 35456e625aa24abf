// Drawing helpers the field and the gardener share.
#pragma once

#include <cstdint>

#include "draw_error.hpp"
#include "hex_geometry.hpp"

namespace qm {

class Building;
class DrawContext;
class Tool;

// Yellow marks on the cells 1 to 8 steps from a centre: the range a hive has, or would have there.
DrawResult draw_range_marks(DrawContext& ctx, Cell centre);

// A building's picture (buildings_draw.cpp).
DrawResult draw_building(DrawContext& ctx, const Building& building);
// The meter a tool shows beside her hand at world point (x, y) plus the screen offset (dx, dy):
// the watering can's water; the other tools have none (tools_draw.cpp).
DrawResult draw_tool_meter(DrawContext& ctx, const Tool& tool, std::int32_t x, std::int32_t y, std::int32_t dx,
                           std::int32_t dy, bool mirrored);

}  // namespace qm
