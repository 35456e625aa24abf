// The main task's frames played without the clock: the intro and its drift, the start of play,
// the day's ticks up to the last frame, quitting, the new-day sequence, and start-up and
// shut-down of the whole task on the dummy video driver.
#include "day_clock.hpp"
#include "game.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <cstring>
#include <thread>
#include <vector>

#include <unistd.h>

#include "support/fake_input.hpp"
#include "support/game_fixture.hpp"
#include "support/sdl_fixture.hpp"
#include "support/world_helpers.hpp"
#include "bees.hpp"
#include "collection.hpp"
#include "drawn_view.hpp"
#include "graphics.hpp"
#include "heap_use.hpp"
#include "lily.hpp"
#include "menu_from_request.hpp"
#include "panel.hpp"
#include "random.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

using namespace std::chrono_literals;

TEST(IntroClockTest, RunsFromSixInTheMorningToJustBeforeSixAndStartsOver) {
    struct Case {
        std::uint16_t clock;
        std::uint16_t next;
    };
    const std::vector<Case> cases{{1920, 1921}, {NOON, NOON + 1}, {24958, 24959}, {24959, 1920}};
    for (const auto& c : cases) EXPECT_EQ(next_intro_clock(c.clock), c.next) << c.clock;

    std::uint16_t clock = INTRO_CLOCK_FIRST;
    int steps = 0;
    do {
        clock = next_intro_clock(clock);
        ++steps;
        ASSERT_GE(clock, 1920);
        ASSERT_LE(clock, 24959);
    } while (clock != INTRO_CLOCK_FIRST && steps < 70000);
    EXPECT_EQ(steps, 24960 - 1920);
}

TEST(FrameTimeTest, TheFrameTimeIsTheWorkBeforeTheWait) {
    struct Case {
        Instant frame_start;
        Instant now;
        std::chrono::nanoseconds frame_time;
        Instant deadline;
    };
    const std::vector<Case> cases{
        {{10, 0}, {10, 5'000'000}, 5ms, {10, 32'000'000}},
        {{10, 990'000'000}, {11, 1'000}, 10'001'000ns, {11, 22'000'000}},
        {{10, 0}, {10, 40'000'000}, 40ms, {10, 32'000'000}},  // late: the deadline has passed
        {{10, 0}, {9, 0}, 0ns, {10, 32'000'000}},
    };
    for (const auto& c : cases) {
        LoopState s;
        s.frame_start = c.frame_start;
        EXPECT_EQ(finish_day_frame(s, c.now), c.deadline);
        EXPECT_EQ(s.frame_time, c.frame_time);
        EXPECT_EQ(s.frame_start, c.frame_start);
    }
}

class GameTest : public test::HeadlessGame {
protected:
    LoopState& state() { return game->state; }

    // The whole screen, red in the lowest byte.
    std::vector<std::uint32_t> screen() {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(window_w * window_h));
        EXPECT_EQ(SDL_RenderReadPixels(renderer(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), window_w * 4), 0);
        return pixels;
    }

    std::size_t count(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
        return static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), colour));
    }

    // The white pixels of a text panel drawn alone on a cleared screen.
    template <typename Draw>
    std::vector<std::size_t> white_pixels_of(Draw draw) {
        clear();
        EXPECT_TRUE(draw().has_value());
        const auto pixels = screen();
        std::vector<std::size_t> white;
        for (std::size_t k = 0; k < pixels.size(); ++k) {
            if (pixels[k] == WHITE) white.push_back(k);
        }
        clear();
        return white;
    }

    void put_flower(Cell c, std::uint16_t next_stage) {
        world.set_tile(c, Soil{Flower{next_stage, {1, 1, 1}, FlowerStage::Seed}, true});
    }
    FlowerStage stage_at(Cell c) {
        const Flower* f = flower_on(world.get_tile(c));
        EXPECT_NE(f, nullptr);
        return f ? f->stage : FlowerStage::Seed;
    }
};

TEST_F(GameTest, IntroFramesDrawTheWorldUnderTheIntroPictureAndDrift) {
    for (int k = 1; k <= 3; ++k) {
        clear();
        EXPECT_EQ(intro_frame(*game), IntroOutcome::Stay);
        EXPECT_EQ(state().intro_pan, (Fixed{-8192 * k, 0}));
        EXPECT_EQ(state().intro_clock, 1920 + k);
        // The camera showed the pan from before this frame's drift.
        EXPECT_EQ(ctx().transform.center, (Fixed{-8192 * (k - 1), 0}));
        EXPECT_EQ(test::identify(pixel(360, 180)), (test::CellId{"intro", 0, 0}));
        // Around the picture, the field.
        const auto corner = test::identify(pixel(5, 5));
        ASSERT_TRUE(corner.has_value()) << test::describe(pixel(5, 5));
        EXPECT_NE(corner->sheet, "intro");
    }
}

TEST_F(GameTest, AClickOrATouchStartsPlayWithoutDrawingThatIntroFrame) {
    struct Case {
        SDL_Event event;
        bool touch_mode;
    };
    for (const auto& c : {Case{test::mouse_down(100, 100), false}, Case{test::finger_down(2, 0.5f, 0.5f), true}}) {
        state() = LoopState{};
        controls.touch_mode = false;
        clear();
        events.push(c.event);
        EXPECT_EQ(intro_frame(*game), IntroOutcome::Start);
        EXPECT_EQ(pixel(360, 180), BACKGROUND);
        EXPECT_EQ(pixel(5, 5), BACKGROUND);
        EXPECT_EQ(state().intro_clock, 1920);
        EXPECT_EQ(state().intro_pan, (Fixed{0, 0}));
        EXPECT_EQ(controls.touch_mode, c.touch_mode);
    }
    events.push(test::key_event(SDL_SCANCODE_Q)).push(test::quit_event());
    EXPECT_EQ(intro_frame(*game), IntroOutcome::Quit);
}

TEST_F(GameTest, PlayStartsAtNoonOfDayOneWithAZeroFrameTime) {
    lily.tool = std::make_unique<Hoe>();
    events.push(test::mouse_down(100, 100));
    ASSERT_EQ(intro_frame(*game), IntroOutcome::Start);
    start_play(*game);
    EXPECT_EQ(state().day, 1u);
    EXPECT_EQ(state().time_of_day, NOON);
    EXPECT_FALSE(state().day_over);
    EXPECT_EQ(lily.position, Lily::MORNING_POINT);
    EXPECT_EQ(lily.tool, nullptr);
    EXPECT_TRUE(std::holds_alternative<Hive>(world.get_tile(cell(-15, -13))));  // the farm is laid out

    const auto clock_text = white_pixels_of([&] { return ctx().draw_daytime(1, NOON); });
    const auto time_text = white_pixels_of([&] { return ctx().draw_frame_time(0ns); });
    ASSERT_GT(clock_text.size(), 20u);
    ASSERT_GT(time_text.size(), 20u);

    const DayFrame first = day_frame(*game);
    EXPECT_FALSE(first.quit);
    EXPECT_EQ(first.tick, NOON);
    EXPECT_EQ(state().time_of_day, 13441);
    EXPECT_EQ(state().frame_time, 0ns);
    const auto shown = screen();
    for (const std::size_t k : clock_text) ASSERT_EQ(shown[k], WHITE) << "clock pixel " << k;
    for (const std::size_t k : time_text) ASSERT_EQ(shown[k], WHITE) << "frame time pixel " << k;
    EXPECT_EQ(ctx().transform.center, Lily::MORNING_POINT);
}

TEST_F(GameTest, TheFrameAtSevenInTheEveningIsPlayedInFullBeforeTheDayEnds) {
    start_play(*game);
    state().time_of_day = 26879;
    const Cell bed = cell(4, 8);
    put_flower(bed, DAY_END);

    const DayFrame before = day_frame(*game);
    EXPECT_EQ(before.tick, 26879);
    EXPECT_FALSE(state().day_over);
    EXPECT_EQ(stage_at(bed), FlowerStage::Seed);

    clear();
    const DayFrame last = day_frame(*game);
    EXPECT_FALSE(last.quit);
    EXPECT_EQ(last.tick, DAY_END);
    EXPECT_TRUE(state().day_over);
    EXPECT_EQ(state().time_of_day, DAY_END);
    EXPECT_EQ(stage_at(bed), FlowerStage::Sprout);  // updated with tick DAY_END
    EXPECT_NE(pixel(5, 5), BACKGROUND);              // and drawn
}

TEST_F(GameTest, QuittingEndsADayFrameBeforeTheUpdateAndTheDrawing) {
    start_play(*game);
    const Cell bed = cell(4, 8);
    put_flower(bed, NOON);
    clear();
    events.push(test::quit_event());
    const DayFrame frame = day_frame(*game);
    EXPECT_TRUE(frame.quit);
    EXPECT_EQ(frame.tick, NOON);
    EXPECT_EQ(stage_at(bed), FlowerStage::Seed);
    EXPECT_EQ(pixel(5, 5), BACKGROUND);
    EXPECT_EQ(pixel(360, 180), BACKGROUND);
}

TEST_F(GameTest, TheNewDayScreenTheMorningAndTheNight) {
    start_play(*game);
    state().time_of_day = DAY_END;
    state().frame_start = Instant{100, 250'000'000};
    const Cell bed = cell(4, 8);
    put_flower(bed, 30000);
    lily.tool = std::make_unique<Hoe>();
    lily.carried_flowers.push_back(Flower{});
    lily.position = Fixed{20 * ONE_UNIT, 6 * ONE_UNIT};
    controls.tool_button = Button(std::nullopt, Controls::TOOL_CELL, 4);
    controls.menu = menu_from_request(*world.buildings.front()->menu());
    ASSERT_FALSE(day_frame(*game).quit);
    ASSERT_TRUE(state().day_over);

    const auto day_2_text = white_pixels_of([&] { return ctx().draw_new_day(2); });
    const auto day_3_text = white_pixels_of([&] { return ctx().draw_new_day(3); });
    ASSERT_NE(day_2_text, day_3_text);

    const Instant pause_end = new_day(*game);
    EXPECT_EQ(pause_end, (Instant{104, 250'000'000}));
    EXPECT_EQ(state().frame_start, (Instant{100, 250'000'000}));
    const auto shown = screen();
    EXPECT_GT(count(shown, BLACK), shown.size() * 9 / 10);
    EXPECT_EQ(count(shown, WHITE), day_2_text.size());
    for (const std::size_t k : day_2_text) ASSERT_EQ(shown[k], WHITE);

    EXPECT_EQ(lily.tool, nullptr);
    EXPECT_TRUE(lily.carried_flowers.empty());
    EXPECT_EQ(lily.position, Lily::MORNING_POINT);
    EXPECT_EQ(flower_on(world.get_tile(bed)), nullptr);  // the night cleared the field
    // The controls are not touched by the change of day.
    ASSERT_TRUE(controls.tool_button.has_value());
    EXPECT_EQ(controls.tool_button->sprite, 4u);
    EXPECT_TRUE(controls.menu.has_value());

    begin_next_day(state());
    EXPECT_EQ(state().day, 2u);
    EXPECT_EQ(state().time_of_day, 0);
    EXPECT_FALSE(state().day_over);
    const auto clock_text = white_pixels_of([&] { return ctx().draw_daytime(2, 0); });
    const DayFrame dawn = day_frame(*game);
    EXPECT_EQ(dawn.tick, 0);
    EXPECT_EQ(state().time_of_day, 1);
    const auto dawn_screen = screen();
    for (const std::size_t k : clock_text) ASSERT_EQ(dawn_screen[k], WHITE);
    EXPECT_TRUE(controls.menu.has_value());  // still open on the new day
}

TEST_F(GameTest, DrawFramePutsTheControlsOverTheFieldAndStopsAtTheFirstError) {
    const auto clock_text = white_pixels_of([&] { return ctx().draw_daytime(1, NOON); });
    ASSERT_TRUE(draw_frame(ctx(), controls, world, lily, 1, NOON, 0ns).has_value());
    EXPECT_EQ(test::identify(pixel(8, 40)), (test::CellId{"top_buttons", 0, 0}));
    auto shown = screen();
    for (const std::size_t k : clock_text) ASSERT_EQ(shown[k], WHITE);

    ctx().top_buttons.reset();
    clear();
    const auto failed = draw_frame(ctx(), controls, world, lily, 1, NOON, 0ns);
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().kind, DrawError::Kind::String);
    // The field was drawn before the failing controls; the clock after them was not.
    shown = screen();
    EXPECT_NE(pixel(200, 300), BACKGROUND);
    EXPECT_EQ(count(shown, WHITE), 0u);
}

// The game's steps go through its screens in turn, each telling the main task what to wait for:
// the title, the day, the cards that hold it, and after a yes to the end of the day the dawn,
// the night and the next day's first frame.
TEST_F(GameTest, TheStepsPlayTheScreensInTurn) {
    using K = Step::Kind;
    struct Turn {
        std::optional<SDL_Event> input;
        K kind;
        Card held;  // after the step
        std::uint64_t day;
    };
    const Turn turns[] = {
        {std::nullopt, K::Intro, Card::None, 0},
        {test::mouse_down(100, 100), K::Started, Card::None, 1},
        {test::key_event(SDL_SCANCODE_P), K::Day, Card::Help, 1},  // the frame that opens it is the day's
        {test::key_event(SDL_SCANCODE_N), K::Held, Card::Help, 1},  // not a key of this card
        {test::key_event(SDL_SCANCODE_P), K::Held, Card::None, 1},
        {test::key_event(SDL_SCANCODE_N), K::Day, Card::EndDay, 1},
        {test::key_event(SDL_SCANCODE_RETURN), K::Held, Card::None, 1},
        {std::nullopt, K::Dawn, Card::None, 1},
        {std::nullopt, K::Night, Card::None, 2},
        {std::nullopt, K::Day, Card::None, 2},
        {test::quit_event(), K::Quit, Card::None, 2},
    };
    game->screens.reset(title_screen());
    state().frame_start = Instant{7, 0};
    for (const Turn& turn : turns) {
        if (turn.input) events.push(*turn.input);
        const Step done = step(*game);
        EXPECT_EQ(std::tie(done.kind, state().day), std::tie(turn.kind, turn.day)) << static_cast<int>(turn.kind);
        EXPECT_EQ(game->screens.held(), turn.held) << static_cast<int>(turn.kind);
        if (done.kind == K::Night) {
            EXPECT_EQ(done.pause_end, (Instant{11, 0}));
        }
    }
}

// ---- time that flies, the pause and help card, the end-day card ----

// Two worlds laid out alike and played side by side: k flying frames against 16k frames without input.
TEST_F(GameTest, TimeFliesKFramesAsSixteenKFramesWithoutInput) {
    // The farm, a random garden, and one that runs into 7:00 pm and must stop there.
    for (const auto& [farm, start, k] : std::vector<std::tuple<bool, std::uint16_t, int>>{
             {true, NOON, 8}, {false, 9000, 40}, {false, DAY_END - 100, 12}}) {
        World slow_world(Soil{}, Lawn{});
        Lily slow_lily;
        test::FakeInput slow_input;
        Controls slow_controls{slow_input};
        Game slow{ctx(), slow_world, slow_lily, slow_controls, events, LoopState{}};
        world = World(Soil{}, Lawn{});
        game->collection = Collection{};
        for (Game* g : {&*game, &slow}) {
            set_rng_state(0x5EED);
            if (farm) g->world.setup_farm();
            for (int n = 0; n < 90; ++n) {  // flowers of every stage due soon, dry and watered
                const int dj = static_cast<int>(rand_below(16)) - 8;
                const Cell at = cell(2 * (static_cast<int>(rand_below(16)) - 8) + (dj & 1), dj);
                const auto stage = static_cast<FlowerStage>(rand_below(4));
                const auto due = stage == FlowerStage::Flower ? NEVER : static_cast<std::uint16_t>(start + rand_below(700));
                const auto gene = [] { return static_cast<std::uint8_t>(rand_below(3)); };
                g->world.set_tile(at, Soil{Flower{due, {gene(), gene(), gene()}, stage}, rand_below(2) == 0});
            }
            for (const Cell c : {cell(-20, 0), cell(20, 0), cell(0, 10)}) g->world.set_tile(c, Hive{BeeHive{c, 1000, 2}});
            start_day(g->state, start);
        }
        const std::uint64_t laid = rng_state();
        input.keys = {SDL_SCANCODE_T};
        for (int n = 0; n < k && !state().day_over; ++n) ASSERT_FALSE(day_frame(*game).quit);
        const std::uint64_t flown = rng_state();
        set_rng_state(laid);
        for (int n = 0; n < TIME_FLIES_TICKS * k && !slow.state.day_over; ++n) ASSERT_FALSE(day_frame(slow).quit);
        EXPECT_EQ(rng_state(), flown);
        EXPECT_EQ(std::tie(state().time_of_day, state().day_over, state().shown_tick),
                  std::tie(slow.state.time_of_day, slow.state.day_over, slow.state.shown_tick));
        EXPECT_EQ(world.tiles().size(), slow_world.tiles().size());
        for (const auto& [at, tile] : world.tiles()) EXPECT_EQ(tile, slow_world.get_tile(at)) << test::describe(at);
        EXPECT_EQ(world.hive_ranges(), slow_world.hive_ranges());
        EXPECT_EQ(game->collection.seen(), slow.collection.seen());
    }
    EXPECT_EQ(state().time_of_day, DAY_END);
}

// A run with a goal through the game's frames: a harvest is a milestone with its notice, a day
// with nothing new gives a hint at dawn, and the 27th colour brings the finale and its card, which
// leaves by itself while play goes on.
TEST_F(GameTest, MilestonesHintsAndTheFinaleThroughTheFrames) {
    start_play(*game);
    world.tell({Happening::Kind::HiveHarvested, 2});
    world.set_tile(cell(4, 8), Hive{BeeHive{cell(4, 8), 0, 1}});  // a second hive on the field
    world.tell({Happening::Kind::HiveSetDown, 1});
    hear_the_field(*game);
    EXPECT_EQ(game->milestones.reached_on(Milestone::FirstHarvest), std::optional<std::uint64_t>(1));
    EXPECT_EQ(game->milestones.reached_on(Milestone::TwoHives), std::optional<std::uint64_t>(1));
    EXPECT_THAT(game->notices.shown(), testing::Contains(milestone_notice(Milestone::FirstHarvest)));

    for (const bool progress : {true, false}) {
        game->notices = Notices{};
        static_cast<void>(new_day(*game));
        begin_next_day(state());
        const auto shown = game->notices.shown();
        EXPECT_EQ(std::ranges::any_of(shown, [](const std::string& t) { return t.starts_with("Hint: "); }), !progress);
    }

    for (std::uint32_t k = 0; k < GENOTYPES; ++k) {
        if (k != 5) game->collection.record(k, 2), reach_milestones(*game, {MilestoneEvent::Kind::NewColour, k});
    }
    EXPECT_FALSE(game->celebration.running());
    const auto due = static_cast<std::uint16_t>(state().time_of_day + 1);
    world.set_tile(cell(6, 8), Soil{Flower{due, {2, 1, 0}, FlowerStage::Bud}, true});  // genotype 5 opens
    for (int k = 0; k < 3; ++k) ASSERT_FALSE(day_frame(*game).quit);
    EXPECT_TRUE(game->celebration.running());
    EXPECT_TRUE(game->overlay.is_open(Card::Finale));
    EXPECT_EQ(game->screens.held(), Card::None);
    const std::uint16_t clock = state().time_of_day;
    for (std::uint32_t k = 0; k < Celebration::CARD_FRAMES; ++k) ASSERT_FALSE(day_frame(*game).quit);
    EXPECT_FALSE(game->overlay.is_open(Card::Finale));
    EXPECT_EQ(state().time_of_day, clock + Celebration::CARD_FRAMES);
}

TEST_F(GameTest, PauseHoldsTheClockTheWorldAndTheNoticesUntilAnyPauseKeyResumes) {
    start_play(*game);
    const Cell bed = cell(4, 8);
    for (const auto& [opens, closes] : std::vector<std::pair<SDL_Scancode, SDL_Scancode>>{
             {SDL_SCANCODE_P, SDL_SCANCODE_ESCAPE}, {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_H},
             {SDL_SCANCODE_H, SDL_SCANCODE_F1}, {SDL_SCANCODE_F1, SDL_SCANCODE_P}}) {
        put_flower(bed, static_cast<std::uint16_t>(state().time_of_day + 3));
        game->notices.raise("A notice that waits");
        events.push(test::key_event(opens));
        const std::uint16_t tick = day_frame(*game).tick;  // played in full; the card is up after it
        const std::uint16_t clock = state().time_of_day;
        const Fixed where = lily.position;
        input.keys = {SDL_SCANCODE_D, SDL_SCANCODE_T};  // neither walking nor time flying under the card
        for (std::uint32_t k = 0; k < Notices::SHOWN_FRAMES + 5; ++k) EXPECT_EQ(day_frame(*game).tick, tick);
        EXPECT_EQ(std::tie(state().time_of_day, lily.position), std::tie(clock, where));
        EXPECT_EQ(stage_at(bed), FlowerStage::Seed);
        EXPECT_EQ(game->notices.shown().size(), 1u);
        EXPECT_GT(count(screen(), HONEY), 20u) << "the card's title";
        input.keys.clear();
        events.push(test::key_event(closes));
        EXPECT_EQ(day_frame(*game).tick, tick);  // the frame that hears the key still waits
        for (int k = 0; k < 4; ++k) EXPECT_EQ(day_frame(*game).tick, clock + k);
        EXPECT_EQ(stage_at(bed), FlowerStage::Sprout);
    }
}

TEST_F(GameTest, TheEndDayCardKeepsPlayingOnEscAndRunsTheNightOnceOnEnterOrSpace) {
    start_play(*game);
    for (const SDL_Scancode answer : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_RETURN, SDL_SCANCODE_SPACE}) {
        const std::uint64_t day = state().day;
        put_flower(cell(4, 8), 30000);
        game->overlay.close(Card::Morning);  // the last night's report would take the N
        events.push(test::key_event(SDL_SCANCODE_N));
        ASSERT_FALSE(day_frame(*game).quit);
        ASSERT_EQ(game->screens.held(), Card::EndDay);
        const std::uint16_t clock = state().time_of_day;
        events.push(test::key_event(answer));
        int nights = 0;
        for (int k = 0; k < 5; ++k) {  // the main loop's frames
            ASSERT_FALSE(day_frame(*game).quit);
            if (!state().day_over) continue;
            static_cast<void>(new_day(*game));
            begin_next_day(state());
            ++nights;
        }
        const bool ends = answer != SDL_SCANCODE_ESCAPE;
        EXPECT_EQ(nights, ends ? 1 : 0);
        EXPECT_EQ(state().day, day + (ends ? 1u : 0u));
        EXPECT_EQ(state().time_of_day, ends ? 4 : clock + 4);
        EXPECT_EQ(flower_on(world.get_tile(cell(4, 8))) == nullptr, ends);
        EXPECT_EQ(game->screens.held(), Card::None);
    }
}

// ---- the morning after, the collection and the notices ----

using Texts = std::vector<std::string>;

TEST_F(GameTest, ADryDayEndsInAGardenSownAgainWithTheFirstDaysDraws) {
    set_rng_state(0xBEEF);
    World first_day;
    first_day.setup_farm();

    start_play(*game);
    state().time_of_day = DAY_END;  // nothing watered: every seed stalls as a bud by nightfall
    ASSERT_FALSE(day_frame(*game).quit);
    ASSERT_GT(world.flower_count(), 0u);
    game->notices = Notices{};

    set_rng_state(0xBEEF);  // a night without open flowers draws nothing
    new_day(*game);
    ASSERT_GT(first_day.flower_count(), 10u);
    EXPECT_EQ(world.flower_count(), first_day.flower_count());
    for (const auto& [c, tile] : first_day.tiles()) {
        if (flower_on(tile)) {
            EXPECT_EQ(world.get_tile(c), tile) << test::describe(c);
        }
    }
    // A day without news: the morning's hint follows, for the buds left dry.
    EXPECT_EQ(game->notices.shown(),
              (Texts{"The garden was sown again: " + std::to_string(first_day.flower_count()) + " seeds",
                     hint_notice(Hint::WaterBuds)}));
}

TEST_F(GameTest, ANightThatLeavesAFlowerSowsNothingElse) {
    start_play(*game);
    const Cell a = cell(-17, -13);
    const Cell b = cell(-19, -13);
    world.set_tile(a, Soil{Flower{NEVER, {0, 2, 1}, FlowerStage::Flower}, true});
    world.set_tile(b, Soil{Flower{NEVER, {0, 2, 1}, FlowerStage::Flower}, false});
    new_day(*game);
    // A level-1 hive: one seed each, on the parents' own tiles, and nothing more in the garden.
    EXPECT_EQ(world.flower_count(), 2u);
    EXPECT_NE(flower_on(world.get_tile(a)), nullptr);
    EXPECT_NE(flower_on(world.get_tile(b)), nullptr);
    EXPECT_EQ(game->notices.shown(), (Texts{"The bees sowed 2 seeds", hint_notice(Hint::StayNearHive)}));
}

TEST_F(GameTest, ANewColourFillsItsSwatchOnceWithItsDayAndOneNotice) {
    start_play(*game);
    const std::size_t genotype = 0 + 3 * 2 + 9 * 1;
    const auto bud_at = [&](Cell c, std::uint16_t due) {
        world.set_tile(c, Soil{Flower{due, {0, 2, 1}, FlowerStage::Bud}, true});
    };
    bud_at(cell(4, 8), 13440);
    ASSERT_FALSE(day_frame(*game).quit);
    EXPECT_EQ(game->collection.first_day(genotype), std::optional<std::uint64_t>(1));
    EXPECT_EQ(game->collection.seen(), 1u);
    EXPECT_EQ(game->notices.shown(), (Texts{"New colour: ccMMYy", "Milestone: First bloom"}));

    state().day = 3;
    bud_at(cell(6, 8), state().time_of_day);
    ASSERT_FALSE(day_frame(*game).quit);
    EXPECT_EQ(flower_on(world.get_tile(cell(6, 8)))->stage, FlowerStage::Flower);
    EXPECT_EQ(game->collection.first_day(genotype), std::optional<std::uint64_t>(1));
    EXPECT_EQ(game->collection.seen(), 1u);
    EXPECT_EQ(game->notices.shown(), (Texts{"New colour: ccMMYy", "Milestone: First bloom"}));
}

TEST_F(GameTest, AHarvestAndTheSmokerOnAHiveWithoutAMenuRaiseTheirNotices) {
    struct Case {
        const char* name;
        std::function<void()> act;
        Texts shown;
    };
    const Cell hive = cell(4, 8);
    const std::vector<Case> cases{
        {"harvest",
         [&] {
             world.set_tile(hive, Hive{BeeHive{hive, HONEY_MAX, 2}});
             ASSERT_FALSE(menu_from_request(upgrade_menu(BeeHive{hive, HONEY_MAX, 2})).run_action(0, world, lily)->has_value());
         },
         {"Hive harvested: level 3", "Milestone: First harvest"}},
        {"smoke",
         [&] {
             world.set_tile(hive, Hive{BeeHive{hive, 97000, 1}});
             EXPECT_EQ(Smoker{}.use_tool(world, hive.i, hive.j, 14000).kind, ToolOutcome::Kind::Used);
         },
         {"The hive is 37% full"}},
        {"smoke, nearly full", [&] {
             world.set_tile(hive, Hive{BeeHive{hive, HONEY_MAX - 1, 2}});
             Smoker{}.use_tool(world, hive.i, hive.j, 14000);
         },
         {"The hive is 99% full"}},
        {"the can's last charge", [&] {
             world.set_tile(hive, Soil{});
             WateringCan can;
             can.water = 2;
             can.use_tool(world, hive.i, hive.j, 14000);  // one left: nothing to say
             world.set_tile(hive + cell(2, 0), Soil{});
             can.use_tool(world, hive.i + 2, hive.j, 14000);
         },
         {"The can is empty: fill it at the pond"}},
        {"the can at the pond", [&] {
             world.set_tile(hive, Water{});
             lily.tool = std::make_unique<WateringCan>();
             lily.position = lily.anchor = centre_of(hive + cell(-2, 0));
             lily.selection = cell(2, 0);
             static_cast<void>(lily.use_tool(world, 14000, true));
         },
         {"The can is full"}},
    };
    for (const auto& c : cases) {
        game->notices = Notices{};
        c.act();
        hear_the_field(*game);
        hear_the_field(*game);
        EXPECT_EQ(game->notices.shown(), c.shown) << c.name;
    }
}

// Seeds from the open collection: the keys move its highlight, not her; Enter takes a seed only
// of a genome seen and while the day's grant lasts; she carries it and the shovel plants it.
TEST_F(GameTest, ASeedFromTheOpenCollectionIsCarriedAndPlantedWithItsGenes) {
    start_play(*game);
    game->collection.record(13, 1);  // a grey flower of the first garden opened
    lily.tool = std::make_unique<Shovel>();
    const Fixed stood = lily.position;
    const auto press = [&](SDL_Scancode key) {
        events.push(test::key_event(key));
        ASSERT_FALSE(day_frame(*game).quit);
    };
    press(SDL_SCANCODE_RETURN);  // the panel is closed: nothing to take
    press(SDL_SCANCODE_C);
    input.keys.insert(SDL_SCANCODE_RIGHT);  // held as well as pressed
    press(SDL_SCANCODE_RIGHT);
    input.keys.clear();
    EXPECT_EQ(controls.swatch, 14u);
    press(SDL_SCANCODE_RETURN);  // a genome never seen in bloom
    EXPECT_TRUE(lily.carried_flowers.empty());
    press(SDL_SCANCODE_LEFT);
    for (int k = 0; k < 4; ++k) press(SDL_SCANCODE_RETURN);  // the fourth finds none left today
    EXPECT_EQ(lily.position, stood);
    EXPECT_EQ(game->collection.seeds_left(), 0u);
    ASSERT_EQ(lily.carried_flowers.size(), 3u);
    EXPECT_EQ(lily.carried_flowers.front(), (Flower{0, {1, 1, 1}, FlowerStage::Seed}));
    EXPECT_EQ(game->notices.shown().front(), "A seed of CcMmYy: plant it with the shovel");

    press(SDL_SCANCODE_C);
    const Cell bed = containing_tile(lily.position) + cell(2, 0);
    world.set_tile(bed, Soil{});
    lily.selection = cell(2, 0);
    const std::uint16_t now = state().time_of_day;
    press(SDL_SCANCODE_E);
    const Flower* planted = flower_on(world.get_tile(bed));
    ASSERT_NE(planted, nullptr);
    EXPECT_EQ(planted->genes, (std::array<std::uint8_t, 3>{1, 1, 1}));
    EXPECT_EQ(planted->stage, FlowerStage::Seed);
    EXPECT_GE(planted->next_stage, now + TICKS_PER_HOUR);
    EXPECT_EQ(lily.carried_flowers.size(), 2u);
    // Dawn: what she carries is lost, and three more seeds wait.
    new_day(*game);
    EXPECT_TRUE(lily.carried_flowers.empty());
    EXPECT_EQ(game->collection.seeds_left(), 3u);
}

TEST_F(GameTest, TheCollectionPanelShowsTheSameRecordWhenOpenedAgain) {
    game->collection.record(4, 1);
    game->collection.record(26, 2);
    const auto frame = [&] {
        EXPECT_TRUE(draw_frame(ctx(), controls, world, lily, 2, 14000, 0ns, {&game->collection, &game->notices}));
        return screen();
    };
    const auto closed = frame();
    controls.toggle_collection();
    const auto open = frame();
    controls.toggle_collection();
    EXPECT_EQ(frame(), closed);
    controls.toggle_collection();
    EXPECT_EQ(frame(), open);
    EXPECT_NE(open, closed);
}

TEST(NoticesTest, TwoAtATimeForFourSecondsEachTheRestWaiting) {
    Notices notices;
    notices.raise("one");
    notices.raise("two");
    notices.raise("three");
    EXPECT_EQ(notices.shown(), (Texts{"one", "two"}));
    for (std::uint32_t k = 1; k < Notices::SHOWN_FRAMES; ++k) notices.advance();
    notices.raise("one");  // raised again: its time starts afresh, no second line
    EXPECT_EQ(notices.shown(), (Texts{"one", "two"}));
    notices.advance();
    EXPECT_EQ(notices.shown(), (Texts{"one", "three"}));
    for (std::uint32_t k = 1; k < Notices::SHOWN_FRAMES; ++k) notices.advance();
    EXPECT_EQ(notices.shown(), (Texts{"three"}));
    notices.advance();
    EXPECT_EQ(notices.shown(), Texts{});
}

// Drawn at the logical size and scaled once, a frame is the one that scaling each copy made, pixel
// for pixel: at scales 1 to 4 and odd window sides, on one window resized between frames, whose
// target grows with it; the field in the dawn light with the touch controls, the collection, a
// notice, the clock and the frame time; and the intro.
TEST_F(GameTest, AFrameScaledOnceIsTheFrameThatScalingEachCopyMade) {
    start_play(*game);
    controls.touch_mode = controls.collection_open = true;
    game->collection.record(4, 1);
    game->notices.raise("New colour: CcMMyy", 0xFF8000);
    const std::function<bool()> screens[]{
        [&] { return draw_frame(ctx(), controls, world, lily, 2, 300, 1ms, {&game->collection, &game->notices}).has_value(); },
        [&] { return intro_frame(*game) == IntroOutcome::Stay; }};
    struct Size { int w, h; std::uint32_t scale; };
    for (const Size size : {Size{720, 360, 1}, {1441, 721, 2}, {1920, 1080, 2}, {2880, 1620, 3}, {3840, 2160, 4}, {1921, 1081, 3}}) {
        SDL_SetWindowSize(ctx().canvas->window(), window_w = size.w, window_h = size.h);
        SDL_PumpEvents();
        for (const auto& draw : screens) {
            std::array<std::vector<std::uint32_t>, 2> frames;
            for (const Scaling scaling : {Scaling::PerCopy, Scaling::Once}) {
                ctx().scaling = scaling;
                state() = LoopState{};
                clear(BLACK);  // as a fresh target is
                ASSERT_TRUE(ctx().adjust_scale() && draw());
                frames[scaling == Scaling::Once] = screen();
            }
            EXPECT_EQ(ctx().scale, size.scale);
            EXPECT_TRUE(frames[0] == frames[1]) << size.w << "x" << size.h;
            EXPECT_EQ(ctx().frame_target != nullptr, size.scale > 1);
        }
    }
}

// A window dragged through thousands of sizes within its display and in and out of full screen:
// one frame target serves them all, and the heap ends where it stood after the first few sizes.
// A target per size is what filled the OpenGL renderer's framebuffer cache.
TEST_F(GameTest, ThousandsOfResizesAndFullScreenSwitchesKeepOneTargetAndTheHeapFlat) {
    start_play(*game);
    SDL_Window* window = ctx().canvas->window();
    std::uint64_t draw = 1;
    const auto sizes = [&](int n) {
        for (int k = 0; k < n; ++k) {
            draw = draw * 6364136223846793005ull + 1442695040888963407ull;
            const int w = 100 + static_cast<int>((draw >> 33) % 925), h = 100 + static_cast<int>((draw >> 45) % 669);
            SDL_SetWindowSize(window, w, h);
            if (k % 250 == 125) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
            if (k % 250 == 126) SDL_SetWindowFullscreen(window, 0);
            SDL_PumpEvents();
            // Most sizes only pass through the target; every fiftieth is a whole day frame.
            if (k % 50 == 0) {
                day_frame(*game);
            } else {
                ASSERT_TRUE(ctx().adjust_scale() && ctx().begin_frame() && ctx().present());
            }
        }
    };
    sizes(100);
    const std::size_t heap = heap_in_use();
    sizes(3000);
    EXPECT_EQ(ctx().frame_target_sizes.size(), 1u);
    EXPECT_LT(heap_in_use(), heap + (2u << 20)) << "in use after the first sizes: " << heap;
}

// A sheet made on another renderer: it can be tinted, but copying it fails with an SDL error,
// so the field's drawing returns a DrawError.
class GameDeathTest : public GameTest {
protected:
    void TearDown() override {
        GameTest::TearDown();  // the context, with the foreign texture, goes first
        if (foreign_renderer_) SDL_DestroyRenderer(foreign_renderer_);
    }
    TexturePtr foreign_texture(int w, int h) {
        if (!foreign_renderer_) {
            foreign_surface_.reset(SDL_CreateRGBSurfaceWithFormat(0, 256, 64, 32, SDL_PIXELFORMAT_RGBA32));
            foreign_renderer_ = SDL_CreateSoftwareRenderer(foreign_surface_.get());
        }
        return TexturePtr(SDL_CreateTexture(foreign_renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, w, h));
    }
    SurfacePtr foreign_surface_;
    SDL_Renderer* foreign_renderer_ = nullptr;
};

TEST_F(GameDeathTest, ADrawingFailureStopsTheProgramWithTheError) {
    ctx().ground = foreign_texture(256, 32);
    ctx().dawn_of = foreign_texture(60, 12);
    ASSERT_TRUE(ctx().ground && ctx().dawn_of);
    EXPECT_DEATH(intro_frame(*game), testing::HasSubstr("called `Result::unwrap()` on an `Err` value: String("));
    start_play(*game);
    EXPECT_DEATH(day_frame(*game), testing::HasSubstr("called `Result::unwrap()` on an `Err` value: String("));
    EXPECT_DEATH(new_day(*game), testing::HasSubstr("called `Result::unwrap()` on an `Err` value: String("));
}

// Full screen at 1920 × 1080: scale 2, so the frame is drawn into a target. One that cannot be
// drawn into stops the program with SDL's reason.
class FullScreenDeathTest : public GameTest {
protected:
    FullScreenDeathTest() { window_w = 1920, window_h = 1080; }
};

TEST_F(FullScreenDeathTest, AFrameTargetThatCannotBeDrawnIntoStopsTheProgramWithSdlsReason) {
    ASSERT_TRUE(ctx().adjust_scale());
    ctx().frame_target = test::white_sheet(renderer(), 960, 540);  // the right size, not a target
    start_play(*game);
    EXPECT_DEATH(day_frame(*game), testing::HasSubstr("called `Result::unwrap()` on an `Err` value: String(\"Texture "
                                                      "not created with SDL_TEXTUREACCESS_TARGET\")"));
}

// ---- the whole task on the dummy video driver ----

// A run directory with synthetic art, entered for the test's scope.
class MainTaskTest : public testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        test::write_synthetic_run_dir(dir_.path());
        cwd_.emplace(dir_.path());
    }
    void TearDown() override { cwd_.reset(); }

    test::ScratchDir dir_;
    std::optional<test::WorkingDirectory> cwd_;
};

using MainTaskDeathTest = MainTaskTest;

TEST_F(MainTaskDeathTest, AnInterruptOrTerminationSignalQuitsCleanly) {
    for (const int signal_number : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(
            {
                const pid_t self = getpid();
                std::thread sender([self, signal_number] {
                    std::this_thread::sleep_for(400ms);
                    kill(self, signal_number);
                });
                sender.detach();
                spawn_with_until_executor(main_task());
                std::exit(0);
            },
            testing::ExitedWithCode(0), "")
            << strsignal(signal_number);
    }
}

TEST_F(MainTaskDeathTest, StartUpFailuresStopTheProgramWithTheirError) {
    std::filesystem::remove(dir_.path() / "assets" / "intro.png");
    EXPECT_DEATH(spawn_with_until_executor(main_task()),
                 testing::HasSubstr("called `Result::unwrap()` on an `Err` value: String(\""));
    SDL_setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    EXPECT_DEATH(spawn_with_until_executor(main_task()),
                 testing::HasSubstr("called `Result::unwrap()` on an `Err` value: \""));
}

// Held T stops by itself when a hive fills and at 6:00 pm (counting the farm's dry buds), each
// with its notice; let go and held again, time flies on.
TEST_F(GameTest, TimeFliesStopsAtAFullHiveAndAtSixAndGoesOnWhenHeldAgain) {
    start_play(*game);
    const Cell hive = containing_tile(lily.position) + cell(6, 0);
    world.set_tile(hive, Hive{BeeHive{hive, HONEY_MAX - 100, 1}});
    world.set_tile(hive + cell(2, 0), Soil{Flower{NEVER, {0, 0, 0}, FlowerStage::Flower}, true});
    for (const auto& [from, notice] : {std::pair{14000, "A hive is full: harvest it with the smoker"},
                                       std::pair{SIX_PM - 200, "dry buds open only if watered now"}}) {
        state().time_of_day = static_cast<std::uint16_t>(from);
        input.keys = {SDL_SCANCODE_T};
        std::vector<std::uint16_t> ticks;
        for (int k = 0; k < 40; ++k) ticks.push_back(day_frame(*game).tick);
        EXPECT_EQ(ticks[1] - ticks[0], 16) << "it flew at first";
        EXPECT_EQ(ticks[39], ticks[38] + 1) << "then stopped, T still held: " << notice;
        EXPECT_THAT(game->notices.shown(), testing::Contains(testing::EndsWith(notice)));
        input.keys.clear();
        day_frame(*game);
        input.keys = {SDL_SCANCODE_T};
        const int before = day_frame(*game).tick;
        EXPECT_EQ(day_frame(*game).tick, before + 16) << "held again, it flies";
    }
}

// With the collection open over a garden in bloom round a hive, G on, the range shown, the aim
// and the can's number, the panel looks the same without those marks, though they reach its place.
TEST_F(GameTest, NoFieldMarkIsDrawnOverTheOpenCollection) {
    start_play(*game);
    const Cell hive = containing_tile(lily.position) + cell(2, 0);
    for_each_in_hexagon(hive, HIVE_RANGE, [&](Cell c) { world.set_tile(c, Soil{Flower{NEVER, {2, 1, 0}, FlowerStage::Flower}, true}); });
    world.set_tile(hive, Hive{BeeHive{hive, 0, 2}});
    lily.tool = std::make_unique<WateringCan>();
    lily.selection = cell(2, 0);
    const SDL_Rect panel = collection_layout(ctx(), WithMilestones::Yes).panel;
    const auto inside = [&](bool marks) {
        controls.genomes_shown = marks;
        marks ? game->overlay.open(Card::FieldMarks) : game->overlay.close(Card::FieldMarks);
        EXPECT_TRUE(draw_game_frame(*game, 14000).has_value());
        std::vector<std::uint32_t> in;
        const auto pixels = screen();
        for (int y = panel.y; y < panel.y + panel.h; ++y)
            in.insert(in.end(), pixels.begin() + y * window_w + panel.x, pixels.begin() + y * window_w + panel.x + panel.w);
        return in;
    };
    ASSERT_NE(inside(true), inside(false));
    controls.collection_open = true;
    EXPECT_EQ(inside(true), inside(false));
}

// Each key goes to the innermost open thing and does one thing. Per open thing, what each of Esc,
// Space, Enter, E and P leaves open or done: m menu, c collection, r report, p pause, e end-day,
// t the lawn ahead tilled, n the night come, h the hoe put back. R: the report, the key held since
// before it came up (its repeats come as fresh presses): that answers nothing.
TEST_F(GameTest, EachKeyGoesToTheInnermostOpenThingAndDoesOneThing) {
    const std::array<std::pair<const char*, std::array<const char*, 5>>, 7> table{{
        {"", {"p", "t", "", "t", "p"}},
        {"m", {"h", "h", "h", "m", "mp"}},
        {"c", {"", "c", "c", "c", "cp"}},
        {"r", {"", "", "", "", ""}},
        {"p", {"", "p", "p", "p", ""}},
        {"e", {"", "n", "n", "e", "e"}},
        {"R", {"r", "r", "r", "r", "r"}},
    }};
    const std::array<SDL_Scancode, 5> keys{SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE, SDL_SCANCODE_RETURN, SDL_SCANCODE_E, SDL_SCANCODE_P};
    for (const auto& [open, after] : table)
        for (std::size_t k = 0; k < keys.size(); ++k) {
            controls = Controls(input);
            game.emplace(Game{ctx(), world, lily, controls, events, LoopState{}});
            start_play(*game);
            lily.tool = std::make_unique<Hoe>();
            lily.selection = cell(2, 0);
            world.set_tile(*lily.target(), Lawn{});
            const std::string o = open;
            if (o == "m") controls.menu = menu_from_request(*world.buildings.front()->menu());
            controls.collection_open = o == "c";
            if (o == "r" || o == "R") {
                game->overlay.open(Card::Morning);
                game->morning_frames = MORNING_REPORT_LEAST_FRAMES;
            }
            if (o == "R") input.keys = {keys[k]};
            if (o == "R") day_frame(*game);
            if (o == "p") game->screens.hold(help_card());
            if (o == "e") game->screens.hold(end_day_card(*game));
            events.push(test::key_event(keys[k]));
            day_frame(*game);
            std::string seen;
            for (const auto& [mark, is] : {std::pair{'m', controls.menu.has_value()}, {'c', controls.collection_open},
                                           {'r', game->overlay.is_open(Card::Morning)}, {'p', game->screens.held() == Card::Help},
                                           {'e', game->screens.held() == Card::EndDay}, {'t', std::holds_alternative<Soil>(world.get_tile(*lily.target()))},
                                           {'n', state().day_over}, {'h', !(lily.tool && lily.tool->kind() == ToolKind::Hoe)}})
                if (is) seen += mark;
            EXPECT_EQ(seen, after[k]) << "open: " << o << ", key " << SDL_GetScancodeName(keys[k]);
            input.keys.clear();
        }
}

// The morning report comes with the night and goes with the first key after half a second, or on
// its own after twenty, and the keys pressed meanwhile do nothing else; a click on the open
// collection stays on it, one beside it reaches the field.
TEST_F(GameTest, TheMorningReportTheGenomeViewAndTheCollectionTakeTheirEvents) {
    start_play(*game);
    static_cast<void>(new_day(*game));
    begin_next_day(state());
    ASSERT_TRUE(game->overlay.is_open(Card::Morning));
    events.push(test::key_event(SDL_SCANCODE_G));  // queued in the night: too early to answer
    ASSERT_FALSE(day_frame(*game).quit);
    EXPECT_TRUE(game->overlay.is_open(Card::Morning));
    EXPECT_FALSE(controls.genomes_shown);
    for (std::uint32_t k = 1; k < MORNING_REPORT_LEAST_FRAMES; ++k) day_frame(*game);
    events.push(test::key_event(SDL_SCANCODE_G));
    day_frame(*game);
    EXPECT_FALSE(game->overlay.is_open(Card::Morning));
    EXPECT_FALSE(controls.genomes_shown);  // the G that answered is spent
    events.push(test::key_event(SDL_SCANCODE_G));
    day_frame(*game);
    EXPECT_TRUE(controls.genomes_shown);
    controls.genomes_shown = false;
    game->overlay.open(Card::Morning);
    game->morning_frames = 0;
    for (std::uint32_t k = 0; k < MORNING_REPORT_MOST_FRAMES; ++k) day_frame(*game);
    EXPECT_FALSE(game->overlay.is_open(Card::Morning));

    lily.tool = std::make_unique<Hoe>();
    const CollectionLayout layout = collection_layout(ctx(), WithMilestones::Yes);  // as the game draws it
    const SDL_Rect& panel = layout.panel;
    for (const bool on_panel : {true, false}) {
        controls.collection_open = true;
        const int below = panel.y + panel.h + 8 < window_h ? panel.y + panel.h + 8 : panel.y - 8;
        const ScreenPoint p{panel.x + panel.w / 2, on_panel ? panel.y + panel.h - 4 : below};
        const FrameCommands asked = frame_events(controls, events.push(test::mouse_down(p.x, p.y)), lily, world, 14000, ctx());
        EXPECT_EQ(controls.mouse_use, !on_panel) << (on_panel ? "on the panel" : "beside it");
        EXPECT_FALSE(asked.seed_chosen);
        controls.mouse_use = false;
    }
    // A click or a touch on a swatch asks for its seed; closed, the panel takes nothing.
    const auto centre = [&](std::size_t k) { return SDL_Point{layout.swatches[k].x + 5, layout.swatches[k].y + 5}; };
    const auto finger = [&](SDL_Point p) {
        return test::finger_down(1, static_cast<float>(p.x) / static_cast<float>(window_w), static_cast<float>(p.y) / static_cast<float>(window_h));
    };
    EXPECT_EQ(frame_events(controls, events.push(test::mouse_down(centre(22).x, centre(22).y)), lily, world, 14000, ctx()).seed_chosen, 22u);
    EXPECT_EQ(frame_events(controls, events.push(finger(centre(4))), lily, world, 14000, ctx()).seed_chosen, 4u);
    controls.collection_open = false;
    EXPECT_FALSE(frame_events(controls, events.push(finger(centre(4))), lily, world, 14000, ctx()).seed_chosen);
}

}  // namespace
}  // namespace qm
