// Drawing the buildings' pictures.
#pragma once

#include "draw_error.hpp"

namespace qm {

class Building;
class DrawContext;

// A building's picture, its anchor on the centre of its base cell. The shed is the only
// building there is; anything else has no picture and draws nothing.
DrawResult draw_building(DrawContext& ctx, const Building& building);

}  // namespace qm
