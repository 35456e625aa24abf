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
#include "voices.hpp"

namespace qm {

class World;
struct Lily;
struct Volume;

// What plays on while the place calls for it, at a place and level set every frame: the hum and
// the crickets are loops; the birds, and the frogs by the pond, are calls scattered at random
// (the level sets how loud and how often); the owl calls now and then while the crickets sing.
enum class Loop : std::uint8_t { Hum, Crickets, Birds, Frogs };
inline constexpr std::size_t LOOP_COUNT = 4;

// Volumes are SDL_mixer's, 0 to 128, for the happenings that tell them.
inline constexpr std::uint8_t FULL_VOLUME = 128;

class Sound {
public:
    virtual ~Sound() = default;
    // Once, from her (in the middle). A sound with takes plays one of them, never the last one
    // again; a milestone's chime waits for a colour's tune to finish.
    virtual void play(SoundId id) = 0;
    // A new colour's phrase (synthesize_tune).
    virtual void tune(std::size_t genotype) = 0;
    // A loop (or scattered calls) from this place; SILENT_PLACE fades it out. Changes are ramped.
    virtual void loop(Loop which, const Place& at) = 0;
    // The player's levels (Volume::gain and Volume::music_gain), ramped.
    virtual void master(float all, float music) = 0;
    // The music for this part of the day: phrases with rests between them.
    virtual void music(MusicPart part) = 0;
};

// No device, or no wish for sound: every call does nothing.
class SilentSound final : public Sound {
public:
    void play(SoundId) override {}
    void tune(std::size_t) override {}
    void loop(Loop, const Place&) override {}
    void master(float, float) override {}
    void music(MusicPart) override {}
};
Sound& silence();

// Remembers every call, for tests and the soak.
class RecordingSound final : public Sound {
public:
    std::vector<SoundId> played;
    std::vector<std::size_t> tunes;
    std::array<Place, LOOP_COUNT> loops{SILENT_PLACE, SILENT_PLACE, SILENT_PLACE, SILENT_PLACE};
    float all = 1, music_level = 1;
    std::optional<MusicPart> part;

    void play(SoundId id) override { played.push_back(id); }
    void tune(std::size_t genotype) override { tunes.push_back(genotype); }
    void loop(Loop which, const Place& at) override { loops[static_cast<std::size_t>(which)] = at; }
    void master(float everything, float music) override { all = everything, music_level = music; }
    void music(MusicPart p) override { part = p; }
    std::size_t loops_playing() const;
    void clear() { played.clear(), tunes.clear(); }
};

// The sound a happening makes, if any (a new colour plays its tune instead).
std::optional<SoundId> sound_for(const Happening& happening);

// Plays the frame's happenings, each sound at most once a frame, so a burst of events stays one
// sound.
void play_happenings(Sound& sound, const std::vector<Happening>& happenings);

// ---- the place ----

// The bees are heard within this many cells of a hive, louder as she comes closer; the nearest
// few hives are heard together.
inline constexpr std::uint32_t HUM_REACH = 6;
inline constexpr std::size_t HUMS_HEARD = 3;
// Each loop's level beside it: the hum level with the birds, the crickets a little under.
inline constexpr float HUM_LEVEL = 0.09f;
inline constexpr float BIRDS_LEVEL = 0.35f;
inline constexpr float CRICKETS_LEVEL = 0.17f;
inline constexpr float FROGS_LEVEL = 0.3f;
// The frogs are heard at night within this many cells of the pond.
inline constexpr std::uint32_t FROGS_REACH = 10;

// Each loop's place for the day tick and where she stands: birds from dawn, fewer after noon,
// gone by dusk, when the crickets start, and the frogs by the pond; the hum of the nearest hives,
// each from where it stands.
std::array<Place, LOOP_COUNT> place_loops(const World& world, Fixed here, std::uint16_t tick);
// The hum of one hive `dx` cells to her right and `far` cells from her (hex steps).
Place hum_place(double dx, double far);
// The music's part for the day tick.
MusicPart music_part(std::uint16_t tick);

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

// Ten steps of 3 dB and a mute that remembers the level, for everything and for the music on its
// own; lasts for the run.
struct Volume {
    static constexpr std::uint8_t STEPS = 10;
    static constexpr double STEP_DB = 3.0;
    std::uint8_t level = STEPS;
    bool muted = false;
    std::uint8_t music_level = STEPS;
    bool music_muted = false;

    void toggle_mute() { muted = !muted; }
    void toggle_music() { music_muted = !music_muted; }
    // A step louder (up) or quieter; stepping unmutes.
    void step(int direction);
    void step_music(int direction);
    // The gain of everything, and the music's under it: 1 at the top step, 3 dB less a step down,
    // nothing at the bottom step or muted.
    float gain() const;
    float music_gain() const;
    // The gain as SDL_mixer's 0 to 128, as the happenings tell it.
    std::uint8_t mixer_volume() const;
};
// The gain of a step.
float step_gain(std::uint8_t level);

}  // namespace qm
