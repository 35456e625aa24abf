// The window's full screen and its whole-number scale: switching the one refits the other.
#pragma once

namespace qm {

class DrawContext;
class InputState;

// Full screen on if it is off, off if on; the scale then fits the window. SDL refusing either is
// fatal, as any video failure is.
void switch_full_screen(InputState& input, DrawContext& ctx);

}  // namespace qm
