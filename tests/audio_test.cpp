// Sound: every synthesized sound in bounds, each happening's sound through the recording Sound in
// the game's own frames, the place's loops and footsteps, the volume, and a device that fails.
#include "audio.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

#include "support/fake_input.hpp"
#include "support/sdl_fixture.hpp"
#include "bees.hpp"
#include "day_clock.hpp"
#include "game.hpp"
#include "lily.hpp"
#include "mixer.hpp"
#include "speaker_mark.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

// ---- synthesis ----

void expect_in_bounds(const Samples& s, double seconds, bool loops, const std::string& name) {
    ASSERT_FALSE(s.empty()) << name;
    double sum = 0, squares = 0;
    int peak = 0;
    for (const auto x : s) {
        sum += x;
        squares += static_cast<double>(x) * x;
        peak = std::max(peak, std::abs(int{x}));
    }
    const double n = static_cast<double>(s.size());
    EXPECT_GT(std::sqrt(squares / n), 300.0) << name << ": silent";
    EXPECT_LT(peak, 32767 * 9 / 10) << name << ": peaks at full scale";
    EXPECT_LT(std::abs(sum / n), 30.0) << name << ": DC offset";
    EXPECT_LE(s.size(), static_cast<std::size_t>(std::lround(seconds * SAMPLE_RATE))) << name << ": too long";
    if (loops) {
        // The end runs into the start without a click: no bigger jump than within the sound.
        int steepest = 0;
        for (std::size_t k = 1; k < s.size(); ++k) steepest = std::max(steepest, std::abs(s[k] - s[k - 1]));
        EXPECT_LE(std::abs(s.front() - s.back()), steepest) << name << ": its loop clicks";
    } else {
        EXPECT_LT(std::abs(int{s.back()}), 100) << name << ": still sounding at its end";
    }
}

TEST(SynthTest, EverySoundIsHeardInBoundsEndsInTimeAndComesOutTheSameEachTime) {
    std::set<std::string> names;
    for (const SoundSpec& spec : sound_table()) {
        EXPECT_TRUE(names.insert(spec.name).second) << spec.name;
        const Samples s = synthesize(spec.id);
        expect_in_bounds(s, spec.seconds, spec.loops, spec.name);
        EXPECT_EQ(s, synthesize(spec.id)) << spec.name;
    }
    std::set<Samples> tunes;
    for (std::size_t g = 0; g < GENOTYPES; ++g) {
        const Samples s = synthesize_tune(g);
        expect_in_bounds(s, TUNE_SECONDS, false, "tune " + std::to_string(g));
        tunes.insert(s);
    }
    EXPECT_EQ(tunes.size(), GENOTYPES);  // each colour its own phrase
}

// ---- each happening's sound, in the game's frames ----

class HearingTest : public test::HeadlessDraw {
protected:
    void SetUp() override {
        HeadlessDraw::SetUp();
        game.emplace(Game{ctx(), world, lily, controls, events, LoopState{}});
        game->sound = &heard;
        start_play(*game);
    }

    // She stands on `here` facing `target` east of her, holding `tool`.
    void stand_by(Cell target, std::unique_ptr<Tool> tool) {
        lily.position = centre_of(target - cell(2, 0));
        lily.anchor = lily.position;
        lily.selection = cell(2, 0);
        lily.tool = std::move(tool);
    }
    void use() {
        lily.last_used.reset();
        EXPECT_FALSE(lily.use_tool(world, 14000, true).has_value());
    }
    void key(SDL_Scancode k) { events.push(test::key_event(k)); }

    test::FakeInput input;
    Controls controls{input};
    test::FakeEvents events;
    World world;
    Lily lily;
    RecordingSound heard;
    std::optional<Game> game;
};

TEST_F(HearingTest, EachHappeningPlaysItsSoundOnce) {
    const Cell at = cell(20, 4);
    const auto can = [](std::uint8_t water) {
        auto c = std::make_unique<WateringCan>();
        c->water = water;
        return c;
    };
    const auto hive_menu = [&](BeeHive hive) {
        world.set_tile(at, Hive{hive});
        controls.menu = upgrade_menu(hive);
        controls.highlight = 0;
        key(SDL_SCANCODE_RETURN);
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<SoundId> sounds;
        std::vector<std::size_t> tunes = {};
    };
    using S = SoundId;
    const std::vector<Case> cases{
        {"hoe on lawn", [&] { world.set_tile(at, Lawn{}); stand_by(at, std::make_unique<Hoe>()); use(); }, {S::Till}},
        {"hoe on soil", [&] { world.set_tile(at, Soil{}); stand_by(at, std::make_unique<Hoe>()); use(); }, {S::Nothing}},
        {"can on dry soil", [&] { world.set_tile(at, Soil{}); stand_by(at, can(3)); use(); }, {S::Water}},
        {"empty can on dry soil", [&] { world.set_tile(at, Soil{}); stand_by(at, can(0)); use(); }, {S::CanDry}},
        {"empty can on wet soil", [&] { world.set_tile(at, Soil{std::nullopt, true}); stand_by(at, can(0)); use(); }, {S::Nothing}},
        {"can at the pond", [&] { world.set_tile(at, Water{}); stand_by(at, can(0)); use(); }, {S::CanFill}},
        {"shovel digs, plants, finds nothing",
         [&] {
             world.set_tile(at, Soil{Flower{NEVER, {1, 0, 2}, FlowerStage::Flower}, false});
             stand_by(at, std::make_unique<Shovel>());
             use();
             use();
             world.set_tile(at, Soil{});  // and with empty hands on empty soil
             use();
         },
         {S::Dig, S::Plant, S::Nothing}},
        {"smoker on a hive not ready", [&] { world.set_tile(at, Hive{BeeHive{at, 5, 1}}); stand_by(at, std::make_unique<Smoker>()); use(); },
         {S::Notice, S::Smoke}},
        {"smoker sets a hive down",
         [&] { world.set_tile(at, Lawn{}); stand_by(at, std::make_unique<Smoker>()); lily.carried_hive = CarriedHive{0, 2}; use(); },
         {S::HiveDown}},
        {"harvest", [&] { hive_menu(BeeHive{at, HONEY_MAX, 2}); day_frame(*game); }, {S::MenuChoose, S::Harvest}},
        {"split", [&] { hive_menu(BeeHive{at, 0, 4}); day_frame(*game); }, {S::MenuChoose, S::Split}},
        {"menu highlight, close",
         [&] {
             controls.menu = world.buildings.front()->menu();
             key(SDL_SCANCODE_RIGHT);
             day_frame(*game);
             key(SDL_SCANCODE_ESCAPE);
         },
         {S::MenuMove, S::MenuClose}},
        {"collection", [&] { key(SDL_SCANCODE_C); day_frame(*game); key(SDL_SCANCODE_C); }, {S::CollectionOpen, S::CollectionClose}},
        {"a new colour, then the same again",
         [&] {
             world.set_tile(at, Soil{Flower{game->state.time_of_day, {2, 1, 0}, FlowerStage::Bud}, true});
             day_frame(*game);
             world.set_tile(at + cell(2, 0), Soil{Flower{game->state.time_of_day, {2, 1, 0}, FlowerStage::Bud}, true});
         },
         {},
         {2 + 3 * 1 + 9 * 0}},
        {"dawn", [&] { new_day(*game); begin_next_day(game->state); }, {S::Chime}},
    };
    for (const auto& c : cases) {
        heard.clear();
        const std::size_t milestones = game->milestones.reached();
        c.act();
        day_frame(*game);
        // A first of its kind is also a milestone, which rings the chime after the frame's sounds.
        auto expected = c.sounds;
        if (game->milestones.reached() > milestones && !std::ranges::count(expected, S::Chime)) expected.push_back(S::Chime);
        std::vector<SoundId> effects;
        for (const SoundId id : heard.played) {  // footsteps are the place's, below
            if (id != S::StepGrass && id != S::StepSoil && id != S::StepWet) effects.push_back(id);
        }
        EXPECT_EQ(effects, expected) << c.name;
        EXPECT_EQ(heard.tunes, c.tunes) << c.name;
    }
}

TEST_F(HearingTest, SheHearsHerStepsByTheGroundTheHivesHumNearAndTheDayGoingBy) {
    struct Ground {
        Tile tile;
        SoundId step;
    };
    for (const auto& g : {Ground{Lawn{}, SoundId::StepGrass}, Ground{TallGrass{}, SoundId::StepGrass},
                          Ground{Soil{}, SoundId::StepSoil}, Ground{Soil{std::nullopt, true}, SoundId::StepWet}}) {
        for (int k = 0; k < 16; ++k) world.set_tile(cell(40 + 2 * k, 4), g.tile);
        lily.position = lily.anchor = centre_of(cell(40, 4));
        heard.clear();
        for (int frame = 0; frame < 48; ++frame) {
            lily.walk(world, 8192, 0);
            hear_the_place(*game, 14000);
        }
        // A step each time a foot comes down, on that ground, never two in a frame.
        EXPECT_GE(heard.played.size(), 5u);
        for (const SoundId id : heard.played) EXPECT_EQ(id, g.step);
    }

    const Cell hive = cell(60, 20);
    world.set_tile(hive, Hive{BeeHive{hive, 0, 1}});
    std::uint8_t last = 255;
    for (std::uint16_t d = 0; d <= HUM_REACH + 1; ++d) {
        const auto loops = place_loops(world, hive + cell(2 * d, 0), NOON);
        const auto hum = loops[static_cast<std::size_t>(Loop::Hum)];
        EXPECT_EQ(hum == 0, d > HUM_REACH) << d;
        EXPECT_LT(hum, last) << d;
        last = hum;
    }

    const auto at = [&](int h, int m) {
        return place_loops(world, cell(0, 0), static_cast<std::uint16_t>((h - 5) * TICKS_PER_HOUR + m * TICKS_PER_MINUTE));
    };
    const auto birds = [](auto l) { return l[static_cast<std::size_t>(Loop::Birds)]; };
    const auto crickets = [](auto l) { return l[static_cast<std::size_t>(Loop::Crickets)]; };
    EXPECT_EQ(birds(at(8, 0)), BIRDS_VOLUME);
    EXPECT_LT(birds(at(5, 0)), birds(at(8, 0)));
    EXPECT_LT(birds(at(14, 0)), birds(at(8, 0)) / 2);
    EXPECT_GT(birds(at(14, 0)), 0);
    EXPECT_EQ(birds(at(18, 0)), 0);
    EXPECT_EQ(crickets(at(14, 0)), 0);
    EXPECT_EQ(crickets(at(19, 0)), CRICKETS_VOLUME);
}

// ---- the volume ----

TEST(VolumeTest, StepsStopAtTheEndsAndMuteRemembersTheLevel) {
    Volume v;
    v.step(+1);
    EXPECT_EQ(v.mixer_volume(), FULL_VOLUME);
    for (int k = 0; k < 3; ++k) v.step(-1);
    v.toggle_mute();
    EXPECT_EQ(v.mixer_volume(), 0);
    v.toggle_mute();
    EXPECT_EQ(v.mixer_volume(), FULL_VOLUME * 7 / 10);
    v.toggle_mute();
    for (int k = 0; k < 20; ++k) v.step(-1);  // stepping unmutes, down to nothing
    EXPECT_FALSE(v.muted);
    EXPECT_EQ(v.mixer_volume(), 0);
}

TEST_F(HearingTest, MMinusAndEqualsSetTheVolumeForTheRunAndShowTheSpeakerMarkForTwoSeconds) {
    const auto crossed = [&] {  // the mark's red cross, top right
        int n = 0;
        for (int y = 0; y < 80; ++y) {
            for (int x = 640 - 80; x < 640; ++x) n += pixel(x, y) == 0xFF465AE6 ? 1 : 0;
        }
        return n;
    };
    struct Press {
        SDL_Scancode key;
        std::uint8_t master;
    };
    using K = SDL_Scancode;
    for (const auto& [k, master] : {Press{K::SDL_SCANCODE_M, 0}, Press{K::SDL_SCANCODE_M, 128}, Press{K::SDL_SCANCODE_MINUS, 115},
                                    Press{K::SDL_SCANCODE_MINUS, 102}, Press{K::SDL_SCANCODE_EQUALS, 115},
                                    Press{K::SDL_SCANCODE_M, 0}, Press{K::SDL_SCANCODE_KP_PLUS, 128}}) {
        key(k);
        day_frame(*game);
        EXPECT_EQ(heard.master_volume, master) << k;
        EXPECT_EQ(controls.speaker_mark_frames, SPEAKER_MARK_FRAMES) << k;
    }
    key(SDL_SCANCODE_M);
    day_frame(*game);
    EXPECT_GT(crossed(), 10);
    for (std::uint32_t k = 0; k < SPEAKER_MARK_FRAMES; ++k) day_frame(*game);
    EXPECT_EQ(crossed(), 0);
    EXPECT_EQ(heard.master_volume, 0);  // muted still, for the run

    // Paused, the place falls quiet, and the sound keys still work under the card.
    EXPECT_GT(heard.loops_playing(), 0u);
    key(SDL_SCANCODE_P);
    day_frame(*game);
    key(SDL_SCANCODE_M);
    day_frame(*game);
    EXPECT_EQ(heard.loops_playing(), 0u);
    EXPECT_EQ(heard.master_volume, FULL_VOLUME);
}

// ---- the device ----

TEST(MixerTest, ADriverThatWillNotOpenLeavesTheGameSilentWithOneLineOnStderr) {
    for (const char* driver : {"no-such-driver", "dummy"}) {  // dummy last: the suite's own
        setenv("SDL_AUDIODRIVER", driver, 1);
        testing::internal::CaptureStderr();
        {
            auto sound = open_sound();
            ASSERT_NE(sound, nullptr);
            sound->play(SoundId::Harvest);
            sound->loop(Loop::Hum, 64);
            sound->loop(Loop::Hum, 0);
            sound->tune(26);
            sound->master(0);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        const bool opens = std::string(driver) == "dummy";
        EXPECT_EQ(std::ranges::count(said, '\n'), opens ? 0 : 1) << driver << ": " << said;
        if (!opens) {
            EXPECT_NE(said.find("without sound"), std::string::npos) << said;
        }
    }
}

// libasound, asked for a device on a machine without a sound card, tells of every step of its
// search; the game's one line is all that may reach stderr. (With a card it opens and says nothing.)
TEST(MixerTest, AlsaWithoutACardAddsNothingToTheGamesOneLine) {
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    testing::internal::CaptureStderr();
    const bool opened = open_sound() != nullptr;
    const std::string said = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(opened);
    EXPECT_LE(std::ranges::count(said, '\n'), 1) << said;
    EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
}

}  // namespace
}  // namespace qm
