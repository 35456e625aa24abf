// Painting the field: the ground, the gardener's marks, then row by row the buildings, the
// gardener, the plants, the flowers, the genome label and the hives' meters, tinted by the time
// of day; and the overlays of the hives' ranges.
#pragma once

#include <cstdint>

#include "draw_error.hpp"
#include "hex_geometry.hpp"

namespace qm {

class DrawContext;
class World;
struct Lily;

// The visible field with the gardener in it at day tick `tick`.
DrawResult draw_world(DrawContext& ctx, const World& world, const Lily& lily, std::uint16_t tick);
// The yellow overlay of every hive's range.
DrawResult draw_hive_ranges(DrawContext& ctx, const World& world);
// Yellow marks on the cells 1 to 8 steps from a centre: the range a hive has, or would have there.
DrawResult draw_range_marks(DrawContext& ctx, Cell centre);

}  // namespace qm
