// How the frame update and the night grow with the garden: a hexagonal garden in full bloom (two
// thirds open, the rest seeds not due today), a level-4 hive every six cells of every sixth row, so
// each flower lies in the range of several hives.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "forecast.hpp"
#include "random.hpp"
#include "world.hpp"

namespace qm {
namespace {

// Far from the endless soil of rows 0 to 2, so the garden is an island in tall grass.
const Cell GARDEN_CENTRE = cell(0, -200);

struct Garden {
    World world;
    std::size_t cells = 0;
    std::size_t hives = 0;
};

Garden blooming_garden(int radius) {
    set_rng_state(7);
    Garden garden;
    World& world = garden.world;
    int n = 0;
    for_each_in_hexagon(GARDEN_CENTRE, radius, [&](Cell c) {
        ++garden.cells;
        const int di = static_cast<std::int16_t>(c.i - GARDEN_CENTRE.i);
        const int dj = static_cast<std::int16_t>(c.j - GARDEN_CENTRE.j);
        if (dj % 6 == 0 && di % 12 == 0) {
            world.set_tile(c, Hive{BeeHive{c, 0, 4}});
            ++garden.hives;
            return;
        }
        const std::array<std::uint8_t, 3> genes{static_cast<std::uint8_t>(rand_below(3)), static_cast<std::uint8_t>(rand_below(3)),
                                  static_cast<std::uint8_t>(rand_below(3))};
        const bool open = n++ % 3 != 0;
        world.set_tile(c, Soil{open ? Flower{NEVER, genes, FlowerStage::Flower} : Flower{60000, genes, FlowerStage::Seed},
                               true});
    });
    return garden;
}

// wyrand's state moves by a fixed odd step per draw, so the distance between two states is the
// number of draws made in between.
std::uint64_t draws_between(std::uint64_t before, std::uint64_t after) {
    constexpr std::uint64_t STEP = 0x2D358DCCAA6C78A5ULL;
    std::uint64_t inverse = STEP;  // Newton's iteration for the inverse modulo 2^64
    for (int k = 0; k < 5; ++k) inverse *= 2 - STEP * inverse;
    return (after - before) * inverse;
}

void BM_GardenOvernight(benchmark::State& state) {
    std::size_t seeds = 0;
    std::uint64_t draws = 0;
    Garden garden;
    for (auto _ : state) {
        state.PauseTiming();
        garden = blooming_garden(static_cast<int>(state.range(0)));
        set_rng_state(11);
        state.ResumeTiming();
        garden.world.overnight();
        state.PauseTiming();
        draws = draws_between(11, rng_state());
        seeds = 0;
        for (const auto& [c, tile] : garden.world.tiles()) seeds += flower_on(tile) ? 1u : 0u;
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(garden.cells);
    state.counters["hives"] = static_cast<double>(garden.hives);
    state.counters["seeds"] = static_cast<double>(seeds);
    state.counters["draws"] = static_cast<double>(draws);
}
BENCHMARK(BM_GardenOvernight)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GardenUpdate(benchmark::State& state) {
    Garden garden = blooming_garden(static_cast<int>(state.range(0)));
    std::uint16_t now = 13440;
    for (auto _ : state) {
        garden.world.update(now);
        now = static_cast<std::uint16_t>(now + 1);
        if (now > 26880) now = 13440;
    }
    state.counters["cells"] = static_cast<double>(garden.cells);
    state.counters["hives"] = static_cast<double>(garden.hives);
}
BENCHMARK(BM_GardenUpdate)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMicrosecond);

// A day frame of the garden's own work, without (0) and with (1) tonight's forecast and the
// planner's table of a flower near the middle, as the game asks for them every frame: the ratio of
// the two is what they add. Nothing on this field changes stage today, so the third argument
// writes a tile every frame (1), the worst a player can do, or leaves it (0).
void BM_GardenFrameWithForecast(benchmark::State& state) {
    Garden garden = blooming_garden(static_cast<int>(state.range(0)));
    const bool forecast = state.range(1) != 0;
    const bool changing = state.range(2) != 0;
    const Cell watered = GARDEN_CENTRE + cell(4, 0);
    Tonight tonight;
    std::uint16_t now = 13440;
    std::size_t seeds = 0;
    for (auto _ : state) {
        garden.world.update(now);
        if (changing) garden.world.set_tile(watered, Soil{flower_on(garden.world.get_tile(watered)) ? std::optional(*flower_on(garden.world.get_tile(watered))) : std::nullopt, now % 2 == 0});
        if (forecast) {
            tonight.next_frame(garden.world);
            seeds += tonight.forecast(garden.world).seeds_most;
            seeds += tonight.outlook(garden.world, GARDEN_CENTRE + cell(2, 0)).partners.size();
        }
        now = static_cast<std::uint16_t>(now + 1);
        if (now > 26880) now = 13440;
    }
    benchmark::DoNotOptimize(seeds);
}
BENCHMARK(BM_GardenFrameWithForecast)->ArgsProduct({{10, 40}, {0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The forecast and a planner's table worked out afresh, as on a frame after the field changed.
void BM_ForecastAfresh(benchmark::State& state) {
    Garden garden = blooming_garden(static_cast<int>(state.range(0)));
    Forecast forecast;
    for (auto _ : state) {
        const NightPlan plan = plan_night(garden.world, Open::ByNightfall, Partners::OnRequest);
        forecast = forecast_night(garden.world, plan);
        benchmark::DoNotOptimize(flower_outlook(garden.world, plan, GARDEN_CENTRE + cell(2, 0)));
    }
    state.counters["breeding"] = static_cast<double>(forecast.breeding);
    state.counters["seeds_most"] = static_cast<double>(forecast.seeds_most);
}
BENCHMARK(BM_ForecastAfresh)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
