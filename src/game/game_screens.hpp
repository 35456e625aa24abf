// The game's modes as a small stack of screens: the title, the day, a card that holds the game
// (pause and help, the end of the day), the dawn and the night. Each screen hears its frame's
// input, plays its update and draws; `step` plays one frame of whatever screen is on top, and the
// game's main task, the soak and the screenshot tools all go through it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "draw_error.hpp"
#include "overlay.hpp"
#include "time.hpp"

namespace qm {

class DrawContext;
struct Game;

// What one step did, and so what the main task waits for before the next.
struct Step {
    enum class Kind : std::uint8_t {
        Quit,     // the player quit: nothing more of the frame was played
        Intro,    // an intro frame, drawn; the next one frame period after its start
        Started,  // play began: this intro frame is not drawn, and the first day frame comes at once
        Day,      // a day frame, played with `tick`; the next one frame period after its start
        Held,     // a frame under a card that holds the game, showing `tick` again; timed as a day frame
        Dawn,     // the new-day screen is up; the night is worked out at once under it
        Night,    // the night has passed: the next day's first frame waits for `pause_end`
    };
    Kind kind = Kind::Quit;
    std::uint16_t tick = 0;
    Instant pause_end{};
};

class Screen {
public:
    virtual ~Screen() = default;
    // The frame's input, heard before anything moves. A step that ends the frame already (a
    // quit), or nothing when the frame goes on.
    virtual std::optional<Step> input(Game& game) = 0;
    // What the frame plays, after its input.
    virtual Step update(Game& game) = 0;
    // Draws and presents what the update left.
    virtual DrawResult draw(Game& game) = 0;

    // The card this screen is, when it holds the game; its name tells the controls its keys.
    virtual Card holds() const { return Card::None; }
    // A card's picture, laid over the frame beneath it last of all.
    virtual DrawResult draw_card(DrawContext&, const OverlayView&) const { return {}; }
};

// The stack. A screen that leaves in a step lives on until the step is over, so the frame it
// played still draws.
class Screens {
public:
    // The day's screen alone, as a game in play; the game itself opens on the title
    // (`title_screen`).
    Screens();

    Screen& top() const { return *stack_.back(); }
    // The card on top that holds the game, None while play goes on.
    Card held() const { return stack_.back()->holds(); }
    // That card's screen, for its picture; null while play goes on.
    const Screen* held_card() const;

    void push(std::unique_ptr<Screen> screen) { stack_.push_back(std::move(screen)); }
    // The top screen leaves.
    void pop();
    // Every screen leaves for this one.
    void reset(std::unique_ptr<Screen> screen);
    // A card that holds the game goes on top; one asks at a time, so it takes the place of any
    // other such card there.
    void hold(std::unique_ptr<Screen> card);
    // After a step: the screens that left are let go.
    void end_step() { left_.clear(); }

private:
    std::vector<std::unique_ptr<Screen>> stack_;
    std::vector<std::unique_ptr<Screen>> left_;
};

// The screens, for those who put them up.
std::unique_ptr<Screen> title_screen();
std::unique_ptr<Screen> day_screen();
std::unique_ptr<Screen> help_card();
// Its forecast is worked out as it opens; the game stands still under it.
std::unique_ptr<Screen> end_day_card(const Game& game);
// The new-day screen, and after it the night.
std::unique_ptr<Screen> dawn_screen();

// Plays one frame of the screen on top: its input and, unless that ended the frame, its update
// and its draw. A day that has ended puts the dawn on top for the next step.
Step step(Game& game);

}  // namespace qm
