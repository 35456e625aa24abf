// Stand-ins for SDL's input in tests: a plain event queue, and held keys, modifiers, the mouse
// and the window's full-screen state that a test sets directly.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <SDL.h>

#include "controls.hpp"

namespace qm::test {

class FakeEvents final : public EventSource {
public:
    std::deque<SDL_Event> queue;

    bool poll(SDL_Event& event) override;
    FakeEvents& push(const SDL_Event& event) {
        queue.push_back(event);
        return *this;
    }
    std::size_t pending() const { return queue.size(); }
};

class FakeInput final : public InputState {
public:
    std::set<SDL_Scancode> keys;
    bool shift = false;
    std::optional<ScreenPoint> mouse;
    bool is_fullscreen = false;
    std::vector<bool> fullscreen_calls;        // every set_fullscreen, in order
    std::optional<std::string> fullscreen_error;  // set: set_fullscreen fails with this text

    bool key_down(SDL_Scancode key) const override { return keys.contains(key); }
    bool shift_down() const override { return shift; }
    std::optional<ScreenPoint> mouse_in_window() const override { return mouse; }
    bool fullscreen() const override { return is_fullscreen; }
    std::expected<void, std::string> set_fullscreen(bool on) override;
    Gamepads pads;  // real controllers: the tests attach SDL's virtual ones
    Gamepads& gamepads() override { return pads; }
    const Gamepads& gamepads() const override { return pads; }
};

// Event makers. Coordinates are window pixels for the mouse and 0..1 for fingers.
SDL_Event quit_event();
SDL_Event key_event(SDL_Scancode key, bool repeat = false);
SDL_Event mouse_down(std::int32_t x, std::int32_t y, std::uint8_t button = SDL_BUTTON_LEFT);
SDL_Event mouse_up(std::int32_t x, std::int32_t y, std::uint8_t button = SDL_BUTTON_LEFT);
SDL_Event finger_event(std::uint32_t type, std::int64_t finger, float x, float y);
inline SDL_Event finger_down(std::int64_t finger, float x, float y) { return finger_event(SDL_FINGERDOWN, finger, x, y); }
inline SDL_Event finger_motion(std::int64_t finger, float x, float y) { return finger_event(SDL_FINGERMOTION, finger, x, y); }
inline SDL_Event finger_up(std::int64_t finger, float x, float y) { return finger_event(SDL_FINGERUP, finger, x, y); }
// A dropped file whose name SDL allocated, as SDL hands it over.
SDL_Event drop_file(const std::string& name);

// Normalised finger coordinate of the middle of logical pixel p on a screen of n pixels.
inline float at_pixel(std::int32_t p, std::int32_t n) {
    return (static_cast<float>(p) + 0.5f) / static_cast<float>(n);
}

}  // namespace qm::test
