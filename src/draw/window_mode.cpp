// Switching full screen.
#include "window_mode.hpp"

#include "fatal.hpp"
#include "graphics.hpp"
#include "input_state.hpp"

namespace qm {

void switch_full_screen(InputState& input, DrawContext& ctx) {
    if (auto switched = input.set_fullscreen(!input.fullscreen()); !switched) {
        fatal_sdl_error(switched.error());
    }
    if (auto scaled = ctx.adjust_scale(); !scaled) fatal_unwrap(scaled.error().to_string());
}

}  // namespace qm
