// What sound costs: synthesizing every sound and tune at start-up (the start-up budget is 100 ms),
// and the place's loops worked out each frame.
#include <benchmark/benchmark.h>

#include "audio.hpp"
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
        for (const SoundSpec& spec : sound_table()) samples += synthesize(spec.id).size();
        for (std::size_t g = 0; g < GENOTYPES; ++g) samples += synthesize_tune(g).size();
        benchmark::DoNotOptimize(samples);
    }
    state.counters["seconds_of_sound"] = static_cast<double>(samples) / SAMPLE_RATE;
}
BENCHMARK(BM_SynthesizeEverySound)->Unit(benchmark::kMillisecond);

// The frame's place sounds on the farm with twenty hives about.
void BM_PlaceLoops(benchmark::State& state) {
    set_rng_state(42);
    World world;
    world.setup_farm();
    for (int h = 0; h < 20; ++h) world.set_tile(cell(-29 + 4 * h, -5), Hive{BeeHive{cell(-29 + 4 * h, -5), 0, 2}});
    std::uint16_t tick = NOON;
    for (auto _ : state) {
        benchmark::DoNotOptimize(place_loops(world, cell(0, -12), tick));
        tick = static_cast<std::uint16_t>(tick + 1);
    }
}
BENCHMARK(BM_PlaceLoops);

}  // namespace
}  // namespace qm
