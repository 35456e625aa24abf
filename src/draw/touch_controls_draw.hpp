// The controls on the screen: the move pad and the run and tool buttons in touch mode, the open
// menu with its highlight and the name of the button lit, and the full-screen and collection
// buttons in the top-left corner.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw_error.hpp"

namespace qm {

class Button;
class ButtonMenu;
class DrawContext;
class MovePad;

// What the controls show, as they hold it (Controls::on_screen).
struct OnScreenControls {
    bool touch_mode = false;
    const MovePad* pad = nullptr;
    const Button* run_button = nullptr;
    const Button* tool_button = nullptr;  // none when she has no tool button
    const ButtonMenu* menu = nullptr;     // the open menu, if any
    std::size_t highlight = 0;            // the menu's lit button
    bool highlight_shown = false;         // its ring, once the menu keys or a gamepad were used
    std::uint32_t highlight_colour = 0;
    bool fullscreen = false;
    bool collection_open = false;
};

DrawResult draw_controls(DrawContext& ctx, const OnScreenControls& shown);

}  // namespace qm
