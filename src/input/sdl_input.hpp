// The SDL edge of input: SDL's event queue as an event source, and SDL's keyboard, mouse, window
// and controller state as the input state that the controls read.
#pragma once

#include <expected>
#include <optional>
#include <string>
#include <utility>

#include "input_state.hpp"

struct SDL_Window;

namespace qm {

// SDL's event queue, opened by initialising the events subsystem. Only one can be open; `open`
// is the only way to get one, so a pump in hand is always open.
class SdlEventPump final : public EventSource {
public:
    // SDL's error text when the subsystem cannot start or a pump is open already.
    static std::expected<SdlEventPump, std::string> open();

    SdlEventPump(SdlEventPump&& other) noexcept : open_(std::exchange(other.open_, false)) {}
    SdlEventPump& operator=(SdlEventPump&&) = delete;
    SdlEventPump(const SdlEventPump&) = delete;
    SdlEventPump& operator=(const SdlEventPump&) = delete;
    ~SdlEventPump() override;

    bool poll(SDL_Event& event) override;

private:
    SdlEventPump() = default;

    bool open_ = true;
};

// SDL's keyboard, modifier and mouse state, and the game window's full-screen flags.
class SdlInput final : public InputState {
public:
    explicit SdlInput(SDL_Window* window) : window_(window) {}
    bool key_down(SDL_Scancode key) const override;
    bool shift_down() const override;
    std::optional<ScreenPoint> mouse_in_window() const override;
    bool fullscreen() const override;
    std::expected<void, std::string> set_fullscreen(bool on) override;
    Gamepads& gamepads() override { return gamepads_; }
    const Gamepads& gamepads() const override { return gamepads_; }

private:
    SDL_Window* window_;
    Gamepads gamepads_;
};

}  // namespace qm
