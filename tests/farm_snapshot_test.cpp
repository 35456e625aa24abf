// The farm drawn with the real generated art, the way a player sees it at the start of a day:
// the frames are written to snapshots/ in the build directory for a person to look at, and
// checked for what the light and the range overlay must do to them.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "graphics.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "ui.hpp"
#include "support/sdl_fixture.hpp"
#include "world.hpp"

namespace qm {
namespace {

constexpr std::uint16_t NOON = 13440;
constexpr std::uint16_t DAWN = 240;
const Cell HIVE_CELL = cell(-15, -13);

using Frame = std::vector<std::uint32_t>;

class FarmSnapshot : public ::testing::Test {
protected:
    void SetUp() override {
        // The build directory holds the generated sheets and the font; tests run from there.
        if (!std::filesystem::exists("assets/ground.png") || !std::filesystem::exists(FONT_PATH)) {
            GTEST_SKIP() << "no generated art in " << std::filesystem::current_path();
        }
        sdl_.emplace();
        canvas_ = test::make_canvas(720, 360);
        auto built = DrawContext::create(canvas_, canvas_);
        ASSERT_TRUE(built) << built.error().to_string();
        ctx_.emplace(std::move(*built));

        set_rng_state(0x5EED);
        world_.setup_farm();
        const std::array<std::array<std::uint8_t, 3>, 13> genomes{{{0, 0, 0}, {2, 2, 2}, {0, 2, 2}, {2, 0, 2}, {2, 2, 0},
                                                                  {0, 0, 2}, {0, 2, 0}, {2, 0, 0}, {1, 1, 1}, {0, 1, 2},
                                                                  {1, 0, 1}, {0, 2, 1}, {2, 1, 0}}};
        const std::array<Cell, 13> beds{cell(-2, -12), cell(-4, -12), cell(-6, -12), cell(-1, -11), cell(-3, -11),
                                        cell(-5, -11), cell(-1, -13), cell(-3, -13), cell(-5, -13), cell(-2, -10),
                                        cell(-4, -10), cell(-2, -14), cell(-14, -12)};  // the last beside the hive
        for (std::size_t k = 0; k < beds.size(); ++k) {
            const FlowerStage stage = k % 5 == 4 ? FlowerStage::Bud : FlowerStage::Flower;
            world_.set_tile(beds[k], Soil{Flower{NEVER, genomes[k], stage}, k % 2 == 0});
        }
        world_.set_tile(HIVE_CELL, Hive{BeeHive{HIVE_CELL, HONEY_MAX, 2}});

        lily_.morning_reset();
        lily_.position = Lily::MORNING_POINT;
        lily_.anchor = lily_.position;
        lily_.facing = {-2 * ONE_UNIT, 0};
        lily_.tool = std::make_unique<WateringCan>();
        ctx_->transform.center = lily_.position;
    }

    // Draws one frame as the game does, saves it under snapshots/ and returns its pixels.
    Frame shoot(const char* name, std::uint16_t tick, Cell selected) {
        lily_.selection = selected - containing_tile(lily_.position);
        EXPECT_TRUE(world_.draw(*ctx_, lily_, tick));
        draw_mark_strip_and_pad();
        EXPECT_TRUE(ctx_->draw_daytime(1, tick));
        Frame pixels(720 * 360);
        EXPECT_EQ(SDL_RenderReadPixels(ctx_->renderer(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), 720 * 4), 0);
        std::filesystem::create_directories("snapshots");
        const SurfacePtr surface{
            SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), 720, 360, 32, 720 * 4, SDL_PIXELFORMAT_RGBA32)};
        EXPECT_EQ(IMG_SavePNG(surface.get(), (std::string("snapshots/") + name + ".png").c_str()), 0) << SDL_GetError();
        return pixels;
    }

    // East of the range, marks in every tint (a row each) on every ground; and the pad, held.
    void draw_mark_strip_and_pad() {
        const std::optional<std::uint32_t> tints[] = {std::nullopt, YELLOW, 0xFF0000, 0x000000, 0x004040, 0x00FFFF};
        for (std::uint32_t k = 0; k < 24; ++k) {
            const Fixed at = centre_of(cell(static_cast<std::int16_t>(9 + 4 * (k % 4) - k / 4 % 2), static_cast<std::int16_t>(k / 4 - 17)));
            EXPECT_TRUE(ctx_->draw_ground(k % 4, std::nullopt, at.i, at.j) && ctx_->draw_ground(4, tints[k / 4], at.i, at.j));
        }
        EXPECT_TRUE((MovePad{.finger = 1, .vector = {0x10000, -0x10000}}.draw(*ctx_)));
    }

    static double brightness(const Frame& f, int x0, int x1) {
        double sum = 0;
        for (int y = 40; y < 360; ++y) {  // below the clock
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = f[static_cast<std::size_t>(y * 720 + x)];
                sum += (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
            }
        }
        return sum / (320.0 * (x1 - x0));
    }
    static int differing(const Frame& a, const Frame& b, int x0, int x1) {
        int n = 0;
        for (int y = 40; y < 360; ++y) {
            for (int x = x0; x < x1; ++x) {
                const auto k = static_cast<std::size_t>(y * 720 + x);
                if (a[k] != b[k]) ++n;
            }
        }
        return n;
    }

    std::optional<test::SdlSession> sdl_;
    Canvas canvas_;
    std::optional<DrawContext> ctx_;
    World world_;
    Lily lily_;
};

TEST_F(FarmSnapshot, NoonDawnAndTheHiveRange) {
    const Cell flower_bed = cell(-2, -12);
    const Frame noon = shoot("noon", NOON, flower_bed);
    const Frame dawn = shoot("dawn", DAWN, flower_bed);
    const Frame range = shoot("hive_range", NOON, HIVE_CELL);

    // Dawn light is red and dim: darker everywhere, and a red cast.
    EXPECT_LT(brightness(dawn, 0, 720), 0.6 * brightness(noon, 0, 720));
    // The hive's range covers the garden west of the gardener; its eastern tip, column 1, ends
    // at x 360, so the lawn further east looks the same with and without the overlay.
    EXPECT_GT(differing(noon, range, 0, 300), 10000);
    EXPECT_EQ(differing(noon, range, 460, 720), 0);
}

}  // namespace
}  // namespace qm
