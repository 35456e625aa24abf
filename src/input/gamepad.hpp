// Game controllers through SDL's GameController API: opened as they arrive, closed as they leave,
// and read together, so that a second controller acts like the first. Also the stick's reading as
// the move pad's knob.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <SDL_gamecontroller.h>

#include "hex_geometry.hpp"

namespace qm {

// A stick's two axes as SDL reports them, -32768 to 32767, y growing downward.
struct StickPosition {
    std::int16_t x = 0;
    std::int16_t y = 0;
    friend constexpr bool operator==(const StickPosition&, const StickPosition&) = default;
};

// A stick inside this distance from its centre counts as resting.
inline constexpr std::int32_t STICK_DEAD_ZONE = 8000;

// The move pad's knob for a stick position: nothing inside the dead zone; beyond it the rest of
// the stick's travel spreads over the pad's radius, in the stick's direction on the screen.
Fixed stick_knob(StickPosition stick);

// A direction on the screen, each component -1, 0 or 1 (y downward); (0, 0) is none.
struct ScreenDirection {
    int dx = 0;
    int dy = 0;
    friend constexpr bool operator==(const ScreenDirection&, const ScreenDirection&) = default;
};

// One of eight directions for a stick pushed at least halfway, for stepping through a menu.
ScreenDirection stick_direction(StickPosition stick);

// The open controllers, by SDL instance id. Controllers are looked up afresh on every read, so
// nothing dangles if the game-controller subsystem goes first.
class Gamepads {
public:
    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // SDL_CONTROLLERDEVICEADDED carries a device index; a controller already open stays as it is.
    void add(int device_index);
    // SDL_CONTROLLERDEVICEREMOVED carries an instance id.
    void remove(SDL_JoystickID instance);
    std::size_t count() const { return open_.size(); }

    // Held on any controller.
    bool held(SDL_GameControllerButton button) const;
    // The left stick pushed furthest from its centre; the right one likewise.
    StickPosition left_stick() const { return stick(SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY); }
    StickPosition right_stick() const { return stick(SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY); }

private:
    StickPosition stick(SDL_GameControllerAxis x, SDL_GameControllerAxis y) const;

    std::vector<SDL_JoystickID> open_;
};

}  // namespace qm
