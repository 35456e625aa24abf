// How long a frame's world update and a night take on the farm when its garden is in full bloom.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "day_clock.hpp"
#include "random.hpp"
#include "world.hpp"

namespace qm {
namespace {

const Cell FARM_HIVE = cell(-15, -13);

// The farm with a flower on every free garden cell: open ones, and (every third) seeds that are
// not due today, so grow has both kinds to look at. `extra_hives` more hives stand on the lawn
// edge of the garden, each overlapping the first.
World blooming_farm(int extra_hives) {
    set_rng_state(42);
    World world;
    world.setup_farm();
    int n = 0;
    for_each_in_hexagon(FARM_HIVE, HIVE_RANGE, [&](Cell c) {
        const auto* soil = std::get_if<Soil>(&world.get_tile(c));
        if (!soil) return;
        const bool open = n++ % 3 != 0;
        const Flower flower = open ? Flower{NEVER, {1, 1, 1}, FlowerStage::Flower}
                                   : Flower{60000, {1, 1, 1}, FlowerStage::Seed};
        world.set_tile(c, Soil{flower, true});
    });
    for (int h = 0; h < extra_hives; ++h) {
        const Cell at = cell(-29 + 4 * h, -5);
        world.set_tile(at, Hive{BeeHive{at, 0, 4}});
    }
    return world;
}

void BM_Update(benchmark::State& state) {
    World world = blooming_farm(static_cast<int>(state.range(0)));
    std::uint16_t now = NOON;
    for (auto _ : state) {
        world.update(now);
        now = static_cast<std::uint16_t>(now + 1);
        if (now > DAY_END) now = NOON;
    }
    state.counters["flowers"] = static_cast<double>(world.hive_ranges().at(FARM_HIVE).size());
}
BENCHMARK(BM_Update)->Arg(0)->Arg(4);

void BM_Overnight(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        World world = blooming_farm(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        world.overnight();
        benchmark::DoNotOptimize(world.tiles().size());
    }
}
BENCHMARK(BM_Overnight)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_SetFlowerAmongHives(benchmark::State& state) {
    World world = blooming_farm(4);
    const Cell at = cell(-17, -13);
    const Tile bloom = Soil{Flower{NEVER, {2, 0, 1}, FlowerStage::Flower}, false};
    const Tile bare = Soil{};
    for (auto _ : state) {
        world.set_tile(at, bloom);
        world.set_tile(at, bare);
    }
}
BENCHMARK(BM_SetFlowerAmongHives);

void BM_PlaceHive(benchmark::State& state) {
    World world = blooming_farm(0);
    const Cell at = cell(-21, -13);
    for (auto _ : state) {
        world.set_tile(at, Hive{BeeHive{at, 0, 1}});
        world.set_tile(at, Soil{});
    }
}
BENCHMARK(BM_PlaceHive);

}  // namespace
}  // namespace qm
