// The controls on the screen: the move pad and the run and tool buttons in touch mode, the open
// menu with its highlight and the name of the button lit, and the full-screen and collection
// buttons in the top-left corner.
#pragma once

#include "draw_error.hpp"

namespace qm {

class Controls;
class DrawContext;

DrawResult draw_controls(DrawContext& ctx, const Controls& controls);

}  // namespace qm
