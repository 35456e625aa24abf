// Where input comes from: the queue of pending events, and the state read rather than received
// (held keys, modifiers, the mouse, the window's full screen and the game controllers). SDL's in
// the game (sdl_input.*), fakes in the tests and the soak.
#pragma once

#include <expected>
#include <optional>
#include <string>

#include <SDL_scancode.h>

#include "gamepad.hpp"
#include "hex_geometry.hpp"

union SDL_Event;

namespace qm {

// Where pending input events come from: SDL's queue in the game, a plain queue in tests.
class EventSource {
public:
    virtual ~EventSource() = default;
    // The next pending event, false when the queue is empty.
    virtual bool poll(SDL_Event& event) = 0;
};

// The state that Controls reads rather than receives: held keys, modifiers, the mouse, the
// window and the game controllers. A layer of its own because SDL's state does not follow pushed
// events.
class InputState {
public:
    virtual ~InputState() = default;
    virtual bool key_down(SDL_Scancode key) const = 0;
    virtual bool shift_down() const = 0;
    // The mouse position in window pixels while the mouse is over the game window.
    virtual std::optional<ScreenPoint> mouse_in_window() const = 0;
    // Full-screen of either kind.
    virtual bool fullscreen() const = 0;
    // Desktop full screen on, or windowed; SDL's error text on failure.
    virtual std::expected<void, std::string> set_fullscreen(bool on) = 0;
    // The controllers plugged in, opened and closed as their events arrive.
    virtual Gamepads& gamepads() = 0;
    virtual const Gamepads& gamepads() const = 0;
};

}  // namespace qm
