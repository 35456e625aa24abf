// The action table. Its rows are the order of the help card; the walking keys and the d-pad carry
// the way each points.
#include "keys.hpp"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "input_state.hpp"

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

// An action's gamepad buttons, likewise.
constexpr std::array<PadButton, 4> pad(std::initializer_list<PadButton> listed) {
    std::array<PadButton, 4> all{};
    all.fill(PadButton{NO_BUTTON});
    std::copy(listed.begin(), listed.end(), all.begin());
    return all;
}

// clang-format off
constexpr std::array ACTIONS{
    ActionKeys{Action::Walk, "Walk",
        keys({Key{SDL_SCANCODE_W, "W", UP}, Key{SDL_SCANCODE_A, "A", LEFT}, Key{SDL_SCANCODE_S, "S", DOWN},
              Key{SDL_SCANCODE_D, "D", RIGHT}, Key{SDL_SCANCODE_UP, "arrows", UP}, Key{SDL_SCANCODE_LEFT, "arrows", LEFT},
              Key{SDL_SCANCODE_DOWN, "arrows", DOWN}, Key{SDL_SCANCODE_RIGHT, "arrows", RIGHT}}),
        "", "move pad",
        pad({PadButton{SDL_CONTROLLER_BUTTON_DPAD_LEFT, LEFT}, PadButton{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, RIGHT},
             PadButton{SDL_CONTROLLER_BUTTON_DPAD_UP, UP}, PadButton{SDL_CONTROLLER_BUTTON_DPAD_DOWN, DOWN}}),
        "left stick, d-pad"},
    ActionKeys{Action::Run, "Run",
        keys({Key{SDL_SCANCODE_LSHIFT, "Shift"}, Key{SDL_SCANCODE_RSHIFT, "Shift"}}),
        "hold", "run button",
        pad({PadButton{SDL_CONTROLLER_BUTTON_LEFTSHOULDER}, PadButton{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
             PadButton{SDL_CONTROLLER_BUTTON_B}}),
        "hold LB, RB or B"},
    ActionKeys{Action::UseTool, "Use the tool",
        keys({Key{SDL_SCANCODE_SPACE, "Space"}, Key{SDL_SCANCODE_E, "E"}}),
        "hold to sweep", "click, tool button", pad({PadButton{SDL_CONTROLLER_BUTTON_A}}), "A"},
    ActionKeys{Action::Choose, "Choose in a menu",
        keys({Key{SDL_SCANCODE_RETURN, "Enter"}, Key{SDL_SCANCODE_KP_ENTER, "Enter"}, Key{SDL_SCANCODE_SPACE, "Space"}}),
        "arrows move", "click, touch a button", pad({PadButton{SDL_CONTROLLER_BUTTON_A}}), "A, d-pad or stick"},
    ActionKeys{Action::LeaveMenu, "Leave a menu",
        keys({Key{SDL_SCANCODE_ESCAPE, "Esc"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_B}}), "B"},
    ActionKeys{Action::FullScreen, "Full screen",
        keys({Key{SDL_SCANCODE_F, "F"}, Key{SDL_SCANCODE_F11, "F11"}}),
        "", "top-left button", pad({PadButton{SDL_CONTROLLER_BUTTON_START}}), "Start"},
    ActionKeys{Action::Collection, "Colour collection",
        keys({Key{SDL_SCANCODE_C, "C"}}),
        "", "button below it", pad({PadButton{SDL_CONTROLLER_BUTTON_Y}}), "Y"},
    ActionKeys{Action::TakeSeed, "Take a seed of it",
        keys({Key{SDL_SCANCODE_RETURN, "Enter"}, Key{SDL_SCANCODE_KP_ENTER, "Enter"}, Key{SDL_SCANCODE_SPACE, "Space"}}),
        "arrows move", "click a colour", pad({PadButton{SDL_CONTROLLER_BUTTON_A}}), "A, d-pad moves"},
    ActionKeys{Action::GenomeView, "Every genome label",
        keys({Key{SDL_SCANCODE_G, "G"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_MISC1}}), "press the share button"},
    ActionKeys{Action::Mute, "Mute, unmute",
        keys({Key{SDL_SCANCODE_M, "M"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_LEFTSTICK}}), "press left stick"},
    ActionKeys{Action::Quieter, "Quieter",
        keys({Key{SDL_SCANCODE_MINUS, "-"}, Key{SDL_SCANCODE_KP_MINUS, "-"}}),
        "", "", pad({}), "right stick down"},
    ActionKeys{Action::Louder, "Louder",
        keys({Key{SDL_SCANCODE_EQUALS, "="}, Key{SDL_SCANCODE_KP_PLUS, "+"}}),
        "", "", pad({}), "right stick up"},
    ActionKeys{Action::MusicMute, "Music off, on",
        keys({Key{SDL_SCANCODE_B, "B"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_GUIDE}}), "press the guide button"},
    ActionKeys{Action::MusicQuieter, "Music quieter",
        keys({Key{SDL_SCANCODE_LEFTBRACKET, "["}}),
        "", "", pad({}), "right stick left"},
    ActionKeys{Action::MusicLouder, "Music louder",
        keys({Key{SDL_SCANCODE_RIGHTBRACKET, "]"}}),
        "", "", pad({}), "right stick right"},
    ActionKeys{Action::TimeFlies, "Time flies",
        keys({Key{SDL_SCANCODE_T, "T"}}),
        "hold", "", pad({PadButton{SDL_CONTROLLER_BUTTON_X}}), "hold X"},
    ActionKeys{Action::EndDay, "End the day",
        keys({Key{SDL_SCANCODE_N, "N"}}),
        "then Enter", "", pad({PadButton{SDL_CONTROLLER_BUTTON_RIGHTSTICK}}), "right stick, then A"},
    ActionKeys{Action::Pause, "Pause",
        keys({Key{SDL_SCANCODE_P, "P"}, Key{SDL_SCANCODE_ESCAPE, "Esc"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_BACK}}), "Back"},
    ActionKeys{Action::Help, "This card",
        keys({Key{SDL_SCANCODE_H, "H"}, Key{SDL_SCANCODE_F1, "F1"}}),
        "", "", pad({PadButton{SDL_CONTROLLER_BUTTON_BACK}}), "Back"},
};
// clang-format on

}  // namespace

std::span<const Key> ActionKeys::key_list() const {
    const auto end = std::find_if(keys.begin(), keys.end(), [](const Key& k) { return k.code == SDL_SCANCODE_UNKNOWN; });
    return {keys.begin(), end};
}

std::span<const PadButton> ActionKeys::button_list() const {
    const auto end = std::find_if(buttons.begin(), buttons.end(), [](const PadButton& b) { return b.code == NO_BUTTON; });
    return {buttons.begin(), end};
}

std::span<const ActionKeys> action_table() { return ACTIONS; }

const ActionKeys& action_keys(Action action) { return ACTIONS[std::to_underlying(action)]; }

bool key_does(Action action, SDL_Scancode key) {
    const auto keys = action_keys(action).key_list();
    return std::any_of(keys.begin(), keys.end(), [key](const Key& k) { return k.code == key; });
}

bool button_does(Action action, std::uint8_t button) {
    const auto buttons = action_keys(action).button_list();
    return std::any_of(buttons.begin(), buttons.end(), [button](const PadButton& b) { return b.code == button; });
}

namespace {

// SDL keeps Shift as a modifier as well as a key; the modifier is what a held Shift is read by.
bool down(const InputState& input, SDL_Scancode key) {
    if (key == SDL_SCANCODE_LSHIFT || key == SDL_SCANCODE_RSHIFT) return input.shift_down();
    return input.key_down(key);
}

}  // namespace

bool key_held(Action action, const InputState& input) {
    const auto keys = action_keys(action).key_list();
    return std::any_of(keys.begin(), keys.end(), [&](const Key& k) { return down(input, k.code); });
}

bool button_held(Action action, const InputState& input) {
    const auto buttons = action_keys(action).button_list();
    return std::any_of(buttons.begin(), buttons.end(), [&](const PadButton& b) { return input.gamepads().held(b.code); });
}

bool held(Action action, const InputState& input) { return key_held(action, input) || button_held(action, input); }

Heading key_heading(SDL_Scancode key) {
    for (const Key& k : action_keys(Action::Walk).key_list()) {
        if (k.code == key) return k.heading;
    }
    return NOWHERE;
}

Heading button_heading(std::uint8_t button) {
    for (const PadButton& b : action_keys(Action::Walk).button_list()) {
        if (b.code == button) return b.heading;
    }
    return NOWHERE;
}

unsigned headings_held(const InputState& input) {
    unsigned bits = 0;
    for (const Key& k : action_keys(Action::Walk).key_list()) {
        if (input.key_down(k.code)) bits |= k.heading;
    }
    for (const PadButton& b : action_keys(Action::Walk).button_list()) {
        if (input.gamepads().held(b.code)) bits |= b.heading;
    }
    return bits;
}

}  // namespace qm
