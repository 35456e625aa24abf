// quillmarsh_cards_screenshot: draws the screens that tell about tonight (the forecast, the planner
// on a flower with partners, the hive card, the morning report over the dawn, the genome view and
// a hive's range, a bud too late, the collection with its seeds, soil too full for the seeds) on a bred farm without a window, at 1x and 2x, and saves each as a PNG in the
// directory given. Run it from the build directory, where assets/ and the font are.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "collection.hpp"
#include "controls.hpp"
#include "day_clock.hpp"
#include "game.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "sdl.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace {

constexpr int WIDTH = 720;
constexpr int HEIGHT = 360;
constexpr std::uint64_t SEED = 0x0B10'55'0Dull;

int fail(const std::string& what) {
    std::fprintf(stderr, "quillmarsh_cards_screenshot: %s\n", what.c_str());
    return 1;
}

// Every bed watered, so every flower opens before dusk.
void water_everything(qm::World& world) {
    std::vector<std::pair<qm::Cell, qm::Soil>> beds;
    for (const auto& [c, tile] : world.tiles()) {
        if (const auto* soil = std::get_if<qm::Soil>(&tile)) beds.emplace_back(c, *soil);
    }
    for (auto& [c, soil] : beds) {
        soil.watered = true;
        world.set_tile(c, soil);
    }
}

// A closed event queue: the screenshots read no input.
class NoEvents final : public qm::EventSource {
public:
    bool poll(SDL_Event&) override { return false; }
};

// No keys, no mouse, no controllers.
class NoInput final : public qm::InputState {
public:
    bool key_down(SDL_Scancode) const override { return false; }
    bool shift_down() const override { return false; }
    std::optional<qm::ScreenPoint> mouse_in_window() const override { return std::nullopt; }
    bool fullscreen() const override { return false; }
    std::expected<void, std::string> set_fullscreen(bool) override { return {}; }
    qm::Gamepads& gamepads() override { return pads_; }
    const qm::Gamepads& gamepads() const override { return pads_; }

private:
    qm::Gamepads pads_;
};

// The nearest flower of a stage to `near` whose cell and the cell east of it are free for her.
std::optional<qm::Cell> flower_near(const qm::World& world, qm::Cell near, qm::FlowerStage stage) {
    std::optional<qm::Cell> best;
    for (const auto& [c, tile] : world.tiles()) {
        const qm::Flower* flower = qm::flower_on(tile);
        if (!flower || flower->stage != stage) continue;
        if (!best || qm::distance(c, near) < qm::distance(*best, near)) best = c;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmarsh_cards_screenshot DIR (run where assets/ and the font are)\n");
        return 2;
    }
    const std::string dir = argv[1];
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) return fail(std::string("SDL: ") + SDL_GetError());

    int status = 0;
    for (const int scale : {1, 2}) {
        qm::WindowPtr window{SDL_CreateWindow("Quillmarsh", 0, 0, WIDTH * scale, HEIGHT * scale, SDL_WINDOW_HIDDEN)};
        SDL_Renderer* renderer = window ? SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE) : nullptr;
        if (!renderer) return fail(std::string("renderer: ") + SDL_GetError());
        const qm::Canvas canvas = std::make_shared<qm::RendererContext>(std::move(window), renderer);
        auto made = qm::DrawContext::create(canvas, canvas);
        if (!made) return fail(made.error().to_string());
        qm::DrawContext& ctx = *made;
        if (auto scaled = ctx.adjust_scale(); !scaled) return fail(scaled.error().to_string());

        // Two days on the farm with a level-4 hive; the morning after the second night.
        qm::replay_from(SEED);
        qm::World world;
        world.setup_farm();
        qm::Lily lily;
        NoInput input;
        NoEvents events;
        qm::Controls controls(input);
        qm::Game game{ctx, world, lily, controls, events, qm::LoopState{}};
        qm::start_play(game);
        world.set_tile(qm::GARDEN_CENTRE, qm::Hive{qm::BeeHive{qm::GARDEN_CENTRE, 150000, 4}});
        water_everything(world);
        for (std::uint32_t t = qm::FIRST_DAY_START; t <= qm::DAY_END; ++t) world.update(static_cast<std::uint16_t>(t));
        // What opened today is in the collection; some of tonight's seeds will be new.
        qm::hear_the_field(game);
        // The dawn and the night, played by their screens as in the game.
        game.screens.push(qm::dawn_screen());
        if (qm::step(game).kind != qm::Step::Kind::Dawn || qm::step(game).kind != qm::Step::Kind::Night) {
            return fail("no night after the day");
        }

        const auto shoot = [&](const std::string& name) {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(WIDTH * scale * HEIGHT * scale));
            const qm::SurfacePtr surface{SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), WIDTH * scale, HEIGHT * scale, 32,
                                                                            WIDTH * scale * 4, SDL_PIXELFORMAT_RGBA32)};
            const std::string path = dir + "/" + name + "-" + std::to_string(scale) + "x.png";
            if (!surface ||
                SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), WIDTH * scale * 4) != 0 ||
                IMG_SavePNG(surface.get(), path.c_str()) != 0) {
                status = fail("cannot write " + path + ": " + SDL_GetError());
            }
        };
        const auto frame = [&](std::uint16_t tick, const std::string& name) {
            game.state.time_of_day = tick;
            game.state.shown_tick = tick;
            ctx.transform.center = lily.position;
            game.tonight.next_frame(world);
            // Drawn by the day's screen, as its frames are.
            if (auto drawn = game.screens.top().draw(game); !drawn) {
                status = fail(drawn.error().to_string());
                return;
            }
            shoot(name);
        };

        // The morning: the report over the dawn's tint.
        frame(120, "morning");
        game.overlay.close(qm::Card::Morning);

        // The next noon: flowers open, buds, the can in hand.
        water_everything(world);
        for (std::uint32_t t = 0; t <= qm::NOON; ++t) world.update(static_cast<std::uint16_t>(t));
        const auto open = flower_near(world, qm::GARDEN_CENTRE + qm::cell(6, 2), qm::FlowerStage::Flower);
        if (!open) return fail("no flower opened");
        lily.position = lily.anchor = qm::centre_of(*open + qm::cell(2, 0));
        lily.facing = {-2 * qm::ONE_UNIT, 0};
        lily.tool = std::make_unique<qm::WateringCan>();
        lily.selection = qm::cell(-2, 0);
        frame(qm::NOON, "planner");

        const auto bud = flower_near(world, *open, qm::FlowerStage::Bud);
        if (bud) {
            lily.position = lily.anchor = qm::centre_of(*bud + qm::cell(1, -1));
            lily.facing = {-qm::ONE_UNIT, qm::ONE_UNIT};
            lily.selection = qm::cell(-1, 1);
        }
        frame(qm::NOON, "forecast");

        game.controls.genomes_shown = true;
        frame(qm::NOON, "genomes");
        game.controls.genomes_shown = false;

        lily.tool = std::make_unique<qm::Smoker>();
        lily.position = lily.anchor = qm::centre_of(qm::GARDEN_CENTRE + qm::cell(2, 0));
        lily.selection = qm::cell(-2, 0);
        frame(qm::NOON, "hive");

        lily.carried_hive = qm::CarriedHive{0, 2};
        lily.position = lily.anchor = qm::centre_of(qm::GARDEN_CENTRE + qm::cell(14, 2));
        lily.selection = qm::cell(2, 0);
        frame(qm::NOON, "range");
        lily.carried_hive.reset();

        // A bud watered late: the planner says when it opens.
        if (bud) {
            world.set_tile(*bud, qm::Soil{qm::Flower{qm::DAY_END + 10 * 32, {2, 0, 1}, qm::FlowerStage::Bud}, true});
            lily.tool = std::make_unique<qm::WateringCan>();
            lily.position = lily.anchor = qm::centre_of(*bud + qm::cell(1, -1));
            lily.selection = qm::cell(-1, 1);
            frame(qm::NOON, "late-bud");
        }

        // The collection open, its highlight on the grey: a seed taken, two left today.
        game.controls.collection_open = true;
        game.controls.highlight_shown = true;
        qm::FrameCommands take;
        take.seed_chosen = game.controls.swatch;
        qm::take_chosen_seed(game, take);
        frame(qm::NOON, "collection");
        game.controls.swatch = 26;  // never seen: its ring is grey
        frame(qm::NOON, "collection-unseen");
        game.controls.collection_open = false;

        // The empty soil grassed over: the seeds find too little room, and the forecast says so.
        std::vector<qm::Cell> empty;
        for (const auto& [c, tile] : world.tiles()) {
            const auto* soil = std::get_if<qm::Soil>(&tile);
            if (soil && !soil->flower) empty.push_back(c);
        }
        for (const qm::Cell c : empty) world.set_tile(c, qm::Lawn{});
        frame(qm::NOON, "full-soil");
    }
    TTF_Quit();
    SDL_Quit();
    return status;
}
