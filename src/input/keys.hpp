// One table of the player's actions: the keys and the gamepad button of each, and the words the
// pause and help card shows for the keyboard, the mouse and touch, and the gamepad. The controls
// ask it which action a key or a button is, the card draws it row by row, and a test checks that
// the README's controls table names every key in it.
//
// Adding an action: a value in `Action` and one row in ACTIONS (keys.cpp), at the same place; then
// the controls act on it where it belongs (`Controls::play_key` / `controller_button` for presses,
// `held` for keys kept down), and the README's controls table names its keys (a test checks).
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

// A key and the name the card and the README give it.
struct Key {
    SDL_Scancode code;
    std::string_view name;
};

struct ActionKeys {
    Action action;
    std::string_view does;           // the card's first column
    std::array<Key, 8> keys;         // unused places have SDL_SCANCODE_UNKNOWN
    std::string_view key_words;      // how the keys are pressed, when there is more to say ("hold")
    std::string_view pointer_words;  // mouse and touch
    SDL_GameControllerButton button; // SDL_CONTROLLER_BUTTON_INVALID: none of its own
    std::string_view pad_words;

    // The keys in use, in the table's order.
    std::span<const Key> key_list() const;
};

std::span<const ActionKeys> action_table();
const ActionKeys& action_keys(Action action);

// Is this key, or this gamepad button, one of the action's?
bool key_does(Action action, SDL_Scancode key);
bool button_does(Action action, std::uint8_t button);
// Any of the action's keys down, or its button held on any controller.
bool held(Action action, const InputState& input);
// Any of the action's keys down, its button aside.
bool key_held(Action action, const InputState& input);

}  // namespace qm
