// The action table. Its rows are the order of the help card; the walking keys' directions stay
// in controls.cpp, which steps by them.
#include "keys.hpp"

#include <algorithm>
#include <initializer_list>

#include "controls.hpp"

namespace qm {

namespace {

constexpr SDL_GameControllerButton NO_BUTTON = SDL_CONTROLLER_BUTTON_INVALID;

// An action's keys, the unused places left unknown.
constexpr std::array<Key, 8> keys(std::initializer_list<Key> listed) {
    std::array<Key, 8> all{};
    all.fill(Key{SDL_SCANCODE_UNKNOWN, ""});
    std::copy(listed.begin(), listed.end(), all.begin());
    return all;
}

// clang-format off
constexpr std::array ACTIONS{
    ActionKeys{Action::Walk, "Walk",
        keys({Key{SDL_SCANCODE_W, "W"}, Key{SDL_SCANCODE_A, "A"}, Key{SDL_SCANCODE_S, "S"}, Key{SDL_SCANCODE_D, "D"},
              Key{SDL_SCANCODE_UP, "arrows"}, Key{SDL_SCANCODE_LEFT, "arrows"}, Key{SDL_SCANCODE_DOWN, "arrows"},
              Key{SDL_SCANCODE_RIGHT, "arrows"}}),
        "", "move pad", NO_BUTTON, "left stick, d-pad"},
    ActionKeys{Action::Run, "Run",
        keys({Key{SDL_SCANCODE_LSHIFT, "Shift"}, Key{SDL_SCANCODE_RSHIFT, "Shift"}}),
        "hold", "run button", NO_BUTTON, "hold LB, RB or B"},
    ActionKeys{Action::UseTool, "Use the tool",
        keys({Key{SDL_SCANCODE_SPACE, "Space"}, Key{SDL_SCANCODE_E, "E"}}),
        "hold to sweep", "click, tool button", SDL_CONTROLLER_BUTTON_A, "A"},
    ActionKeys{Action::Choose, "Choose in a menu",
        keys({Key{SDL_SCANCODE_RETURN, "Enter"}, Key{SDL_SCANCODE_KP_ENTER, "Enter"}, Key{SDL_SCANCODE_SPACE, "Space"}}),
        "arrows move", "click, touch a button", SDL_CONTROLLER_BUTTON_A, "A, d-pad or stick"},
    ActionKeys{Action::LeaveMenu, "Leave a menu",
        keys({Key{SDL_SCANCODE_ESCAPE, "Esc"}}),
        "", "", SDL_CONTROLLER_BUTTON_B, "B"},
    ActionKeys{Action::FullScreen, "Full screen",
        keys({Key{SDL_SCANCODE_F, "F"}, Key{SDL_SCANCODE_F11, "F11"}}),
        "", "top-left button", SDL_CONTROLLER_BUTTON_START, "Start"},
    ActionKeys{Action::Collection, "Colour collection",
        keys({Key{SDL_SCANCODE_C, "C"}}),
        "", "button below it", SDL_CONTROLLER_BUTTON_Y, "Y"},
    ActionKeys{Action::TakeSeed, "Take a seed of it",
        keys({Key{SDL_SCANCODE_RETURN, "Enter"}, Key{SDL_SCANCODE_KP_ENTER, "Enter"}, Key{SDL_SCANCODE_SPACE, "Space"}}),
        "arrows move", "click a colour", SDL_CONTROLLER_BUTTON_A, "A, d-pad moves"},
    ActionKeys{Action::GenomeView, "Every genome label",
        keys({Key{SDL_SCANCODE_G, "G"}}),
        "", "", SDL_CONTROLLER_BUTTON_MISC1, "press the share button"},
    ActionKeys{Action::Mute, "Mute, unmute",
        keys({Key{SDL_SCANCODE_M, "M"}}),
        "", "", SDL_CONTROLLER_BUTTON_LEFTSTICK, "press left stick"},
    ActionKeys{Action::Quieter, "Quieter",
        keys({Key{SDL_SCANCODE_MINUS, "-"}, Key{SDL_SCANCODE_KP_MINUS, "-"}}),
        "", "", NO_BUTTON, "right stick down"},
    ActionKeys{Action::Louder, "Louder",
        keys({Key{SDL_SCANCODE_EQUALS, "="}, Key{SDL_SCANCODE_KP_PLUS, "+"}}),
        "", "", NO_BUTTON, "right stick up"},
    ActionKeys{Action::MusicMute, "Music off, on",
        keys({Key{SDL_SCANCODE_B, "B"}}),
        "", "", SDL_CONTROLLER_BUTTON_GUIDE, "press the guide button"},
    ActionKeys{Action::MusicQuieter, "Music quieter",
        keys({Key{SDL_SCANCODE_LEFTBRACKET, "["}}),
        "", "", NO_BUTTON, "right stick left"},
    ActionKeys{Action::MusicLouder, "Music louder",
        keys({Key{SDL_SCANCODE_RIGHTBRACKET, "]"}}),
        "", "", NO_BUTTON, "right stick right"},
    ActionKeys{Action::TimeFlies, "Time flies",
        keys({Key{SDL_SCANCODE_T, "T"}}),
        "hold", "", SDL_CONTROLLER_BUTTON_X, "hold X"},
    ActionKeys{Action::EndDay, "End the day",
        keys({Key{SDL_SCANCODE_N, "N"}}),
        "then Enter", "", SDL_CONTROLLER_BUTTON_RIGHTSTICK, "right stick, then A"},
    ActionKeys{Action::Pause, "Pause",
        keys({Key{SDL_SCANCODE_P, "P"}, Key{SDL_SCANCODE_ESCAPE, "Esc"}}),
        "", "", SDL_CONTROLLER_BUTTON_BACK, "Back"},
    ActionKeys{Action::Help, "This card",
        keys({Key{SDL_SCANCODE_H, "H"}, Key{SDL_SCANCODE_F1, "F1"}}),
        "", "", SDL_CONTROLLER_BUTTON_BACK, "Back"},
};
// clang-format on

}  // namespace

std::span<const Key> ActionKeys::key_list() const {
    const auto end = std::find_if(keys.begin(), keys.end(), [](const Key& k) { return k.code == SDL_SCANCODE_UNKNOWN; });
    return {keys.begin(), end};
}

std::span<const ActionKeys> action_table() { return ACTIONS; }

const ActionKeys& action_keys(Action action) { return ACTIONS[std::to_underlying(action)]; }

bool key_does(Action action, SDL_Scancode key) {
    const auto keys = action_keys(action).key_list();
    return std::any_of(keys.begin(), keys.end(), [key](const Key& k) { return k.code == key; });
}

bool button_does(Action action, std::uint8_t button) {
    const SDL_GameControllerButton own = action_keys(action).button;
    return own != SDL_CONTROLLER_BUTTON_INVALID && own == button;
}

bool key_held(Action action, const InputState& input) {
    const auto keys = action_keys(action).key_list();
    return std::any_of(keys.begin(), keys.end(), [&](const Key& k) { return input.key_down(k.code); });
}

bool held(Action action, const InputState& input) {
    const SDL_GameControllerButton button = action_keys(action).button;
    return key_held(action, input) || (button != SDL_CONTROLLER_BUTTON_INVALID && input.gamepads().held(button));
}

}  // namespace qm
