// What one frame of drawing costs on the software renderer: the whole field with the gardener,
// the hive range overlay, and the single primitives. Run from the build directory, where the
// generated sheets and the font are.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <optional>

#include "day_clock.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "world.hpp"

namespace qm {
namespace {

// SDL, a hidden 720 × 360 window (the game's own start size) and a draw context on it.
struct Stage {
    std::optional<SdlCore> core;
    std::optional<SdlSubsystem> video;
    std::optional<TtfContext> ttf;
    Canvas canvas;
    std::optional<DrawContext> ctx;
    World world;
    Lily lily;

    bool open(benchmark::State& state) {
        if (!std::filesystem::exists("assets/ground.png")) {
            state.SkipWithError("run from the build directory: no assets/ here");
            return false;
        }
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);
        const auto up = [&](auto acquired, auto& guard) {
            if (acquired) guard.emplace(std::move(*acquired));
            else state.SkipWithError(acquired.error().c_str());
            return acquired.has_value();
        };
        if (!up(SdlCore::acquire(), core) || !up(SdlSubsystem::acquire(SDL_INIT_VIDEO), video) ||
            !up(TtfContext::acquire(), ttf)) {
            return false;
        }
        WindowPtr window{SDL_CreateWindow("Quillmarsh", 0, 0, 720, 360, SDL_WINDOW_HIDDEN)};
        SDL_Renderer* renderer = window ? SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE) : nullptr;
        if (!renderer) {
            state.SkipWithError(SDL_GetError());
            return false;
        }
        canvas = std::make_shared<RendererContext>(std::move(window), renderer);
        auto built = DrawContext::create(canvas, canvas);
        if (!built) {
            state.SkipWithError(built.error().to_string().c_str());
            return false;
        }
        ctx.emplace(std::move(*built));

        // The farm in full bloom, the gardener at her morning point with the can.
        set_rng_state(7);
        world.setup_farm();
        int n = 0;
        for_each_in_hexagon(cell(-15, -13), HIVE_RANGE, [&](Cell c) {
            if (!std::holds_alternative<Soil>(world.get_tile(c))) return;
            const auto g = static_cast<std::uint8_t>(n++ % 3);
            world.set_tile(c, Soil{Flower{NEVER, {g, static_cast<std::uint8_t>((g + 1) % 3), 0}, FlowerStage::Flower}, true});
        });
        lily.morning_reset();
        lily.position = Lily::MORNING_POINT;
        lily.anchor = lily.position;
        lily.tool = std::make_unique<WateringCan>();
        lily.selection = cell(-2, 0);
        ctx->transform.center = lily.position;
        return true;
    }
};

void BM_WorldDrawNoon(benchmark::State& state) {
    Stage s;
    if (!s.open(state)) return;
    std::uint16_t tick = NOON;
    for (auto _ : state) {
        auto done = s.world.draw(*s.ctx, s.lily, tick);
        // The renderer batches copies; flushing makes the software renderer really paint them.
        SDL_RenderFlush(s.ctx->renderer());
        benchmark::DoNotOptimize(done);
        ++tick;
    }
}
BENCHMARK(BM_WorldDrawNoon)->Unit(benchmark::kMillisecond);

void BM_WorldDrawWithHiveRange(benchmark::State& state) {
    Stage s;
    if (!s.open(state)) return;
    // Pointing at the hive shows its range: 216 extra modulated ground copies.
    s.lily.selection = cell(-15, -13) - containing_tile(s.lily.position);
    for (auto _ : state) {
        auto done = s.world.draw(*s.ctx, s.lily, NOON);
        SDL_RenderFlush(s.ctx->renderer());
        benchmark::DoNotOptimize(done);
    }
}
BENCHMARK(BM_WorldDrawWithHiveRange)->Unit(benchmark::kMillisecond);

void BM_DrawFlowersModulated(benchmark::State& state) {
    Stage s;
    if (!s.open(state)) return;
    for (auto _ : state) {
        // On screen, under the camera, so the copy is not clipped away.
        auto done = s.ctx->draw_flowers(1, 0, 0x0080FF, s.lily.position.i, s.lily.position.j);
        SDL_RenderFlush(s.ctx->renderer());
        benchmark::DoNotOptimize(done);
    }
}
BENCHMARK(BM_DrawFlowersModulated)->Unit(benchmark::kMicrosecond);

void BM_DrawDaytimeText(benchmark::State& state) {
    Stage s;
    if (!s.open(state)) return;
    std::uint16_t tick = 0;
    for (auto _ : state) {
        auto done = s.ctx->draw_daytime(1, tick);
        SDL_RenderFlush(s.ctx->renderer());
        benchmark::DoNotOptimize(done);
        tick = static_cast<std::uint16_t>(tick + 32);
    }
}
BENCHMARK(BM_DrawDaytimeText)->Unit(benchmark::kMicrosecond);

void BM_ChooseScale(benchmark::State& state) {
    std::uint32_t w = 640;
    for (auto _ : state) {
        benchmark::DoNotOptimize(choose_scale(1, w, 65535));
        w = w * 1664525u + 1013904223u;
    }
}
BENCHMARK(BM_ChooseScale);

}  // namespace
}  // namespace qm
