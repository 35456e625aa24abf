// quillmarsh_screenshot: plays the farm through a few days and nights without a window and
// saves one frame of the bred garden as a PNG, drawn by the game's own drawing code. Run it from
// a directory that holds assets/ and the font (the build directory). It is how the README's
// picture is made: `make screenshot`.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "day_clock.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "sdl.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace {

constexpr int WIDTH = 720;
constexpr int HEIGHT = 360;
// Three nights of breeding from the farm's mixed seeds spread the colours wide; the hive has
// been harvested up to level 4, so every flower sows up to three seeds.
constexpr int NIGHTS = 3;
constexpr std::uint16_t HIVE_LEVEL = 4;
// The gardener looks at the open flower nearest this cell, east of the hive.
const qm::Cell LOOK_AT = qm::cell(-9, -11);
constexpr std::uint64_t SEED = 0x0B10'55'0Dull;

// Changes every stored tile of one kind through the world's own writes; gathered first, since a
// write may move the map's entries.
template <class Kind, class Change>
void change_each(qm::World& world, Change change) {
    std::vector<std::pair<qm::Cell, Kind>> found;
    for (const auto& [c, tile] : world.tiles()) {
        if (const auto* kind = std::get_if<Kind>(&tile)) found.emplace_back(c, *kind);
    }
    for (auto& [c, kind] : found) {
        change(kind);
        world.set_tile(c, kind);
    }
}

// The gardener keeps every bed watered, so no bud stalls and every flower opens before dusk.
void water_everything(qm::World& world) {
    change_each<qm::Soil>(world, [](qm::Soil& soil) { soil.watered = true; });
}

void play_day(qm::World& world, std::uint16_t from, std::uint16_t to) {
    water_everything(world);
    for (std::uint32_t tick = from; tick <= to; ++tick) world.update(static_cast<std::uint16_t>(tick));
}

// Where the gardener stands, seen from the flower she looks at: east of it.
const qm::Cell STAND = qm::cell(2, 0);

// The open flower nearest `near` with room for the gardener beside it: her cell and the two
// cells below it, which are drawn over her, are bare soil or lawn.
std::optional<qm::Cell> open_flower_near(const qm::World& world, qm::Cell near) {
    const auto empty = [&](qm::Cell c) {
        const qm::Tile& t = world.get_tile(c);
        return std::holds_alternative<qm::Lawn>(t) || (std::holds_alternative<qm::Soil>(t) && !qm::flower_on(t));
    };
    std::optional<qm::Cell> best;
    for (const auto& [c, tile] : world.tiles()) {
        const qm::Flower* flower = qm::flower_on(tile);
        if (!flower || flower->stage != qm::FlowerStage::Flower) continue;
        const qm::Cell at = c + STAND;
        if (!empty(at) || !empty(at + qm::cell(-1, 1)) || !empty(at + qm::cell(1, 1))) continue;
        if (!best || qm::distance(c, near) < qm::distance(*best, near)) best = c;
    }
    return best;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "quillmarsh_screenshot: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmarsh_screenshot FILE.png (run where assets/ and the font are)\n");
        return 2;
    }
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) return fail(std::string("SDL: ") + SDL_GetError());

    qm::replay_from(SEED);
    qm::World world;
    world.setup_farm();
    change_each<qm::Hive>(world, [](qm::Hive& hive) { hive.hive.level = HIVE_LEVEL; });
    play_day(world, qm::FIRST_DAY_START, qm::DAY_END);
    for (int night = 0; night < NIGHTS; ++night) {
        world.overnight();
        play_day(world, 0, night + 1 < NIGHTS ? qm::DAY_END : qm::NOON);
    }

    const std::optional<qm::Cell> flower = open_flower_near(world, LOOK_AT);
    if (!flower) return fail("no flower opened");
    // She stands east of the flower, facing it, the watering can in hand; its label shows.
    qm::Lily lily;
    lily.morning_reset();
    lily.position = qm::centre_of(*flower + STAND);
    lily.anchor = lily.position;
    lily.facing = {-2 * qm::ONE_UNIT, 0};
    lily.tool = std::make_unique<qm::WateringCan>();
    lily.selection = qm::Cell{} - STAND;

    int status = 0;
    {
        qm::WindowPtr window{SDL_CreateWindow("Quillmarsh", 0, 0, WIDTH, HEIGHT, SDL_WINDOW_HIDDEN)};
        SDL_Renderer* renderer = window ? SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE) : nullptr;
        if (!renderer) return fail(std::string("renderer: ") + SDL_GetError());
        const qm::Canvas canvas = std::make_shared<qm::RendererContext>(std::move(window), renderer);
        auto ctx = qm::DrawContext::create(canvas, canvas);
        if (!ctx) return fail(ctx.error().to_string());
        ctx->transform.center = lily.position;  // the camera follows her, as in play
        if (const auto drawn = world.draw(*ctx, lily, qm::NOON); !drawn) return fail(drawn.error().to_string());
        if (const auto drawn = ctx->draw_daytime(NIGHTS + 1, qm::NOON); !drawn) return fail(drawn.error().to_string());

        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(WIDTH * HEIGHT));
        const qm::SurfacePtr surface{SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), WIDTH, HEIGHT, 32, WIDTH * 4,
                                                                        SDL_PIXELFORMAT_RGBA32)};
        if (!surface || SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), WIDTH * 4) != 0 ||
            IMG_SavePNG(surface.get(), argv[1]) != 0) {
            status = fail(std::string("cannot write ") + argv[1] + ": " + SDL_GetError());
        }
    }
    TTF_Quit();
    SDL_Quit();
    return status;
}
