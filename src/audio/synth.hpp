// The game's sounds, made by its own code: oscillators, noise, envelopes and simple filters, as pure
// functions that fill sample buffers. The same id always gives the same samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

// Mono, signed 16-bit, at the rate the mixer asks of the device; the mixer places each sound in
// stereo and resamples it to whatever rate the device gives.
inline constexpr int SAMPLE_RATE = 48000;
using Samples = std::vector<std::int16_t>;

enum class SoundId : std::uint8_t {
    // what she does
    Till, Water, CanDry, CanFill, Dig, Plant, Smoke, Harvest, Split, HiveDown, Nothing,
    // menus and panels
    MenuMove, MenuChoose, MenuClose, CollectionOpen, CollectionClose, Notice,
    // the place: footsteps, the day's chime, the loops, and the calls scattered over the day and night
    StepGrass, StepSoil, StepWet, Chime, Hum, Crickets, Birds, Owl, Frogs,
};
inline constexpr std::size_t SOUND_COUNT = static_cast<std::size_t>(SoundId::Frogs) + 1;

struct SoundSpec {
    SoundId id;
    const char* name;   // for the spectrograms and test messages
    double seconds;     // the sound (each take, each layer) ends within this
    bool loops;         // played over and over: its end joins its start
    // A one-shot: takes, one picked at each play. A loop: layers of different lengths played
    // together, so the pattern they make repeats only rarely.
    std::uint8_t takes = 1;
    // Played often: each play a little higher or lower and louder or softer than the last.
    bool varies = false;
    // At most one play in this many seconds; the rest are dropped.
    double min_gap = 0;
};
const std::array<SoundSpec, SOUND_COUNT>& sound_table();
const SoundSpec& spec_of(SoundId id);

// The take (or layer) of a sound; takes past the sound's count give its last.
Samples synthesize(SoundId id, std::size_t take = 0);

// A new colour's own phrase: three bell notes, one for each of the C, M and Y genes, each picked by
// the gene's allele count, so every genotype sounds different.
inline constexpr double TUNE_SECONDS = 1.4;
Samples synthesize_tune(std::size_t genotype);
// The pitch in Hz of the tune's `position`th note (0 C, 1 M, 2 Y) for `alleles` dominant alleles.
double tune_note(std::size_t position, std::uint8_t alleles);

// ---- the music ----

// A sparse piece made of short pentatonic phrases with long rests between them, a set of phrases
// for each part of the day: brighter in the morning, slower and lower at dusk.
enum class MusicPart : std::uint8_t { Morning, Afternoon, Dusk };
inline constexpr std::size_t MUSIC_PARTS = 3;
inline constexpr std::size_t PHRASES_PER_PART = 4;
inline constexpr double PHRASE_SECONDS = 9.0;
Samples synthesize_phrase(MusicPart part, std::size_t phrase);

}  // namespace qm
