// Controls: keys to steps, running, the full-screen switch, the mouse and fingers routed to the
// field, the move pad, the buttons and the open menu, quitting, and what gets drawn.
#include "controls.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string_view>
#include <vector>

#include "support/fake_input.hpp"
#include "support/sdl_fixture.hpp"
#include "drawn_view.hpp"
#include "graphics.hpp"
#include "touch_controls_draw.hpp"
#include "keys.hpp"
#include "lily.hpp"
#include "bees.hpp"
#include "random.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

using test::FakeEvents;
using test::FakeInput;

// ---- keys to steps, without SDL ----

TEST(KeyboardStepTest, HeldKeysCombineIntoOneStep) {
    struct Case {
        std::set<SDL_Scancode> keys;
        Fixed step;
    };
    const std::vector<Case> cases{
        {{}, {0, 0}},
        {{SDL_SCANCODE_A}, {-8192, 0}},
        {{SDL_SCANCODE_RIGHT}, {8192, 0}},
        {{SDL_SCANCODE_W}, {0, -4096}},
        {{SDL_SCANCODE_DOWN}, {0, 4096}},
        {{SDL_SCANCODE_UP, SDL_SCANCODE_A}, {-4096, -4096}},
        {{SDL_SCANCODE_W, SDL_SCANCODE_RIGHT}, {4096, -4096}},
        {{SDL_SCANCODE_S, SDL_SCANCODE_LEFT}, {-4096, 4096}},
        {{SDL_SCANCODE_S, SDL_SCANCODE_D}, {4096, 4096}},
        {{SDL_SCANCODE_W, SDL_SCANCODE_S}, {0, 0}},
        {{SDL_SCANCODE_A, SDL_SCANCODE_D}, {0, 0}},
        {{SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT}, {0, 0}},
        {{SDL_SCANCODE_W, SDL_SCANCODE_A, SDL_SCANCODE_D}, {0, -4096}},
        {{SDL_SCANCODE_S, SDL_SCANCODE_A, SDL_SCANCODE_D}, {0, 4096}},
        {{SDL_SCANCODE_A, SDL_SCANCODE_W, SDL_SCANCODE_S}, {-8192, 0}},
        {{SDL_SCANCODE_D, SDL_SCANCODE_UP, SDL_SCANCODE_DOWN}, {8192, 0}},
        {{SDL_SCANCODE_A, SDL_SCANCODE_D, SDL_SCANCODE_W, SDL_SCANCODE_S}, {0, 0}},
        // A key and its arrow twin are one direction, not two.
        {{SDL_SCANCODE_A, SDL_SCANCODE_LEFT}, {-8192, 0}},
        {{SDL_SCANCODE_Q, SDL_SCANCODE_E}, {0, 0}},
    };
    for (const auto& c : cases) {
        FakeInput input;
        input.keys = c.keys;
        const Fixed step = keyboard_step(input);
        EXPECT_EQ(step, c.step) << "with " << c.keys.size() << " keys, first " << (c.keys.empty() ? 0 : *c.keys.begin())
                                << ": got (" << step.i << ", " << step.j << ")";
    }
}

TEST(FingerPixelTest, NormalisedCoordinatesTruncateToLogicalPixels) {
    ScreenTransform t{{0, 0}, 720, 360};
    EXPECT_EQ(finger_pixel(0.0f, 0.0f, t), (ScreenPoint{0, 0}));
    EXPECT_EQ(finger_pixel(0.5f, 0.5f, t), (ScreenPoint{360, 180}));
    EXPECT_EQ(finger_pixel(0.9999f, 0.9999f, t), (ScreenPoint{719, 359}));
    EXPECT_EQ(finger_pixel(test::at_pixel(98, 720), test::at_pixel(284, 360), t), (ScreenPoint{98, 284}));
}

// ---- the intro ----

TEST(IntroEventsTest, TheFirstDecisiveEventWins) {
    struct Case {
        const char* name;
        std::vector<SDL_Event> events;
        IntroOutcome outcome;
        std::size_t left_queued;
        bool touch_mode;
    };
    const std::vector<Case> cases{
        {"empty queue", {}, IntroOutcome::Stay, 0, false},
        {"other keys are ignored", {test::key_event(SDL_SCANCODE_Q), test::key_event(SDL_SCANCODE_F), test::key_event(SDL_SCANCODE_T)}, IntroOutcome::Stay, 0, false},
        {"Enter starts", {test::key_event(SDL_SCANCODE_C), test::key_event(SDL_SCANCODE_RETURN), test::quit_event()}, IntroOutcome::Start, 1, false},
        {"Space starts", {test::key_event(SDL_SCANCODE_SPACE)}, IntroOutcome::Start, 0, false},
        {"a walking key starts", {test::key_event(SDL_SCANCODE_LEFT)}, IntroOutcome::Start, 0, false},
        {"left click", {test::mouse_down(10, 10)}, IntroOutcome::Start, 0, false},
        {"right click starts too", {test::key_event(SDL_SCANCODE_Q), test::mouse_down(10, 10, SDL_BUTTON_RIGHT)}, IntroOutcome::Start, 0, false},
        {"touch", {test::finger_down(3, 0.5f, 0.5f)}, IntroOutcome::Start, 0, true},
        {"a controller's button", {[] { SDL_Event e{}; return e.type = SDL_CONTROLLERBUTTONDOWN, e; }()}, IntroOutcome::Start, 0, false},
        {"quit stops at once", {test::quit_event(), test::mouse_down(1, 1), test::finger_down(1, 0.1f, 0.1f)}, IntroOutcome::Quit, 2, false},
        {"click before quit", {test::mouse_down(1, 1), test::quit_event()}, IntroOutcome::Start, 1, false},
        {"a release is no click", {test::mouse_up(1, 1)}, IntroOutcome::Stay, 0, false},
        {"dropped text is freed and ignored", {test::drop_file("/tmp/seeds.txt")}, IntroOutcome::Stay, 0, false},
    };
    for (const auto& c : cases) {
        FakeInput input;
        Controls controls(input);
        FakeEvents events;
        for (const auto& e : c.events) events.push(e);
        EXPECT_EQ(controls.intro_events(events), c.outcome) << c.name;
        EXPECT_EQ(events.pending(), c.left_queued) << c.name;
        EXPECT_EQ(controls.touch_mode, c.touch_mode) << c.name;
    }
}

// The README's controls table names every key and gamepad way of the action table.
TEST(ActionTableTest, TheReadmeListsEveryKeyAndGamepadWayOfTheTable) {
    std::ifstream in(QM_SOURCE_DIR "/README.md");
    const std::string readme{std::istreambuf_iterator<char>(in), {}};
    const std::string controls = readme.substr(readme.find("## Controls"), readme.find("## How to play") - readme.find("## Controls"));
    for (const ActionKeys& row : action_table()) {
        for (const Key& key : row.key_list()) EXPECT_NE(controls.find("`" + std::string(key.name) + "`"), std::string::npos) << key.name;
        EXPECT_NE(controls.find(row.pad_words), std::string::npos) << row.pad_words;
        EXPECT_EQ(&action_keys(row.action), &row) << row.does;  // rows stand in the enum's order
    }
}

// ---- day frames, on a headless draw context ----

// The gardener on open tall grass at cell (10, 4), a 720 × 360 screen at scale 1.
class ControlsTest : public test::HeadlessDraw {
protected:
    ControlsTest() { window_w = 720; }

    void SetUp() override {
        HeadlessDraw::SetUp();
        ASSERT_TRUE(ctx().adjust_scale().has_value());
        lily.position = HOME;
        lily.anchor = HOME;
        ctx().transform.center = HOME;
    }

    bool frame(std::uint16_t now = 14000) { return frame_events(controls, events, lily, world, now, ctx()).quit; }

    // Window pixel of a world point (scale 1).
    ScreenPoint pixel_of(Fixed p) { return ctx().transform.to_screen(p); }

    void give_tool(std::unique_ptr<Tool> tool) {
        lily.tool = std::move(tool);
        controls.tool_button = Button(std::nullopt, Controls::TOOL_CELL, lily.tool->which() + 2);
    }

    // The shed's menu, open as if she had walked in.
    void open_shed_menu() {
        lily.position = centre_of(Shed::BASE);
        lily.anchor = lily.position;
        lily.in_building = true;
        ctx().transform.center = lily.position;
        controls.menu = world.buildings.front()->menu();
        controls.highlight = 0;
        controls.pad.enabled = false;
        controls.run_button.visible = false;
    }

    static constexpr Fixed HOME{10 * ONE_UNIT, 4 * ONE_UNIT};
    static constexpr Cell EAST_OF_HOME = cell(12, 4);

    FakeInput input;
    Controls controls{input};
    FakeEvents events;
    World world;
    Lily lily;
};

TEST_F(ControlsTest, EachFrameSheStepsAsTheKeysAndRunningSayAndTheCameraFollows) {
    struct Case {
        const char* name;
        std::set<SDL_Scancode> keys;
        bool shift;
        bool run_button_held;
        Fixed step;
    };
    const std::vector<Case> cases{
        {"standing", {}, false, false, {0, 0}},
        {"standing, shift", {}, true, false, {0, 0}},
        {"right", {SDL_SCANCODE_D}, false, false, {8192, 0}},
        {"up-left", {SDL_SCANCODE_UP, SDL_SCANCODE_LEFT}, false, false, {-4096, -4096}},
        {"shift", {SDL_SCANCODE_RIGHT}, true, false, {32768, 0}},
        {"run button", {SDL_SCANCODE_RIGHT}, false, true, {32768, 0}},
        {"both", {SDL_SCANCODE_S, SDL_SCANCODE_A}, true, true, {-16384, 16384}},
    };
    for (const auto& c : cases) {
        lily.position = HOME;
        lily.anchor = Fixed{HOME.i - ONE_UNIT, HOME.j};
        ctx().transform.center = Fixed{0, 0};
        input.keys = c.keys;
        input.shift = c.shift;
        controls.run_button.held = c.run_button_held ? std::optional<std::int64_t>(7) : std::nullopt;
        EXPECT_FALSE(frame());
        EXPECT_EQ(lily.position, HOME + c.step) << c.name;
        EXPECT_EQ(ctx().transform.center, lily.position) << c.name;
        // Standing restarts the walk cycle where she is.
        if (c.step == Fixed{}) {
            EXPECT_EQ(lily.anchor, HOME) << c.name;
        }
    }
}

TEST_F(ControlsTest, TheRunAndToolButtonsShowByTheToolButtonsState) {
    struct Case {
        const char* name;
        bool tool_present;
        bool tool_held;
        bool shift;
        bool run_visible;
        bool tool_visible;
        bool tool_still_held;
    };
    const std::vector<Case> cases{
        {"no tool", false, false, false, true, false, false},
        {"no tool, running", false, false, true, true, false, false},
        {"tool up", true, false, false, true, true, false},
        {"tool up, running", true, false, true, true, false, false},
        {"tool held", true, true, false, false, true, true},
        {"tool held, running", true, true, true, false, false, false},
    };
    for (const auto& c : cases) {
        controls.run_button = Button(std::nullopt, Controls::RUN_CELL, Controls::RUN_SPRITE);
        controls.run_button.visible = false;
        controls.tool_button.reset();
        if (c.tool_present) {
            controls.tool_button = Button(std::nullopt, Controls::TOOL_CELL, 4);
            if (c.tool_held) controls.tool_button->held = 5;
        }
        input.shift = c.shift;
        EXPECT_FALSE(frame());
        EXPECT_EQ(controls.run_button.visible, c.run_visible) << c.name;
        ASSERT_EQ(controls.tool_button.has_value(), c.tool_present) << c.name;
        if (c.tool_present) {
            EXPECT_EQ(controls.tool_button->visible, c.tool_visible) << c.name;
            EXPECT_EQ(controls.tool_button->held.has_value(), c.tool_still_held) << c.name;
        }
        if (c.tool_held) {
            EXPECT_FALSE(controls.run_button.held.has_value()) << c.name;
        }
    }
}

TEST_F(ControlsTest, AClickShorterThanAFrameStillGivesOneFrameOfUse) {
    give_tool(std::make_unique<Hoe>());
    const ScreenPoint east = pixel_of(centre_of(EAST_OF_HOME));
    input.mouse = east;
    events.push(test::mouse_down(east.x, east.y)).push(test::mouse_up(east.x, east.y));
    EXPECT_FALSE(frame());
    EXPECT_EQ(lily.selection, std::optional<Cell>(cell(2, 0)));
    EXPECT_GT(lily.facing.i, 0);  // standing, she turned toward the pointer
    EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(EAST_OF_HOME)));
    EXPECT_FALSE(controls.mouse_use);
    EXPECT_FALSE(controls.mouse_released);

    // The next frame has no use: a tile pointed at now stays as it is.
    const Cell west = cell(8, 4);
    input.mouse = pixel_of(centre_of(west));
    EXPECT_FALSE(frame());
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(west)));
}

TEST_F(ControlsTest, HoldingShiftStopsToolUseAndHidesTheToolButton) {
    give_tool(std::make_unique<Hoe>());
    const ScreenPoint east = pixel_of(centre_of(EAST_OF_HOME));
    input.mouse = east;
    input.shift = true;
    events.push(test::mouse_down(east.x, east.y));
    EXPECT_FALSE(frame());
    EXPECT_TRUE(controls.mouse_use);
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(EAST_OF_HOME)));
    EXPECT_FALSE(controls.tool_button->visible);

    input.shift = false;  // still holding the button: the tool acts now
    EXPECT_FALSE(frame());
    EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(EAST_OF_HOME)));
    EXPECT_TRUE(controls.tool_button->visible);
}

// Space on the tile ahead of her does what a left click on that tile does, for every tool.
TEST_F(ControlsTest, TheUseKeyOnTheTileAheadDoesWhatALeftClickThereDoes) {
    using MakeTool = std::unique_ptr<Tool> (*)();
    const std::vector<std::pair<MakeTool, Tile>> cases{
        {[]() -> std::unique_ptr<Tool> { return std::make_unique<Hoe>(); }, TallGrass{}},
        {[]() -> std::unique_ptr<Tool> { return std::make_unique<WateringCan>(); }, Soil{Flower{NEVER, {1, 2, 0}, FlowerStage::Bud}, false}},
        {[]() -> std::unique_ptr<Tool> { return std::make_unique<Shovel>(); }, Soil{Flower{NEVER, {2, 0, 1}, FlowerStage::Flower}, true}},
        {[]() -> std::unique_ptr<Tool> { return std::make_unique<Smoker>(); }, Hive{BeeHive{EAST_OF_HOME, HONEY_MAX, 3}}},
    };
    for (const auto& [tool, before] : cases) {
        std::vector<std::tuple<Tile, std::size_t, std::uint16_t, bool>> outcomes;
        for (const bool by_key : {false, true}) {
            world.set_tile(EAST_OF_HOME, before);
            lily = Lily{};
            lily.position = lily.anchor = HOME;
            lily.selection = cell(2, 0);  // ahead, as a step east left it
            controls.menu.reset();
            set_rng_state(0xD16);  // watering draws the bud's next stage
            give_tool(tool());
            const ScreenPoint east = pixel_of(centre_of(EAST_OF_HOME));
            input.mouse = by_key ? std::nullopt : std::optional(east);
            events.push(by_key ? test::key_event(SDL_SCANCODE_SPACE) : test::mouse_down(east.x, east.y));
            if (!by_key) events.push(test::mouse_up(east.x, east.y));
            ASSERT_FALSE(frame());
            outcomes.emplace_back(world.get_tile(EAST_OF_HOME), lily.carried_flowers.size(), lily.arm_until,
                                  controls.menu.has_value());
        }
        EXPECT_EQ(outcomes[0], outcomes[1]);
        EXPECT_EQ(std::get<std::uint16_t>(outcomes[1]), 14008) << "the tool did not act";
    }
}

TEST_F(ControlsTest, HoldingTheUseKeySweepsShiftBlocksItAndInAMenuItChooses) {
    give_tool(std::make_unique<Hoe>());
    input.keys = {SDL_SCANCODE_E, SDL_SCANCODE_D};  // E held as she walks east: tile after tile
    for (int k = 0; k < 40; ++k) ASSERT_FALSE(frame());
    for (const int i : {12, 14, 16}) EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(cell(i, 4)))) << i;
    const auto grass_ahead = [&] {
        return std::holds_alternative<TallGrass>(world.get_tile(containing_tile(lily.position) + *lily.selection));
    };
    input.keys = {SDL_SCANCODE_SPACE, SDL_SCANCODE_A};
    input.shift = true;  // a tap and a hold under Shift both wait
    events.push(test::key_event(SDL_SCANCODE_SPACE));
    for (int k = 0; k < 6; ++k) ASSERT_FALSE(frame());
    EXPECT_TRUE(grass_ahead());
    input.keys = {SDL_SCANCODE_SPACE};
    input.shift = false;
    ASSERT_FALSE(frame());
    EXPECT_FALSE(grass_ahead());

    // In a menu Space chooses; held on after the choice, it uses nothing until it is let go.
    open_shed_menu();
    events.push(test::key_event(SDL_SCANCODE_SPACE));
    ASSERT_FALSE(frame());
    ASSERT_FALSE(controls.menu.has_value());
    EXPECT_EQ(lily.tool->which(), std::to_underlying(ToolKind::WateringCan));
    lily.selection = cell(2, 0);
    const Tile dry_bud = Soil{Flower{NEVER, {1, 1, 1}, FlowerStage::Bud}, false};
    world.set_tile(containing_tile(lily.position) + cell(2, 0), dry_bud);
    ASSERT_FALSE(frame());
    EXPECT_EQ(world.get_tile(containing_tile(lily.position) + cell(2, 0)), dry_bud);
}

TEST_F(ControlsTest, PointingNeedsMouseFocusAndTakesWindowPixelsOverTheScale) {
    give_tool(std::make_unique<Hoe>());
    input.mouse.reset();
    events.push(test::mouse_down(400, 180));
    EXPECT_FALSE(frame());
    EXPECT_FALSE(lily.selection.has_value());
    EXPECT_EQ(lily.facing, (Fixed{0, 0}));
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(EAST_OF_HOME)));

    ctx().scale = 2;
    const ScreenPoint east = pixel_of(centre_of(EAST_OF_HOME));
    input.mouse = ScreenPoint{2 * east.x + 1, 2 * east.y + 1};
    EXPECT_FALSE(frame());
    EXPECT_EQ(lily.selection, std::optional<Cell>(cell(2, 0)));
}

// A pointer resting in the window never steers: she aims ahead as she walks and keeps that aim
// when she stops. Moved over a neighbour it aims at exactly that tile and she turns to it; a
// walking key hands the aim back; a window that changes size under it moves nothing.
TEST_F(ControlsTest, ARestingPointerNeverSteersAndAMovedOneAimsAtTheTileUnderIt) {
    const auto walk_east_and_rest = [&] {
        input.keys = {SDL_SCANCODE_RIGHT};
        for (int k = 0; k < 3; ++k) frame();
        input.keys.clear();
        for (int k = 0; k < 20; ++k) frame();
        EXPECT_EQ(lily.selection, std::optional<Cell>(cell(2, 0)));
        EXPECT_EQ(facing_sector(lily.facing), 0u);
    };
    input.mouse = ScreenPoint{100, 300};  // down and to the left of her
    walk_east_and_rest();
    for (const Cell d : NEIGHBOURS) {
        input.mouse = pixel_of(centre_of(containing_tile(lily.position) + d));
        frame();
        EXPECT_EQ(lily.selection, std::optional<Cell>(d)) << as_i16(d.i) << "," << as_i16(d.j);
        EXPECT_EQ(lily.facing.i < 0, as_i16(d.i) < 0) << "she turns to it: " << as_i16(d.i) << "," << as_i16(d.j);
    }
    walk_east_and_rest();
    ctx().scale = 2;  // full screen: the scale and the pointer's window pixel change together
    input.mouse = ScreenPoint{40, 500};
    for (int k = 0; k < 20; ++k) frame();
    EXPECT_EQ(lily.selection, std::optional<Cell>(cell(2, 0)));
}

TEST_F(ControlsTest, TheFullScreenButtonTakesLeftClicksOnly) {
    struct Case {
        const char* name;
        std::uint32_t scale;
        std::int32_t x, y;
        std::uint8_t button;
        bool toggles;
        bool mouse_use;
    };
    const std::vector<Case> cases{
        {"left click on it", 1, 10, 40, SDL_BUTTON_LEFT, true, false},
        {"its corners", 1, 31, 63, SDL_BUTTON_LEFT, true, false},
        {"its top edge", 1, 0, 32, SDL_BUTTON_LEFT, true, false},
        {"below the collection's button", 1, 10, 96, SDL_BUTTON_LEFT, false, true},
        {"just right", 1, 32, 40, SDL_BUTTON_LEFT, false, true},
        {"above it", 1, 10, 31, SDL_BUTTON_LEFT, false, true},
        {"scaled window pixels", 2, 63, 127, SDL_BUTTON_LEFT, true, false},
        {"scaled, outside", 2, 64, 100, SDL_BUTTON_LEFT, false, true},
        {"right click", 1, 10, 40, SDL_BUTTON_RIGHT, false, false},
        {"middle click", 1, 10, 40, SDL_BUTTON_MIDDLE, false, false},
        {"right click on the field", 1, 400, 200, SDL_BUTTON_RIGHT, false, false},
    };
    for (const auto& c : cases) {
        input.fullscreen_calls.clear();
        input.is_fullscreen = false;
        controls.mouse_use = false;
        ctx().scale = c.scale;
        events.push(test::mouse_down(c.x, c.y, c.button));
        EXPECT_FALSE(frame());
        EXPECT_EQ(input.fullscreen_calls, c.toggles ? std::vector<bool>{true} : std::vector<bool>{}) << c.name;
        EXPECT_EQ(controls.mouse_use, c.mouse_use) << c.name;
        events.push(test::mouse_up(c.x, c.y));
        EXPECT_FALSE(frame());
    }
}

TEST_F(ControlsTest, TheCollectionOpensAndClosesByItsKeyItsButtonAndATouch) {
    struct Case {
        const char* name;
        SDL_Event event;
        bool toggles;
    };
    const std::vector<Case> cases{
        {"C", test::key_event(SDL_SCANCODE_C), true},
        {"C held down", test::key_event(SDL_SCANCODE_C, true), false},
        {"a click on its button", test::mouse_down(10, 64), true},
        {"its far corner", test::mouse_down(31, 95), true},
        {"a right click on it", test::mouse_down(10, 80, SDL_BUTTON_RIGHT), false},
        {"a touch on it", test::finger_down(4, 20.0f / 720.0f, 80.0f / 360.0f), true},
    };
    for (const auto& c : cases) {
        for (const bool was_open : {false, true}) {
            controls.collection_open = was_open;
            controls.mouse_use = false;
            events.push(c.event);
            EXPECT_FALSE(frame());
            EXPECT_EQ(controls.collection_open, was_open != c.toggles) << c.name;
            EXPECT_FALSE(controls.mouse_use) << c.name << ": the field is not worked through the button";
            EXPECT_TRUE(input.fullscreen_calls.empty()) << c.name;
            events.push(test::mouse_up(10, 64));
            EXPECT_FALSE(frame());
        }
    }
}

TEST_F(ControlsTest, FullScreenTogglesEveryPressAndRepeatOfFOrF11) {
    ctx().scale = 3;  // stale: each switch refreshes it from the renderer, which is at 1
    events.push(test::key_event(SDL_SCANCODE_F));
    EXPECT_FALSE(frame());
    events.push(test::key_event(SDL_SCANCODE_F, true));
    EXPECT_FALSE(frame());
    events.push(test::key_event(SDL_SCANCODE_F11));
    EXPECT_FALSE(frame());
    events.push(test::key_event(SDL_SCANCODE_G));
    EXPECT_FALSE(frame());
    EXPECT_EQ(input.fullscreen_calls, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(input.is_fullscreen);
    EXPECT_FALSE(controls.fullscreen_requested);
    EXPECT_EQ(ctx().scale, 1u);
}

TEST_F(ControlsTest, AQuitInTheMiddleOfTheQueueEndsTheFrameAtOnce) {
    give_tool(std::make_unique<Hoe>());
    input.keys = {SDL_SCANCODE_D};
    input.mouse = pixel_of(centre_of(EAST_OF_HOME));
    events.push(test::key_event(SDL_SCANCODE_F))
        .push(test::mouse_down(400, 180))
        .push(test::quit_event())
        .push(test::finger_down(1, 0.5f, 0.5f))
        .push(test::key_event(SDL_SCANCODE_F11));
    EXPECT_TRUE(frame());
    EXPECT_EQ(events.pending(), 2u);
    EXPECT_FALSE(controls.touch_mode);
    EXPECT_EQ(lily.position, HOME);
    EXPECT_TRUE(input.fullscreen_calls.empty());
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(EAST_OF_HOME)));
}

TEST_F(ControlsTest, OtherEventsAreIgnored) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    SDL_Event window{};
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_RESIZED;
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_Event key_up{};
    key_up.type = SDL_KEYUP;
    key_up.key.keysym.scancode = SDL_SCANCODE_F;
    events.push(motion).push(wheel).push(window).push(text).push(key_up).push(test::drop_file("seeds.png"));
    EXPECT_FALSE(frame());
    EXPECT_EQ(events.pending(), 0u);
    EXPECT_FALSE(controls.touch_mode);
    EXPECT_FALSE(controls.mouse_use);
    EXPECT_TRUE(input.fullscreen_calls.empty());
    EXPECT_EQ(lily.position, HOME);
}

// ---- fingers ----

TEST_F(ControlsTest, ATouchOnTheFullScreenButtonStillTurnsOnTouchMode) {
    events.push(test::finger_down(4, test::at_pixel(8, 720), test::at_pixel(40, 360)));
    EXPECT_FALSE(frame());
    EXPECT_TRUE(controls.touch_mode);
    EXPECT_EQ(input.fullscreen_calls, std::vector<bool>{true});
    EXPECT_FALSE(controls.pad.finger.has_value());
}

TEST_F(ControlsTest, TheFirstFingerHoldsThePadAndASecondGoesOnToTheButtons) {
    const float pad_x = test::at_pixel(98, 720);
    const float pad_y = test::at_pixel(360 - 76, 360);
    events.push(test::finger_down(1, pad_x, pad_y));
    EXPECT_FALSE(frame());
    EXPECT_EQ(controls.pad.finger, std::optional<std::int64_t>(1));
    EXPECT_EQ(lily.position, HOME);  // the pad's very centre moves nothing

    // A second finger on the pad is not the pad's; one on the run button holds that.
    events.push(test::finger_down(2, test::at_pixel(110, 720), pad_y))
        .push(test::finger_down(3, test::at_pixel(720 - 96, 720), test::at_pixel(360 - 43, 360)));
    EXPECT_FALSE(frame());
    EXPECT_EQ(controls.pad.finger, std::optional<std::int64_t>(1));
    EXPECT_EQ(controls.pad.vector, (Fixed{0, 0}));
    EXPECT_EQ(controls.run_button.held, std::optional<std::int64_t>(3));

    // Only the pad's own finger drags it: far to the right it drives her a full step, times
    // four while the run button is held.
    events.push(test::finger_motion(2, 0.0f, 0.0f)).push(test::finger_motion(1, test::at_pixel(400, 720), pad_y));
    EXPECT_FALSE(frame());
    EXPECT_EQ(controls.pad.vector, (Fixed{0x40000, 0}));
    EXPECT_EQ(lily.position, (Fixed{HOME.i + 4 * 8192, HOME.j}));

    // Lifting the other fingers leaves the pad held; lifting its own frees it.
    events.push(test::finger_up(2, 0.0f, 0.0f)).push(test::finger_up(3, 0.0f, 0.0f));
    EXPECT_FALSE(frame());
    EXPECT_EQ(controls.pad.finger, std::optional<std::int64_t>(1));
    EXPECT_FALSE(controls.run_button.held.has_value());
    events.push(test::finger_up(1, 0.0f, 0.0f));
    EXPECT_FALSE(frame());
    EXPECT_FALSE(controls.pad.finger.has_value());
    const Fixed stopped = lily.position;
    EXPECT_FALSE(frame());
    EXPECT_EQ(lily.position, stopped);
}

TEST_F(ControlsTest, TheToolButtonUsesTheToolWhileHeld) {
    give_tool(std::make_unique<Hoe>());
    lily.selection = cell(2, 0);  // a touch player aims by facing
    events.push(test::finger_down(9, test::at_pixel(720 - 96 + 32, 720), test::at_pixel(360 - 43 - 44, 360)));
    EXPECT_FALSE(frame());
    EXPECT_EQ(controls.tool_button->held, std::optional<std::int64_t>(9));
    EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(EAST_OF_HOME)));
    EXPECT_FALSE(controls.run_button.visible);  // a held tool button hides the run button

    events.push(test::finger_up(9, 0.0f, 0.0f));
    EXPECT_FALSE(frame());
    EXPECT_FALSE(controls.tool_button->held.has_value());
    EXPECT_TRUE(controls.run_button.visible);
}

TEST_F(ControlsTest, AFingerGoingUpReleasesOnlyWhatItHoldsAndIsShown) {
    struct Case {
        const char* name;
        bool run_visible;
        bool tool_visible;
        std::int64_t lifted;
        bool run_still_held;
        bool tool_still_held;
    };
    // Run button held by finger 3, tool button by finger 9.
    const std::vector<Case> cases{
        {"run's finger", true, true, 3, false, true},
        {"tool's finger", true, true, 9, true, false},
        {"a stranger", true, true, 5, true, true},
        {"hidden run button", false, true, 3, true, true},
        {"hidden tool button", true, false, 9, true, true},
    };
    for (const auto& c : cases) {
        // An open menu keeps the frame's own button handling out of the way.
        controls.menu = world.buildings.front()->menu();
        controls.run_button.held = 3;
        controls.run_button.visible = c.run_visible;
        controls.tool_button = Button(std::nullopt, Controls::TOOL_CELL, 2);
        controls.tool_button->held = 9;
        controls.tool_button->visible = c.tool_visible;
        events.push(test::finger_up(c.lifted, 0.5f, 0.5f));
        EXPECT_FALSE(frame());
        EXPECT_EQ(controls.run_button.held.has_value(), c.run_still_held) << c.name;
        EXPECT_EQ(controls.tool_button->held.has_value(), c.tool_still_held) << c.name;
    }
}

// ---- menus ----

TEST_F(ControlsTest, WalkingUpIntoTheShedOpensItsMenuAndPutsThePadAndButtonsAway) {
    for (const bool holding_a_tool : {true, false}) {
        controls = Controls(input);
        lily = Lily{};
        // Without a tool in hand, a tool button left over from yesterday goes away.
        controls.tool_button = Button(std::nullopt, Controls::TOOL_CELL, 3);
        if (holding_a_tool) lily.tool = std::make_unique<Shovel>();
        controls.pad.finger = 1;
        lily.position = Shed::EXIT_POINT;
        input.keys = {SDL_SCANCODE_W};
        for (int k = 0; k < 40 && !controls.menu; ++k) EXPECT_FALSE(frame());
        ASSERT_TRUE(controls.menu.has_value());
        EXPECT_EQ(controls.menu->items.size(), 5u);
        EXPECT_TRUE(lily.in_building);
        EXPECT_EQ(lily.position, centre_of(Shed::BASE));
        EXPECT_EQ(ctx().transform.center, lily.position);
        EXPECT_FALSE(controls.pad.enabled);
        EXPECT_FALSE(controls.pad.finger.has_value());
        EXPECT_FALSE(controls.run_button.visible);
        ASSERT_EQ(controls.tool_button.has_value(), holding_a_tool);
        if (holding_a_tool) {
            EXPECT_FALSE(controls.tool_button->visible);
        }
    }
}

TEST_F(ControlsTest, WithAMenuOpenTheGardenerNeitherMovesNorUsesHerTool) {
    give_tool(std::make_unique<Hoe>());
    lily.position = HOME;
    controls.menu = world.buildings.front()->menu();
    const Cell east = EAST_OF_HOME;
    lily.selection = cell(2, 0);
    input.keys = {SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN};
    input.mouse = pixel_of(centre_of(east));
    events.push(test::mouse_down(input.mouse->x, input.mouse->y));  // on the field, not a button
    EXPECT_FALSE(frame());
    EXPECT_TRUE(controls.mouse_use);
    EXPECT_EQ(lily.position, HOME);
    EXPECT_EQ(lily.facing, (Fixed{0, 0}));
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(east)));

    // Once the menu is gone, the held click acts.
    controls.menu.reset();
    input.keys.clear();
    EXPECT_FALSE(frame());
    EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(east)));
}

TEST_F(ControlsTest, ChoosingAShedButtonHandsOutTheToolAndRestoresTheControls) {
    struct Case {
        ButtonCell slot;
        std::optional<std::uint32_t> tool;
    };
    // W, NW, NE, E hold the can, shovel, hoe and smoker; SW is empty hands.
    const std::vector<Case> cases{
        {MENU_SLOTS[0], 0}, {MENU_SLOTS[1], 1}, {MENU_SLOTS[2], 2}, {MENU_SLOTS[3], 3}, {MENU_SLOTS[5], std::nullopt},
    };
    for (const auto& c : cases) {
        give_tool(std::make_unique<Smoker>());
        open_shed_menu();
        const ScreenPoint p = pixel_of(centre_of(cell(2, -16)));
        const std::int32_t x = p.x + 32 * c.slot.du;
        const std::int32_t y = p.y + 44 * c.slot.dv;
        events.push(test::mouse_down(x, y)).push(test::mouse_up(x, y));
        EXPECT_FALSE(frame());
        EXPECT_FALSE(controls.menu.has_value()) << c.slot.du << "," << c.slot.dv;
        EXPECT_FALSE(controls.mouse_use);  // the click went to the menu
        EXPECT_TRUE(controls.pad.enabled);
        EXPECT_TRUE(controls.run_button.visible);
        EXPECT_FALSE(lily.in_building);
        EXPECT_EQ(lily.position, Shed::EXIT_POINT);
        if (c.tool) {
            ASSERT_TRUE(lily.tool != nullptr);
            EXPECT_EQ(lily.tool->which(), *c.tool);
            ASSERT_TRUE(controls.tool_button.has_value());
            EXPECT_EQ(controls.tool_button->sprite, *c.tool + 2);
            EXPECT_EQ(controls.tool_button->cell, Controls::TOOL_CELL);
            EXPECT_TRUE(controls.tool_button->visible);
            EXPECT_FALSE(controls.tool_button->held.has_value());
        } else {
            EXPECT_TRUE(lily.tool == nullptr);
            EXPECT_FALSE(controls.tool_button.has_value());
        }
    }
}

TEST_F(ControlsTest, AFingerOnAMenuButtonChoosesItToo) {
    open_shed_menu();
    controls.touch_mode = true;
    const ScreenPoint p = pixel_of(centre_of(cell(2, -16)));
    // NE: the hoe.
    events.push(test::finger_down(6, test::at_pixel(p.x + 32, 720), test::at_pixel(p.y - 44, 360)));
    EXPECT_FALSE(frame());
    ASSERT_TRUE(lily.tool != nullptr);
    EXPECT_EQ(lily.tool->which(), 2u);
}

TEST_F(ControlsTest, AChosenMenuActionRunsOnceAndAReplacementMenuKeepsTheControlsAway) {
    int calls = 0;
    std::vector<std::size_t> indices;
    const std::array<std::optional<std::uint32_t>, 6> slots{std::nullopt, 7, 8, std::nullopt, std::nullopt, 9};
    MenuAction replace = [&](std::size_t index, World&, Lily&) -> MenuResult {
        ++calls;
        indices.push_back(index);
        return ButtonMenu(10, 4, slots, [&](std::size_t, World&, Lily&) -> MenuResult {
            ++calls;
            return std::nullopt;
        });
    };
    controls.menu.emplace(10, 4, slots, replace);
    controls.pad.enabled = false;
    controls.run_button.visible = false;
    // Two buttons held: the first in menu order is the choice.
    controls.menu->items[1].held = 0;
    controls.menu->items[2].held = 4;
    EXPECT_FALSE(frame());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(indices, std::vector<std::size_t>{1});
    ASSERT_TRUE(controls.menu.has_value());
    EXPECT_FALSE(controls.menu->chosen().has_value());
    EXPECT_FALSE(controls.pad.enabled);
    EXPECT_FALSE(controls.run_button.visible);

    EXPECT_FALSE(frame());
    EXPECT_EQ(calls, 1);  // nothing chosen from the new menu yet

    controls.menu->items[0].held = 0;
    EXPECT_FALSE(frame());
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(controls.menu.has_value());
    EXPECT_TRUE(controls.pad.enabled);
}

TEST_F(ControlsTest, AfterTheMorningResetTheToolButtonStaysButUsesNothing) {
    give_tool(std::make_unique<Hoe>());
    lily.morning_reset();
    lily.position = HOME;
    input.mouse = pixel_of(centre_of(EAST_OF_HOME));
    events.push(test::finger_down(9, test::at_pixel(720 - 96 + 32, 720), test::at_pixel(360 - 43 - 44, 360)));
    EXPECT_FALSE(frame());
    ASSERT_TRUE(controls.tool_button.has_value());
    EXPECT_EQ(controls.tool_button->sprite, 4u);
    EXPECT_EQ(controls.tool_button->held, std::optional<std::int64_t>(9));
    EXPECT_TRUE(std::holds_alternative<TallGrass>(world.get_tile(EAST_OF_HOME)));
}

// ---- drawing ----

TEST_F(ControlsTest, TheFullScreenButtonShowsTheWindowStateAndDrawingErrorsComeBack) {
    for (const bool full : {false, true}) {
        clear();
        input.is_fullscreen = full;
        controls.collection_open = full;
        ASSERT_TRUE(draw_controls(ctx(), controls).has_value());
        const auto id = test::identify(pixel(8, 40));
        ASSERT_TRUE(id.has_value()) << test::describe(pixel(8, 40));
        EXPECT_EQ(*id, (test::CellId{"top_buttons", 0, full ? 1 : 0}));
        EXPECT_EQ(pixel(8, 20), BACKGROUND);
        // Below it the collection's button, lit while the panel is open; then the field.
        EXPECT_EQ(test::identify(pixel(8, 70)), test::cell_id("top_buttons", 1, full ? 1 : 0));
        EXPECT_EQ(pixel(8, 100), BACKGROUND);
    }
    ctx().top_buttons.reset();
    const auto failed = draw_controls(ctx(), controls);
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().kind, DrawError::Kind::String);
}

TEST_F(ControlsTest, ThePadAndButtonsAreDrawnOnlyInTouchMode) {
    const auto at = [&](int x, int y) { return test::identify(pixel(x, y)); };
    ASSERT_TRUE(draw_controls(ctx(), controls).has_value());
    EXPECT_FALSE(at(98, 284).has_value());
    EXPECT_FALSE(at(624, 317).has_value());

    controls.touch_mode = true;
    give_tool(std::make_unique<Hoe>());
    controls.tool_button->held = 2;
    clear();
    ASSERT_TRUE(draw_controls(ctx(), controls).has_value());
    EXPECT_EQ(at(98, 284), (test::CellId{"move_pad", 0, 0}));
    EXPECT_EQ(at(624, 317), (test::CellId{"buttons", 0, 1}));  // run button, up
    EXPECT_EQ(at(656, 273), (test::CellId{"buttons", 1, 4}));  // hoe button, held

    controls.run_button.visible = false;
    controls.tool_button->visible = false;
    controls.pad.enabled = false;
    clear();
    ASSERT_TRUE(draw_controls(ctx(), controls).has_value());
    EXPECT_FALSE(at(98, 284).has_value());
    EXPECT_FALSE(at(624, 317).has_value());
    EXPECT_FALSE(at(656, 273).has_value());
}

TEST_F(ControlsTest, AnOpenMenuIsDrawnWithoutTouchMode) {
    open_shed_menu();
    ASSERT_TRUE(draw_controls(ctx(), controls).has_value());
    const ScreenPoint c = pixel_of(centre_of(cell(2, -16)));
    EXPECT_EQ(test::identify(pixel(c.x - 64, c.y)), (test::CellId{"buttons", 0, 2}));  // W: can
    EXPECT_EQ(test::identify(pixel(c.x + 64, c.y)), (test::CellId{"buttons", 0, 5}));  // E: smoker
    EXPECT_EQ(test::identify(pixel(c.x - 32, c.y + 44)), (test::CellId{"buttons", 0, 0}));  // SW: empty hands
    EXPECT_FALSE(test::identify(pixel(c.x + 32, c.y + 44)).has_value());  // SE: no button
}

// ---- game controllers: two of SDL's virtual ones, plugged in after start ----

TEST(StickKnobTest, ADeadZoneThenThePadsScalingUpToItsFullRadius) {
    const std::pair<StickPosition, Fixed> cases[] = {{{5000, -6000}, {0, 0}}, {{12000, 0}, {1324, 0}}, {{32767, 0}, {8192, 0}},
                                                     {{23170, -23170}, {4744, -3448}}, {{0, -32768}, {0, -4096}}};
    for (const auto& [stick, step] : cases) EXPECT_EQ(MovePad::step_for(stick_knob(stick)), step) << stick.x << "," << stick.y;
}

class GamepadTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the hidden window never has focus
        auto acquired = SdlSubsystem::acquire(SDL_INIT_GAMECONTROLLER);
        ASSERT_TRUE(acquired) << acquired.error();
        controllers.emplace(std::move(*acquired));
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX, d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        for (SDL_Joystick*& pad : pads) ASSERT_TRUE(pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&d))) << SDL_GetError();
    }
    void TearDown() override { controllers.reset(), ControlsTest::TearDown(); }
    void play() {  // a frame with SDL's own events (plugging, controller buttons) after the test's
        for (SDL_Event e; SDL_PollEvent(&e);) events.push(e);
        EXPECT_FALSE(frame());
    }
    void hold(SDL_GameControllerButton b, bool down = true, std::size_t pad = 0) { SDL_JoystickSetVirtualButton(pads[pad], b, down); }
    void stick(int x, int y) { SDL_JoystickSetVirtualAxis(pads[1], 0, static_cast<Sint16>(x)), SDL_JoystickSetVirtualAxis(pads[1], 1, static_cast<Sint16>(y)); }
    std::optional<SdlSubsystem> controllers;
    std::array<SDL_Joystick*, 2> pads{};
};

// Every verb by touch, by two gamepads (buttons on one, the stick on the other) and by the keyboard's
// menus with a mouse click, from scripts: digits touch a menu slot; u r d l tap the d-pad or arrows,
// U R D L push the stick or W D S A; "." chooses (A, Enter), "!" takes the close slot (B, Esc); ">"
// steps east (pad, stick, Right; ")" the d-pad); "*" uses the tool once (tool button, A, a click),
// "b" tries while running (B, Shift). A hive's menu opens on its tile.
TEST_F(GamepadTest, TouchAGamepadAndTheKeyboardEachReachEveryVerb) {
    enum class Player { Touch, Pad, Keys };
    const Cell target = cell(5, -13);  // stepping east from the shed's door selects this
    const Tile bloom = Soil{Flower{NEVER, {2, 1, 0}, FlowerStage::Flower}, false};
    const auto hive = [&](std::uint32_t honey, std::uint16_t level) { return Tile{Hive{BeeHive{target, honey, level}}}; };
    const struct { const char *touch, *keys; Tile before, after; } verbs[] = {
        {"2>*", "uR.>*", Lawn{}, Soil{}},                             // till
        {"0>*", ".)*", Soil{}, Soil{std::nullopt, true}},            // water
        {"1>*", "U.>*", bloom, Soil{}},                              // dig...
        {"1>*", "u.>*", Soil{}, bloom},                              // ...and replant
        {"3>*1", "r.>*.", hive(HONEY_MAX, 1), hive(0, 2)},           // harvest
        {"3>*2", "R.>*r.", hive(HONEY_MAX, 4), hive(HONEY_MAX, 2)},  // split...
        {"3>*", "r.>*", Lawn{}, hive(0, 2)},                         // ...and place
        {"2>", "uR.)b", Lawn{}, Lawn{}},                             // no use while running
        {"5", "!", Lawn{}, Lawn{}},                                  // empty hands
    };
    const auto step = [&](Player p, char c) {
        const auto k = std::string_view("urdlURDL.!").find(c);
        if (c == '>' && p == Player::Touch) events.push(test::finger_down(1, test::at_pixel(98, 720), test::at_pixel(284, 360)))
                                                .push(test::finger_motion(1, test::at_pixel(400, 720), test::at_pixel(284, 360)));
        if ((c == '>' || c == ')') && p == Player::Keys) input.keys.insert(SDL_SCANCODE_RIGHT);
        if (c == '>' && p == Player::Pad) stick(32767, 0);
        if (c == ')' && p == Player::Pad) hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true, 1);
        if (c == '*' && p == Player::Touch) events.push(test::finger_down(9, test::at_pixel(656, 720), test::at_pixel(273, 360)));
        if ((c == '*' || c == 'b') && p == Player::Keys) events.push(test::mouse_down(400, 300)).push(test::mouse_up(400, 300)), input.shift = c == 'b';
        if ((c == '*' || c == 'b') && p == Player::Pad) hold(SDL_CONTROLLER_BUTTON_A), hold(SDL_CONTROLLER_BUTTON_B, c == 'b', 1);
        if (c >= '0' && c <= '9') {
            const ScreenPoint o = pixel_of(*controls.menu->items.front().origin);
            const ButtonCell slot = MENU_SLOTS[static_cast<std::size_t>(c - '0')];
            events.push(test::finger_down(3, test::at_pixel(o.x + 32 * slot.du, 720), test::at_pixel(o.y + 44 * slot.dv, 360)));
        } else if (p == Player::Keys && k < 10) {
            events.push(test::key_event(std::array{SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_W,
                                                   SDL_SCANCODE_D, SDL_SCANCODE_S, SDL_SCANCODE_A, SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE}[k]));
        } else if (k < 4) {
            hold(std::array{SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT}[k]);
        } else if (k < 10) {
            k < 8 ? stick(k == 5 ? 32767 : k == 7 ? -32768 : 0, k == 6 ? 32767 : k == 4 ? -32768 : 0)
                  : hold(k == 8 ? SDL_CONTROLLER_BUTTON_A : SDL_CONTROLLER_BUTTON_B);
        }
        play();
        EXPECT_TRUE((c != '>' && c != ')') || lily.target() == target);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) hold(static_cast<SDL_GameControllerButton>(b), false), hold(static_cast<SDL_GameControllerButton>(b), false, 1);
        stick(0, 0), input.keys.clear(), input.shift = false;
        events.push(test::finger_up(9, 0, 0)).push(test::finger_up(1, 0, 0)), play();
    };
    for (const Player p : {Player::Touch, Player::Pad, Player::Keys}) {
        controls = Controls(input);
        lily = Lily{};
        for (const auto& v : verbs) {
            open_shed_menu();
            world.set_tile(target, v.before);
            for (const char c : std::string_view(p == Player::Touch ? v.touch : v.keys)) step(p, c);
            EXPECT_FALSE(controls.menu.has_value());
            EXPECT_EQ(world.get_tile(target), v.after) << static_cast<int>(p) << " " << v.keys;
        }
        EXPECT_EQ(lily.tool, nullptr);
        EXPECT_EQ(controls.highlight_shown, p != Player::Touch);
        if (p == Player::Pad) SDL_JoystickDetachVirtual(0), play();
        EXPECT_EQ(input.pads.count(), p == Player::Touch ? 2u : 1u);  // the one that left is closed
    }
}

using ControlsDeathTest = ControlsTest;

TEST_F(ControlsDeathTest, AFailedFullScreenSwitchStopsTheProgram) {
    input.fullscreen_error = "No fullscreen here";
    events.push(test::key_event(SDL_SCANCODE_F11));
    EXPECT_DEATH(frame(), testing::HasSubstr("called `Result::unwrap()` on an `Err` value: \"No fullscreen here\""));
}

}  // namespace
}  // namespace qm
