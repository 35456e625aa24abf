// Drawing the notices under the clock, and the room they take at the top of the screen.
#pragma once

#include "draw_error.hpp"

namespace qm {

class DrawContext;
class Notices;

// The notices on screen, top first.
DrawResult draw_notices(DrawContext& ctx, const Notices& notices);
// The lowest screen row the notices can reach: other panels keep below it.
int notices_bottom(DrawContext& ctx);

}  // namespace qm
