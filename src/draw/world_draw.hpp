// Drawing helpers the field and the gardener share.
#pragma once

#include "draw_error.hpp"
#include "hex_geometry.hpp"

namespace qm {

class DrawContext;

// Yellow marks on the cells 1 to 8 steps from a centre: the range a hive has, or would have there.
DrawResult draw_range_marks(DrawContext& ctx, Cell centre);

}  // namespace qm
