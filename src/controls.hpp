// Keyboard, mouse and touch turned into the gardener's walking, pointing and tool use, the
// on-screen controls and their menus, and the full-screen switch.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include <SDL.h>

#include "draw_error.hpp"
#include "hex_geometry.hpp"
#include "ui.hpp"

namespace qm {

class DrawContext;
class World;
struct Lily;

// Where pending input events come from: SDL's queue in the game, a plain queue in tests.
class EventSource {
public:
    virtual ~EventSource() = default;
    // The next pending event, false when the queue is empty.
    virtual bool poll(SDL_Event& event) = 0;
};

// The state that Controls reads rather than receives: held keys, modifiers, the mouse and the
// window. A layer of its own because SDL's state does not follow pushed events.
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
};

// SDL's event queue, opened by initialising the events subsystem. Only one can be open.
class SdlEventPump final : public EventSource {
public:
    SdlEventPump() = default;
    ~SdlEventPump() override;
    SdlEventPump(const SdlEventPump&) = delete;
    SdlEventPump& operator=(const SdlEventPump&) = delete;

    // SDL's error text when the subsystem cannot start or a pump is open already.
    std::expected<void, std::string> open();
    bool poll(SDL_Event& event) override;

private:
    bool open_ = false;
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

private:
    SDL_Window* window_;
};

// What the intro makes of its events.
enum class IntroOutcome : int { Quit = 0, Start = 1, Stay = 2 };

// The step per frame, in world units, for the set of held movement keys.
Fixed keyboard_step(const InputState& input);

class Controls {
public:
    // The run button's and the tool button's places on the default corner grid.
    static constexpr ButtonCell RUN_CELL{0, 0};
    static constexpr ButtonCell TOOL_CELL{1, -1};
    static constexpr std::uint32_t RUN_SPRITE = std::to_underlying(ButtonRow::Run);

    MovePad pad;
    Button run_button{std::nullopt, RUN_CELL, RUN_SPRITE};
    std::optional<Button> tool_button;
    std::optional<ButtonMenu> menu;
    bool fullscreen_requested = false;
    bool touch_mode = false;
    bool mouse_use = false;
    bool mouse_released = false;

    explicit Controls(InputState& input) : input_(&input) {}

    // The events of one intro frame.
    IntroOutcome intro_events(EventSource& events);
    // The input of one day frame, `now` being its tick; true when the player quit.
    bool frame_events(EventSource& events, Lily& lily, World& world, std::uint16_t now, DrawContext& ctx);
    // The pad and buttons in touch mode, the open menu, and the full-screen button.
    DrawResult draw(DrawContext& ctx) const;

    const InputState& input() const { return *input_; }

private:
    // What one event of a day frame does; false for a quit.
    bool handle_event(const SDL_Event& event, DrawContext& ctx);
    void finger_down(const SDL_TouchFingerEvent& finger, const ScreenTransform& transform);
    void finger_up(const SDL_TouchFingerEvent& finger);
    // A menu was chosen from and returned `result`.
    void after_menu(std::optional<ButtonMenu> result, const Lily& lily);
    // A walk took her into a building: the controls make way for its menu.
    void enter_menu(ButtonMenu opened, const Lily& lily);
    void toggle_fullscreen(DrawContext& ctx);
    // A frame without an open menu: run, walk, point, use the tool.
    void walk_point_and_use(Lily& lily, World& world, std::uint16_t now, DrawContext& ctx);

    InputState* input_;
};

// Stops the program on a failed SDL call, its error text quoted as the game's errors are.
[[noreturn]] void fatal_sdl_error(std::string_view sdl_error);

// A finger's normalised position as a logical pixel of a W × H screen.
ScreenPoint finger_pixel(float fx, float fy, const ScreenTransform& transform);

}  // namespace qm
