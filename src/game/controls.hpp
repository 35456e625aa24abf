// Keyboard, mouse, touch and game controllers turned into the gardener's walking, pointing and
// tool use, the on-screen controls' state and their menus, and the asks for full screen. Which
// key does what is the action table's (keys.hpp); the screen is asked through an InputView; the
// controls are drawn by touch_controls_draw.*.
#pragma once

#include <bitset>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <SDL_scancode.h>

#include "audio.hpp"
#include "camera.hpp"
#include "gamepad.hpp"
#include "happening.hpp"
#include "hex_geometry.hpp"
#include "input_state.hpp"
#include "input_view.hpp"
#include "overlay.hpp"
#include "sheets.hpp"
#include "swatch_grid.hpp"
#include "touch_controls_draw.hpp"
#include "ui.hpp"

union SDL_Event;
struct SDL_TouchFingerEvent;

namespace qm {

class World;
struct Lily;

// What one day frame's input asks of the loop besides moving the gardener.
struct FrameCommands {
    bool quit = false;
    bool pause_toggled = false;      // the pause and help card opens, or closes again
    bool end_day_asked = false;      // the end-day card opens
    bool end_day_confirmed = false;  // the end-day card says yes: the night comes now
    bool end_day_cancelled = false;  // the end-day card says no
    bool time_flies = false;         // held this frame: the day runs sixteen ticks
    bool report_answered = false;    // a fresh press answered the morning report
    bool finale_dismissed = false;   // Esc sent the finale's card away
    std::optional<Cell> empty_hands_at;  // the use input, with empty hands, on this tile
    std::optional<std::size_t> seed_chosen;  // the swatch of the open collection whose seed she asks for
};

// The keys of a card that holds the game: while it is up they are heard, and besides them only
// the full-screen switch and the sound's keys. Each such card answers for its own.
class CardKeys {
public:
    virtual ~CardKeys() = default;
    // A fresh key press.
    virtual void key(SDL_Scancode key, FrameCommands& out) const = 0;
    // A gamepad button; true when its press chose, so that it must be let go before it works a
    // tool as well.
    virtual bool button(std::uint8_t button, FrameCommands& out) const = 0;
};

// What the intro makes of its events.
enum class IntroOutcome : int { Quit = 0, Start = 1, Stay = 2 };

// The step per frame, in world units, for the set of held movement keys and d-pad buttons.
Fixed keyboard_step(const InputState& input);

class Controls {
public:
    // The run button's and the tool button's places on the default corner grid.
    static constexpr ButtonCell RUN_CELL{0, 0};
    static constexpr ButtonCell TOOL_CELL{1, -1};
    static constexpr std::uint32_t RUN_SPRITE = std::to_underlying(ButtonRow::Run);
    // The ring around the menu button that the keys or a gamepad would choose.
    static constexpr std::uint32_t HIGHLIGHT_COLOUR = 0xFF20E0FF;
    // Frames after a change of the window's size or scale in which the pointer's place is not
    // read as a move: the window may still be settling under it.
    static constexpr std::uint32_t POINTER_SETTLE_FRAMES = 8;

    MovePad pad;
    Button run_button{std::nullopt, RUN_CELL, RUN_SPRITE};
    std::optional<Button> tool_button;
    std::optional<ButtonMenu> menu;
    bool fullscreen_requested = false;
    bool touch_mode = false;
    bool mouse_use = false;
    bool mouse_released = false;
    // The open menu's button that Enter, Space or a gamepad's A chooses; each menu starts on its first.
    std::size_t highlight = 0;
    // Menu keys or a gamepad have been used: from then on the highlight is drawn.
    bool highlight_shown = false;
    bool collection_open = false;
    // The collection's swatch that Enter, Space or a gamepad's A takes a seed of; kept for the run.
    std::size_t swatch = FIRST_SWATCH;
    // G or the left stick's press: the genome labels of every flower on the screen.
    bool genomes_shown = false;
    // Told by the loop before each frame: the morning report is up (it takes every press), it has
    // been up long enough to be answered, and the finale's card is up (Esc sends it away).
    bool report_shown = false;
    bool report_answerable = false;
    bool finale_shown = false;
    // H or F1 started play from the title card: the day opens under the card of controls.
    bool help_at_start = false;
    // The loop stopped time flying at an event; it stays stopped until T (or X) is let go.
    bool time_flies_stopped = false;
    // The player's volume, for the run, and how many more frames its speaker mark shows.
    Volume volume;
    std::uint32_t speaker_mark_frames = 0;

    explicit Controls(InputState& input) : input_(&input) {}

    // Opens or closes the colour collection: the C key, its button below the full-screen
    // button, or a gamepad button.
    void toggle_collection();
    // M, and minus and equals: mute or unmute everything, or a step quieter or louder; with
    // `music`, B and the brackets: the music alone.
    void toggle_mute(bool music = false);
    void step_volume(int direction, bool music = false);

    // The events of one intro frame.
    IntroOutcome intro_events(EventSource& events);
    // The input of one day frame, `now` being its tick. While a card that holds the game (`card`)
    // is open, only its keys and the full-screen switch are heard and the gardener stands still.
    FrameCommands frame_events(EventSource& events, Lily& lily, World& world, std::uint16_t now, InputView& view,
                               const CardKeys* card = nullptr);

    const InputState& input() const { return *input_; }
    // What the controls show, for draw_controls.
    OnScreenControls on_screen() const;

private:
    // What one event of a day frame does; false for a quit.
    bool handle_event(const SDL_Event& event, InputView& view, const CardKeys* card, FrameCommands& out);
    // Esc closes the open collection, and every key answers the morning report; true when the
    // key was taken so.
    bool taken_by_open_thing(SDL_Scancode key, bool fresh, FrameCommands& out);
    // A fresh key press outside menus and cards.
    void play_key(SDL_Scancode key, FrameCommands& out);
    // A gamepad button while a card holds the game.
    void card_button(std::uint8_t button, const CardKeys& card, FrameCommands& out);
    // A controller came or went; true for either.
    bool plug_event(const SDL_Event& event);
    // A key pressed while a menu is open: the highlight moves, or a button is chosen.
    void menu_key(SDL_Scancode key);
    void controller_button(std::uint8_t button, FrameCommands& out);
    void step_highlight(ScreenDirection direction);
    // A key pressed while the collection is open and no menu is: the highlight moves over the
    // swatches, or a seed is asked for. True when the collection took the key.
    bool collection_key(SDL_Scancode key, FrameCommands& out);
    void step_swatch(ScreenDirection direction);
    void choose_swatch(std::size_t genotype, FrameCommands& out);
    // Chooses a button of the open menu as a click would; none chooses nothing.
    void choose(std::optional<std::size_t> index);
    void open_menu(ButtonMenu opened);
    void finger_down(const SDL_TouchFingerEvent& finger, InputView& view, FrameCommands& out);
    void finger_up(const SDL_TouchFingerEvent& finger);
    // A menu was chosen from and returned `result`.
    void after_menu(std::optional<ButtonMenu> result, const Lily& lily);
    // A walk took her into a building: the controls make way for its menu.
    void enter_menu(ButtonMenu opened, const Lily& lily);
    // A frame without an open menu: run, walk, point, use the tool.
    void walk_point_and_use(Lily& lily, World& world, std::uint16_t now, InputView& view, FrameCommands& out);
    // Whether the pointer moved this frame, told from where it rested the frame before.
    void watch_pointer(InputView& screen);
    // What a frame without input does to her: she stands, and the use input is let go.
    static void stand_still(Lily& lily, World& world, std::uint16_t now, InputView& view);
    // The sound keys and button, heard in menus and under cards alike.
    void volume_key(SDL_Scancode key, bool fresh);

    // What the events did, until the frame has the world to tell it to.
    void tell(Happening happening) { told_.push_back(happening); }
    void pass_on(World& world);

    InputState* input_;
    std::vector<Happening> told_;
    // The A that chose from a menu uses no tool until it is let go.
    bool pad_choice_held_ = false;
    // Likewise the Space that chose from a menu or a card.
    bool key_choice_held_ = false;
    // A use key went down this frame: a tap shorter than a frame still uses the tool once.
    bool key_use_ = false;
    // The pointer aims only after it has moved or clicked since the last walking input.
    bool pointer_steers_ = false;
    bool pointer_news_ = false;  // it moved or clicked on the field this frame
    std::optional<ScreenPoint> pointer_seen_;
    struct PointerView {
        std::uint32_t scale = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        bool fullscreen = false;
        friend bool operator==(const PointerView&, const PointerView&) = default;
    };
    PointerView view_seen_;
    std::uint32_t settle_frames_ = 0;
    std::optional<Cell> empty_hands_told_;  // the tile the empty hands' notice was raised for
    // The keys down at the end of the last frame: a press of one of them is a held key's.
    std::bitset<SDL_NUM_SCANCODES> down_before_;
    // The stick's menu direction last frame: each fresh push steps the highlight once.
    ScreenDirection stick_was_;
    // The right stick's likewise: each fresh push up or down steps the volume once, left or right
    // the music's.
    ScreenDirection volume_stick_was_;
};

// Draws the controls as they stand: the pad and buttons in touch mode, the open menu, the corners.
DrawResult draw_controls(DrawContext& ctx, const Controls& controls);

}  // namespace qm
