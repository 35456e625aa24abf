// What the game hears: the Sound interface it calls (SDL_mixer in the game, a recorder in tests),
// which sound each happening makes, the place's loops by the clock and the hives, footsteps by the
// ground, and the player's volume.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "happening.hpp"
#include "hex_geometry.hpp"
#include "synth.hpp"

namespace qm {

class World;
struct Lily;

// The sounds that play on and on while the place calls for them, each on a channel of its own.
enum class Loop : std::uint8_t { Hum, Birds, Crickets };
inline constexpr std::size_t LOOP_COUNT = 3;
inline constexpr SoundId LOOP_SOUNDS[LOOP_COUNT] = {SoundId::Hum, SoundId::Birds, SoundId::Crickets};

// Volumes are SDL_mixer's, 0 to 128.
inline constexpr std::uint8_t FULL_VOLUME = 128;

class Sound {
public:
    virtual ~Sound() = default;
    // Once. Footsteps take their own channel, so a new step cuts the last one short instead of
    // piling up; everything else takes any free effects channel or is dropped.
    virtual void play(SoundId id) = 0;
    // A new colour's phrase (synthesize_tune).
    virtual void tune(std::size_t genotype) = 0;
    // A loop at this volume; 0 stops it.
    virtual void loop(Loop which, std::uint8_t volume) = 0;
    // Everything together, after mute: 0 to FULL_VOLUME.
    virtual void master(std::uint8_t volume) = 0;
};

// No device, or no wish for sound: every call does nothing.
class SilentSound final : public Sound {
public:
    void play(SoundId) override {}
    void tune(std::size_t) override {}
    void loop(Loop, std::uint8_t) override {}
    void master(std::uint8_t) override {}
};
Sound& silence();

// Remembers every call, for tests and the soak.
class RecordingSound final : public Sound {
public:
    std::vector<SoundId> played;
    std::vector<std::size_t> tunes;
    std::array<std::uint8_t, LOOP_COUNT> loops{};
    std::uint8_t master_volume = FULL_VOLUME;

    void play(SoundId id) override { played.push_back(id); }
    void tune(std::size_t genotype) override { tunes.push_back(genotype); }
    void loop(Loop which, std::uint8_t volume) override { loops[static_cast<std::size_t>(which)] = volume; }
    void master(std::uint8_t volume) override { master_volume = volume; }
    std::size_t loops_playing() const;
    void clear() { played.clear(), tunes.clear(); }
};

// The sound a happening makes, if any (a new colour plays its tune instead).
std::optional<SoundId> sound_for(const Happening& happening);

// Plays the frame's happenings, each sound at most once a frame, so a burst of events stays one
// sound.
void play_happenings(Sound& sound, const std::vector<Happening>& happenings);

// ---- the place ----

// The bees are heard within this many cells of a hive, louder as she comes closer.
inline constexpr std::uint32_t HUM_REACH = 6;
inline constexpr std::uint8_t HUM_VOLUME = 110;
inline constexpr std::uint8_t BIRDS_VOLUME = 70;
inline constexpr std::uint8_t CRICKETS_VOLUME = 60;

// Each loop's volume for the day tick and the cell she stands on: birds from dawn, fewer after
// noon, gone by dusk, when the crickets start; the hum of the nearest hive.
std::array<std::uint8_t, LOOP_COUNT> place_loops(const World& world, Cell here, std::uint16_t tick);
std::uint8_t hum_volume(std::uint32_t cells_to_hive);

// Footsteps: a step sounds when her walk cycle puts a foot down; its sound is the ground's.
class Footsteps {
public:
    // The step this frame, if she put a foot down.
    std::optional<SoundId> step(const World& world, const Lily& lily);

private:
    std::uint32_t last_frame_ = 0;
};
SoundId step_sound(const World& world, Cell under);

// ---- the player's volume ----

// Ten steps and a mute that remembers the level; lasts for the run.
struct Volume {
    static constexpr std::uint8_t STEPS = 10;
    std::uint8_t level = STEPS;
    bool muted = false;

    void toggle_mute() { muted = !muted; }
    // A step louder (up) or quieter; stepping unmutes.
    void step(int direction);
    std::uint8_t mixer_volume() const;
};

}  // namespace qm
