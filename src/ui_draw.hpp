// Drawing the move pad; the buttons are drawn by DrawContext::draw_button.
#pragma once

#include "draw_error.hpp"

namespace qm {

class DrawContext;
class MovePad;

// The pad in the bottom-left corner and, while a finger holds it, the knob under the finger;
// nothing when the pad is switched off.
DrawResult draw_move_pad(DrawContext& ctx, const MovePad& pad);

}  // namespace qm
