// What one frame of drawing costs on the software renderer: the whole field with the gardener,
// the hive range overlay, and the single primitives. Run from the build directory, where the
// generated sheets and the font are.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <filesystem>
#include <optional>

#include "day_clock.hpp"
#include "game.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "sdl_input.hpp"
#include "world.hpp"

namespace qm {
namespace {

// SDL, a hidden window (720 × 360 unless asked otherwise: the game's own start size) and a draw
// context on it.
struct Stage {
    std::optional<SdlCore> core;
    std::optional<SdlSubsystem> video;
    std::optional<TtfContext> ttf;
    Canvas canvas;
    std::optional<DrawContext> ctx;
    World world;
    Lily lily;

    bool open(benchmark::State& state, int window_w = 720, int window_h = 360) {
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
        WindowPtr window{SDL_CreateWindow("Quillmarsh", 0, 0, window_w, window_h, SDL_WINDOW_HIDDEN)};
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

// A whole day frame as the game draws and presents it (the field, the controls, the clock and the
// frame time), on a window of 960 × 540 logical pixels at scale 1, 2 or 3: each copy scaled to the
// window as before (PerCopy), or the frame drawn at the logical size and scaled once (Once).
void BM_DayFrame(benchmark::State& state) {
    const Scaling scaling = state.range(0) == 0 ? Scaling::PerCopy : Scaling::Once;
    const auto factor = static_cast<int>(state.range(1));
    Stage s;
    if (!s.open(state, 960 * factor, 540 * factor)) return;
    SdlInput input(s.ctx->canvas->window());
    Controls controls(input);
    s.ctx->scaling = scaling;
    if (!s.ctx->adjust_scale() || s.ctx->scale != static_cast<std::uint32_t>(factor)) {
        state.SkipWithError("the window did not get the scale asked for");
        return;
    }
    std::uint16_t tick = NOON;
    for (auto _ : state) {
        auto done = draw_frame(*s.ctx, controls, s.world, s.lily, 1, tick, std::chrono::milliseconds(5));
        benchmark::DoNotOptimize(done);
        ++tick;
    }
    state.SetLabel(scaling == Scaling::Once ? "scaled once" : "each copy scaled");
}
// The two ways side by side at each scale; at scale 1 both draw straight into the window.
BENCHMARK(BM_DayFrame)->ArgsProduct({{0, 1}, {1, 2, 3}})->ArgNames({"once", "scale"})->Unit(benchmark::kMillisecond);

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
