// Sound: every synthesized sound in bounds, each happening's sound through the recording Sound in
// the game's own frames, the place's loops and footsteps, the volume, and a device that fails.
#include "audio.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <thread>

#include "support/fake_input.hpp"
#include "support/game_fixture.hpp"
#include "support/loudness.hpp"
#include "support/sdl_fixture.hpp"
#include "bees.hpp"
#include "day_clock.hpp"
#include "game.hpp"
#include "lily.hpp"
#include "menu_from_request.hpp"
#include "mixer.hpp"
#include "speaker_mark.hpp"
#include "tools.hpp"
#include "voices.hpp"
#include "world.hpp"

namespace qm {
namespace {

using namespace std::chrono_literals;

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

TEST(SynthTest, EverySoundTakeLayerAndPhraseIsHeardInBoundsEndsInTimeAndComesOutTheSameEachTime) {
    std::set<std::string> names;
    for (const SoundSpec& spec : sound_table()) {
        EXPECT_TRUE(names.insert(spec.name).second) << spec.name;
        // Frequent sounds have four takes at least, each its own.
        if (spec.varies && !spec.loops) {
            EXPECT_GE(spec.takes, 2u) << spec.name;
        }
        std::set<Samples> takes;
        for (std::size_t t = 0; t < spec.takes; ++t) {
            const Samples s = synthesize(spec.id, t);
            expect_in_bounds(s, spec.seconds, spec.loops, spec.name + std::string(" ") + std::to_string(t));
            EXPECT_EQ(s, synthesize(spec.id, t)) << spec.name;
            takes.insert(s);
        }
        EXPECT_EQ(takes.size(), spec.takes) << spec.name;
    }
    for (const SoundId id : {SoundId::StepGrass, SoundId::StepSoil, SoundId::StepWet, SoundId::Till, SoundId::Water}) {
        EXPECT_GE(spec_of(id).takes, 4u) << spec_of(id).name;
    }
    // The hum's layers loop at different lengths.
    std::set<std::size_t> lengths;
    for (std::size_t t = 0; t < spec_of(SoundId::Hum).takes; ++t) lengths.insert(synthesize(SoundId::Hum, t).size());
    EXPECT_EQ(lengths.size(), 3u);
    for (std::size_t p = 0; p < MUSIC_PARTS; ++p) {
        for (std::size_t k = 0; k < PHRASES_PER_PART; ++k) {
            const Samples s = synthesize_phrase(MusicPart(p), k);
            expect_in_bounds(s, PHRASE_SECONDS, false, "phrase " + std::to_string(p) + "." + std::to_string(k));
            EXPECT_EQ(s, synthesize_phrase(MusicPart(p), k));
        }
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

class HearingTest : public test::HeadlessGame {
protected:
    HearingTest() : HeadlessGame(640) {}

    void SetUp() override {
        HeadlessGame::SetUp();
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

    RecordingSound heard;
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
        controls.menu = menu_from_request(upgrade_menu(hive));
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
             controls.menu = menu_from_request(*world.buildings.front()->menu());
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

    // The hive east of her is heard from the right, softer with every cell, silent past its reach.
    const Cell hive = cell(60, 20);
    world.set_tile(hive, Hive{BeeHive{hive, 0, 1}});
    float last = 2;
    for (std::uint16_t d = 0; d <= HUM_REACH + 1; ++d) {
        const Place hum = place_loops(world, centre_of(hive - cell(2 * d, 0)), NOON)[static_cast<std::size_t>(Loop::Hum)];
        EXPECT_EQ(hum.left + hum.right == 0, d > HUM_REACH) << d;
        EXPECT_LT(hum.left + hum.right, last) << d;
        if (d > 0 && d <= HUM_REACH) {
            EXPECT_GT(hum.right, hum.left) << d;
        }
        last = hum.left + hum.right;
    }
    // A second hive as near on her other side: both heard, the sum louder and balanced.
    world.set_tile(hive - cell(8, 0), Hive{BeeHive{hive - cell(8, 0), 0, 1}});
    const Place both = place_loops(world, centre_of(hive - cell(4, 0)), NOON)[static_cast<std::size_t>(Loop::Hum)];
    EXPECT_NEAR(both.left, both.right, 1e-4);
    EXPECT_GT(both.left, hum_place(2, 2).right);

    const auto at = [&](int h, int m) {
        return place_loops(world, Fixed{}, static_cast<std::uint16_t>((h - 5) * TICKS_PER_HOUR + m * TICKS_PER_MINUTE));
    };
    const auto birds = [](auto l) { return l[static_cast<std::size_t>(Loop::Birds)].left; };
    const auto crickets = [](auto l) { return l[static_cast<std::size_t>(Loop::Crickets)].left; };
    EXPECT_EQ(birds(at(8, 0)), BIRDS_LEVEL);
    EXPECT_LT(birds(at(5, 0)), birds(at(8, 0)));
    EXPECT_LT(birds(at(14, 0)), birds(at(8, 0)) / 2);
    EXPECT_GT(birds(at(14, 0)), 0);
    EXPECT_EQ(birds(at(18, 0)), 0);
    EXPECT_EQ(crickets(at(14, 0)), 0);
    EXPECT_EQ(crickets(at(19, 0)), CRICKETS_LEVEL);
    const auto hour = [](int h) { return static_cast<std::uint16_t>((h - 5) * TICKS_PER_HOUR); };
    EXPECT_EQ(music_part(hour(8)), MusicPart::Morning);
    EXPECT_EQ(music_part(hour(14)), MusicPart::Afternoon);
    EXPECT_EQ(music_part(hour(18)), MusicPart::Dusk);
}

// ---- the volume ----

TEST(VolumeTest, StepsOfThreeDecibelsStopAtTheEndsAndEachMuteRemembersItsLevel) {
    Volume v;
    v.step(+1);
    EXPECT_EQ(v.gain(), 1.0f);
    for (int k = 0; k < 3; ++k) v.step(-1);
    v.step_music(-1);
    v.toggle_mute();
    EXPECT_EQ(v.gain(), 0.0f);
    EXPECT_EQ(v.music_gain(), step_gain(9));  // the music's own level is kept under the mute
    v.toggle_mute();
    EXPECT_NEAR(20 * std::log10(v.gain()), -9.0, 0.01);
    v.toggle_music();
    EXPECT_EQ(v.music_gain(), 0.0f);
    EXPECT_NEAR(20 * std::log10(v.gain()), -9.0, 0.01);  // the rest plays on
    v.toggle_mute();
    for (int k = 0; k < 20; ++k) v.step(-1);  // stepping unmutes, down to nothing
    EXPECT_FALSE(v.muted);
    EXPECT_EQ(v.gain(), 0.0f);
    for (std::uint8_t k = 1; k < Volume::STEPS; ++k) EXPECT_NEAR(20 * std::log10(step_gain(k) / step_gain(k + 1)), -3.0, 0.01);
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
        std::uint8_t all, music;
    };
    using K = SDL_Scancode;
    for (const auto& [k, all, music] :
         {Press{K::SDL_SCANCODE_M, 0, 10}, Press{K::SDL_SCANCODE_M, 10, 10}, Press{K::SDL_SCANCODE_MINUS, 9, 10},
          Press{K::SDL_SCANCODE_MINUS, 8, 10}, Press{K::SDL_SCANCODE_EQUALS, 9, 10}, Press{K::SDL_SCANCODE_LEFTBRACKET, 9, 9},
          Press{K::SDL_SCANCODE_B, 9, 0}, Press{K::SDL_SCANCODE_RIGHTBRACKET, 9, 10}, Press{K::SDL_SCANCODE_M, 0, 10},
          Press{K::SDL_SCANCODE_KP_PLUS, 10, 10}}) {
        key(k);
        day_frame(*game);
        EXPECT_EQ(heard.all, step_gain(all)) << k;
        EXPECT_EQ(heard.music_level, step_gain(music)) << k;
        EXPECT_EQ(controls.speaker_mark_frames, SPEAKER_MARK_FRAMES) << k;
    }
    key(SDL_SCANCODE_M);
    day_frame(*game);
    EXPECT_GT(crossed(), 10);
    for (std::uint32_t k = 0; k < SPEAKER_MARK_FRAMES; ++k) day_frame(*game);
    EXPECT_EQ(crossed(), 0);
    EXPECT_EQ(heard.all, 0.0f);  // muted still, for the run

    // Paused, the place falls quiet, and the sound keys still work under the card.
    EXPECT_GT(heard.loops_playing(), 0u);
    key(SDL_SCANCODE_P);
    day_frame(*game);
    key(SDL_SCANCODE_M);
    day_frame(*game);
    EXPECT_EQ(heard.loops_playing(), 0u);
    EXPECT_EQ(heard.all, 1.0f);
}

// ---- the mix: place, ramps, headroom ----

// The left and right channels' RMS of a stereo render.
std::pair<double, double> rms(std::span<const float> lr) {
    double l = 0, r = 0;
    for (std::size_t n = 0; n + 1 < lr.size(); n += 2) l += lr[n] * lr[n], r += lr[n + 1] * lr[n + 1];
    const double frames = static_cast<double>(lr.size() / 2);
    return {std::sqrt(l / frames), std::sqrt(r / frames)};
}

TEST(MixTest, TheHumComesFromItsHiveFallsWithDistanceAndNeverJumps) {
    const Samples hum = synthesize(SoundId::Hum, 0);
    std::vector<float> out(2 * 48000 / 2);  // half a second
    const auto heard_from = [&](double dx, double far) {
        Voices voices(48000);
        voices.start({&hum, hum_place(dx, far), 1, true, false, 0});
        voices.render(out);  // past the fade in
        voices.render(out);
        return rms(out);
    };
    const auto [left, right] = heard_from(-3, 3);
    EXPECT_GT(left, 1.5 * right);
    EXPECT_GT(heard_from(3, 3).second, 1.5 * heard_from(3, 3).first);
    double last = heard_from(0, 0).first;
    for (const double far : {1.0, 2.0, 4.0, 6.0}) {
        const double level = heard_from(0, far).first;
        EXPECT_LT(level, last) << far;
        EXPECT_GT(level, last / 2) << far << ": a gentle fall, not a cliff";
        last = level;
    }

    // A level that leaps from a fifth to full (she steps to the hive) is ramped: a constant
    // signal's output rises by no more than the ramp allows in any block of 10 ms.
    const Samples steady(4800, 16384);
    Voices voices(48000);
    const int v = voices.start({&steady, Place{0.2f, 0.2f, 1}, 1, true, false, 0});
    std::vector<float> block(2 * 480);
    for (int k = 0; k < 10; ++k) voices.render(block);
    voices.move(v, Place{1, 1, 1}, 0.25);
    float was = block[0];
    for (int k = 0; k < 30; ++k) {
        voices.render(block);
        EXPECT_LE(block[0] - was, 0.5f * 0.8f * 0.01f / 0.25f + 1e-4f) << k;
        was = block[0];
    }
    EXPECT_NEAR(was, 0.5f, 0.01f);

    // Mute fades out over the ramp, then nothing at all.
    voices.levels(0, 0, 0.05);
    voices.render(block);
    EXPECT_GT(block[0], 0.0f);
    for (int k = 0; k < 5; ++k) voices.render(block);
    EXPECT_TRUE(std::ranges::all_of(block, [](float x) { return x == 0.0f; }));
}

// The recording of SDL's disk driver while `act` plays, as 16-bit stereo frames. The sounds are
// made while the game's title card is up: `act` waits for the hum it asks for to be heard first.
std::vector<std::int16_t> record(const std::function<void(Sound&)>& act, std::chrono::milliseconds length) {
    const std::string file = testing::TempDir() + "quillmarsh-disk-audio.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    {
        auto sound = open_sound();
        const auto humming = [&] {
            std::ifstream in(file, std::ios::binary);
            std::int16_t s = 0;
            while (in.read(reinterpret_cast<char*>(&s), 2)) {
                if (s != 0) return true;
            }
            return false;
        };
        const auto limit = std::chrono::steady_clock::now() + 30s;
        do {
            sound->loop(Loop::Hum, hum_place(-1, 1));
            std::this_thread::sleep_for(100ms);
        } while (!humming() && std::chrono::steady_clock::now() < limit);
        EXPECT_TRUE(humming());
        act(*sound);
        std::this_thread::sleep_for(length);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::ifstream in(file, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t s = 0;
    while (in.read(reinterpret_cast<char*>(&s), 2)) samples.push_back(s);
    std::filesystem::remove(file);
    return samples;
}

TEST(MixTest, TheLoudestMomentsTogetherStayUnderOneDecibelBelowFullScaleThroughTheRealMix) {
    // A first harvest beside the hive that is also a new colour and a milestone, at dusk.
    const auto loudest = record([](Sound& sound) {
        for (const SoundId id : {SoundId::MenuChoose, SoundId::Harvest, SoundId::Chime, SoundId::Till, SoundId::Notice}) sound.play(id);
        sound.tune(26);
    }, 2500ms);
    ASSERT_GT(loudest.size(), 2u * 48000);  // 48 kHz stereo, the rate asked for
    EXPECT_LT(test::true_peak(loudest), std::pow(10.0, -1.0 / 20));
    // Stereo: the two channels differ.
    double apart = 0;
    for (std::size_t n = 0; n + 1 < loudest.size(); n += 2) apart += std::abs(loudest[n] - loudest[n + 1]);
    EXPECT_GT(apart, 0.0);

    // An empty can swept over tile after tile for two seconds clicks twice a second at most: the
    // recording holds the energy of about two plays (each a pair of clicks), not forty.
    const auto energy = [](const auto& s) { return std::accumulate(s.begin(), s.end(), 0.0, [](double e, double x) { return e + x * x; }); };
    const auto swept = record([](Sound& sound) {
        sound.loop(Loop::Hum, SILENT_PLACE);
        std::this_thread::sleep_for(400ms);
        for (int k = 0; k < 40; ++k, std::this_thread::sleep_for(50ms)) sound.play(SoundId::CanDry);
    }, 1000ms);
    EXPECT_LT(energy(swept) / (2 * energy(synthesize(SoundId::CanDry, 0))), 3.5);
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
            sound->loop(Loop::Hum, place_at(-2, 2));
            sound->loop(Loop::Hum, SILENT_PLACE);
            sound->tune(26);
            sound->music(MusicPart::Dusk);
            sound->master(0, 0);
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
