// The main task: start-up, then steps of the game's screens (game_screens.*) and the waits
// between them, and shut-down. What a frame hears and draws are plain functions here, so tests
// can play frames without the clock.
#pragma once

#include <chrono>
#include <cstdint>

#include "audio.hpp"
#include "celebration.hpp"
#include "collection.hpp"
#include "collection_panel.hpp"
#include "controls.hpp"
#include "day_clock.hpp"
#include "draw_error.hpp"
#include "forecast.hpp"
#include "game_screens.hpp"
#include "garden_cards.hpp"
#include "hex_geometry.hpp"
#include "milestones.hpp"
#include "notices.hpp"
#include "overlay.hpp"
#include "time.hpp"
#include "world.hpp"

namespace qm {

class DrawContext;
class World;
struct Lily;

inline constexpr std::chrono::milliseconds FRAME_PERIOD{32};
// Counted from the start of the frame in which the new-day screen goes up.
inline constexpr std::chrono::seconds NEW_DAY_PAUSE{4};
// While time flies, each frame plays this many ticks of the day.
inline constexpr int TIME_FLIES_TICKS = 16;


// The world behind the intro runs its own clock from 6:00 am to just before six in the evening,
// and the camera drifts left by two logical pixels a frame.
inline constexpr std::uint16_t INTRO_CLOCK_FIRST = 1920;
inline constexpr std::uint16_t INTRO_CLOCK_END = 24960;
inline constexpr std::int32_t INTRO_DRIFT = -8192;

inline constexpr const char* WINDOW_TITLE = "Quillmarsh";
// The desktop entry's name, which the window carries as its class and application id.
inline constexpr const char* APP_ID = "io.github.quillmarsh.Quillmarsh";
inline constexpr int WINDOW_WIDTH = 720;
inline constexpr int WINDOW_HEIGHT = 360;

// The main task's own state between frames.
struct LoopState {
    Instant frame_start;
    std::chrono::nanoseconds frame_time{0};  // work of the previous day frame, for display
    Fixed intro_pan{};
    std::uint16_t intro_clock = INTRO_CLOCK_FIRST;
    std::uint64_t day = 0;
    std::uint16_t time_of_day = 0;
    std::uint16_t day_end = DAY_END;
    bool day_over = false;
    // The last tick played: what a frame held by a card shows.
    std::uint16_t shown_tick = 0;
};

// What a frame works on. The main task owns all of it.
struct Game {
    DrawContext& ctx;
    World& world;
    Lily& lily;
    Controls& controls;
    EventSource& events;
    LoopState state;
    Collection collection{};
    Notices notices{};
    Overlay overlay{};
    NightReport night{};  // what the last night did
    Tonight tonight{};
    // The garden's cards as last drawn, made again only when what they say changes.
    GardenCardsKept kept_cards{};
    std::uint32_t morning_frames = 0;  // day frames the morning report has been up
    bool morning_stood = false;        // she has stood still since it came up
    std::string last_night{};          // the report's gist, kept for the day in the collection panel
    // Silent unless the main task opened a device; tests record through it.
    Sound* sound = &silence();
    Footsteps footsteps{};
    // The frame's happenings after the collection judged the colours (a FlowerOpened that is a
    // first is followed by its NewColour), in the order they happened: what the notices and the
    // sound heard, for anyone else to read until the next frame.
    std::vector<Happening> heard{};
    Milestones milestones{};
    Celebration celebration{};
    // The game's modes: the day with what lies over it, or the title before play.
    Screens screens{};
};

// The morning report stays up until she moves or a key is pressed, but not for less than half a
// second (a key pressed during the night's pause waits in the queue for the first frame) and not
// for more than twenty.
inline constexpr std::uint32_t MORNING_REPORT_LEAST_FRAMES = 16;
inline constexpr std::uint32_t MORNING_REPORT_MOST_FRAMES = 625;

// What is drawn over the field besides the controls and the top line: the collection panel
// (while the controls have it open), the notices, and last the cards with what they show.
struct Overlays {
    const Collection* collection = nullptr;
    const Notices* notices = nullptr;
    const Overlay* cards = nullptr;
    OverlayView view{};
    const Milestones* milestones = nullptr;    // listed in the collection panel
    const Celebration* celebration = nullptr;  // the finale, over the field and under the cards
    const std::string* last_night = nullptr;   // the morning report's gist, in the collection panel
    const Screen* held = nullptr;              // the card that holds the game, over everything
};

// 1920, 1921, ... 24959, then 1920 again.
std::uint16_t next_intro_clock(std::uint16_t clock);

// One intro frame of the title screen up to (not including) its wait: a start or a quit leaves it
// undrawn, and play is left for the caller to start.
IntroOutcome intro_frame(Game& game);

// Once, when the player starts: the farm, the gardener at the start point, day 1 at noon, the
// day's screen (under the card of controls when H or F1 started play).
void start_play(Game& game);
void start_day(LoopState& state, std::uint16_t first_tick);

struct DayFrame {
    bool quit = false;
    std::uint16_t tick = 0;  // the tick this frame was played with
};

// One frame of the day's screen, or of the card that holds it, up to its wait: the clock, input,
// the world's update and the drawing. A quit ends it before the update. While time flies the
// frame plays TIME_FLIES_TICKS ticks, each one the clock's step and `World::update`, stopping at
// the day's last tick; while a card holds the game the frame only hears the card's keys and draws
// the last tick again. The night is left for the caller (`new_day`).
DayFrame day_frame(Game& game);

// The clock's step at the start of a frame: the tick to play; the day's last tick sets `day_over`.
std::uint16_t tick_clock(LoopState& state);

// The seed she asked the open collection for goes into her hands, when the collection can give it.
void take_chosen_seed(Game& game, const FrameCommands& commands);

// Draws and presents the frame of `tick` from the game's state, with the cards and what they
// read, and last the card that holds the game.
DrawResult draw_game_frame(Game& game, std::uint16_t tick, bool time_flies = false);

// After the frame's work: the frame time to show next, and the deadline of the frame's wait.
Instant finish_day_frame(LoopState& state, Instant now);

// What happened this frame (World::take_happenings) goes into the collection, then, with the new
// colours among it, into Game::heard, the notices and the sound.
void hear_the_field(Game& game);
// The place as she stands in it this frame: her footsteps, the hives' hum and the day's loops.
void hear_the_place(Game& game, std::uint16_t tick);
// What the milestones make of a happening, if anything.
std::optional<MilestoneEvent> milestone_event(const Happening& happening, const World& world);
// Each milestone an event reaches raises its notice and its chime; the last one starts the finale.
void reach_milestones(Game& game, const MilestoneEvent& event);

// Draws and presents one day frame: the field, the collection panel, the controls, the clock, the
// frame time, the notices and the cards.
DrawResult draw_frame(DrawContext& ctx, const Controls& controls, const World& world, const Lily& lily,
                      std::uint64_t day, std::uint16_t tick, std::chrono::nanoseconds frame_time,
                      const Overlays& overlays = {});

// The new-day screen, the gardener's morning and the night, as the dawn's and the night's screens
// play them; returns the end of the pause. A night that leaves no flower on the field is followed
// by the garden sown again, so a dry day never ends the game. Controls are left alone: an open
// menu and the tool button carry over.
Instant new_day(Game& game);
// After the pause: the next day at 5:00 am.
void begin_next_day(LoopState& state);

// The whole life of the game, for spawn_with_until_executor.
Task main_task();

}  // namespace qm
