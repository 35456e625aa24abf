// The game's sounds, made by its own code: oscillators, noise, envelopes and simple filters, as pure
// functions that fill sample buffers. The same id always gives the same samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

// Mono, signed 16-bit; SDL converts to whatever the device wants.
inline constexpr int SAMPLE_RATE = 22050;
using Samples = std::vector<std::int16_t>;

enum class SoundId : std::uint8_t {
    // what she does
    Till, Water, CanDry, CanFill, Dig, Plant, Smoke, Harvest, Split, HiveDown, Nothing,
    // menus and panels
    MenuMove, MenuChoose, MenuClose, CollectionOpen, CollectionClose, Notice,
    // the place: footsteps, the day's chime, and the loops
    StepGrass, StepSoil, StepWet, Chime, Hum, Birds, Crickets,
};
inline constexpr std::size_t SOUND_COUNT = static_cast<std::size_t>(SoundId::Crickets) + 1;

struct SoundSpec {
    SoundId id;
    const char* name;   // for the spectrograms and test messages
    double seconds;     // the sound ends within this
    bool loops;         // played over and over: its end joins its start
};
const std::array<SoundSpec, SOUND_COUNT>& sound_table();
const SoundSpec& spec_of(SoundId id);

Samples synthesize(SoundId id);

// A new colour's own phrase: three bell notes, one for each of the C, M and Y genes, each picked by
// the gene's allele count, so every genotype sounds different.
inline constexpr double TUNE_SECONDS = 1.4;
Samples synthesize_tune(std::size_t genotype);
// The pitch in Hz of the tune's `position`th note (0 C, 1 M, 2 Y) for `alleles` dominant alleles.
double tune_note(std::size_t position, std::uint8_t alleles);

}  // namespace qm
