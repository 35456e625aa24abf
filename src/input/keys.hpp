// One table of the player's actions: the keys and the gamepad button of each, and the words the
// pause and help card shows for the keyboard, the mouse and touch, and the gamepad. The controls
// ask it which action a key or a button is, the card draws it row by row, and a test checks that
// the README's controls table names every key in it.
//
// Adding an action: a value in `Action` and one row in ACTIONS (keys.cpp), at the same place; then
// the controls act on it where it belongs (`Controls::play_key` / `controller_button` for presses,
// `held` for keys kept down), and the README's controls table names its keys (a test checks).
// No other file names a key or a button: the controls ask this table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include <SDL_gamecontroller.h>
#include <SDL_scancode.h>

namespace qm {

class InputState;

enum class Action : std::uint8_t {
    Walk,
    Run,
    UseTool,
    Choose,
    LeaveMenu,
    FullScreen,
    Collection,
    TakeSeed,
    GenomeView,
    Mute,
    Quieter,
    Louder,
    MusicMute,
    MusicQuieter,
    MusicLouder,
    TimeFlies,
    EndDay,
    Pause,
    Help,
};

// The way a walking key or a d-pad button points, as a bit: opposite ones held together cancel.
enum Heading : std::uint8_t { NOWHERE = 0, LEFT = 1, RIGHT = 2, UP = 4, DOWN = 8 };

// A key and the name the card and the README give it.
struct Key {
    SDL_Scancode code;
    std::string_view name;
    Heading heading = NOWHERE;  // a walking key's way
};

// A gamepad button of an action.
struct PadButton {
    SDL_GameControllerButton code;
    Heading heading = NOWHERE;  // a d-pad button's way
};

struct ActionKeys {
    Action action;
    std::string_view does;           // the card's first column
    std::array<Key, 8> keys;         // unused places have SDL_SCANCODE_UNKNOWN
    std::string_view key_words;      // how the keys are pressed, when there is more to say ("hold")
    std::string_view pointer_words;  // mouse and touch
    std::array<PadButton, 4> buttons;  // unused places have SDL_CONTROLLER_BUTTON_INVALID
    std::string_view pad_words;

    // The keys in use, in the table's order.
    std::span<const Key> key_list() const;
    std::span<const PadButton> button_list() const;
};

std::span<const ActionKeys> action_table();
const ActionKeys& action_keys(Action action);

// Is this key, or this gamepad button, one of the action's?
bool key_does(Action action, SDL_Scancode key);
bool button_does(Action action, std::uint8_t button);
// Any of the action's keys down, or its button held on any controller.
bool held(Action action, const InputState& input);
// Any of the action's buttons held on any controller, its keys aside.
bool button_held(Action action, const InputState& input);
// Any of the action's keys down, its button aside. Shift is read as the modifier it is.
bool key_held(Action action, const InputState& input);

// The way a walking key points, NOWHERE for any other key; likewise a d-pad button.
Heading key_heading(SDL_Scancode key);
Heading button_heading(std::uint8_t button);
// The ways of the walking keys and d-pad buttons held, one bit each.
unsigned headings_held(const InputState& input);

}  // namespace qm
