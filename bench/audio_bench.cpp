// What sound costs: synthesizing every sound and tune at start-up (the start-up budget is 100 ms),
// the music's phrases (on a thread of their own), the place's loops worked out each frame, and the
// mixer's work for a second of sound in a busy evening (the audio thread's share of a core).
#include <benchmark/benchmark.h>

#include "audio.hpp"
#include "voices.hpp"
#include "day_clock.hpp"
#include "flowers.hpp"
#include "random.hpp"
#include "world.hpp"

namespace qm {
namespace {

void BM_SynthesizeEverySound(benchmark::State& state) {
    std::size_t samples = 0;
    for (auto _ : state) {
        samples = 0;
        for (const SoundSpec& spec : sound_table()) {
            for (std::size_t t = 0; t < spec.takes; ++t) samples += synthesize(spec.id, t).size();
        }
        for (std::size_t g = 0; g < GENOTYPES; ++g) samples += synthesize_tune(g).size();
        benchmark::DoNotOptimize(samples);
    }
    state.counters["seconds_of_sound"] = static_cast<double>(samples) / SAMPLE_RATE;
}
BENCHMARK(BM_SynthesizeEverySound)->Unit(benchmark::kMillisecond);

void BM_SynthesizeTheMusic(benchmark::State& state) {
    for (auto _ : state) {
        for (std::size_t p = 0; p < MUSIC_PARTS; ++p) {
            for (std::size_t k = 0; k < PHRASES_PER_PART; ++k) benchmark::DoNotOptimize(synthesize_phrase(MusicPart(p), k));
        }
    }
}
BENCHMARK(BM_SynthesizeTheMusic)->Unit(benchmark::kMillisecond);

// A second at 48 kHz: the hum's three layers, the crickets' two, a phrase of music and eight
// footsteps, rendered in the device's 1024-frame buffers. Its time over a second is the audio
// thread's share of a core.
void BM_MixASecond(benchmark::State& state) {
    std::vector<Samples> loops;
    for (std::size_t k = 0; k < 3; ++k) loops.push_back(synthesize(SoundId::Hum, k));
    for (std::size_t k = 0; k < 2; ++k) loops.push_back(synthesize(SoundId::Crickets, k));
    const Samples phrase = synthesize_phrase(MusicPart::Dusk, 0);
    const Samples step = synthesize(SoundId::StepGrass, 0);
    std::vector<float> block(2 * 1024);
    for (auto _ : state) {
        Voices voices(48000);
        for (const Samples& loop : loops) voices.start({&loop, place_at(-2, 3), 1, true, false, 0});
        voices.start({&phrase, Place{}, 1, false, true, 0});
        for (int n = 0; n < 47; ++n) {
            if (n % 6 == 0) voices.start({&step, Place{}, 1.05f, false, false, 0});
            voices.render(block);
        }
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["share_of_a_core"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixASecond)->Unit(benchmark::kMillisecond);

// The frame's place sounds on the farm with twenty hives about.
void BM_PlaceLoops(benchmark::State& state) {
    set_rng_state(42);
    World world;
    world.setup_farm();
    for (int h = 0; h < 20; ++h) world.set_tile(cell(-29 + 4 * h, -5), Hive{BeeHive{cell(-29 + 4 * h, -5), 0, 2}});
    std::uint16_t tick = NOON;
    for (auto _ : state) {
        benchmark::DoNotOptimize(place_loops(world, centre_of(cell(0, -12)), tick));
        tick = static_cast<std::uint16_t>(tick + 1);
    }
}
BENCHMARK(BM_PlaceLoops);

}  // namespace
}  // namespace qm
