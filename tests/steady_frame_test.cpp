// A day frame drawn again over an unchanged game renders no text and makes no texture: every
// line comes from the draw context's cache, which lets go of what a frame stopped drawing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game.hpp"
#include "bees.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "support/allocation_count.hpp"
#include "support/game_fixture.hpp"
#include "support/sdl_fixture.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

class SteadyFrame : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        start_play(*game);
        // A hive in a bed in bloom, the can in her hands, the planner on the flower she faces.
        const Cell hive = containing_tile(lily.position) + cell(4, 0);
        for_each_in_hexagon(hive, HIVE_RANGE, [&](Cell c) {
            world.set_tile(c, Soil{Flower{NEVER, {2, 1, 0}, FlowerStage::Flower}, true});
        });
        world.set_tile(hive, Hive{BeeHive{hive, 0, 2}});
        lily.tool = std::make_unique<WateringCan>();
        lily.selection = cell(2, 0);
        game->notices.raise("A new colour", 0xFF30A0E0);
        controls.touch_mode = true;
        controls.genomes_shown = true;
    }

    std::vector<std::uint32_t> frame() {
        game->tonight.next_frame(world);
        EXPECT_TRUE(draw_game_frame(*game, TICK).has_value());
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(window_w * window_h));
        EXPECT_EQ(SDL_RenderReadPixels(renderer(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), window_w * 4), 0);
        return pixels;
    }

    static constexpr std::uint16_t TICK = 14000;
};

TEST_F(SteadyFrame, MakesNoTextureAndDrawsTheSamePicture) {
    struct Case {
        const char* name;
        std::function<void(Game&)> open;
        // operator new calls the second frame still makes, as found: the cards' rows, the
        // forecast's lines, the genome labels' places and the collection's measured lines are
        // put together afresh each frame. A ceiling, so that no more creep in.
        std::uint64_t allocations_at_most;
    };
    const std::vector<Case> cases{
        {"the field, its cards, labels and notices", [](Game&) {}, 80},
        {"the collection with its milestones", [](Game& g) { g.controls.collection_open = true; }, 40},
        {"the pause and help card", [](Game& g) { g.overlay.open(Card::Help); }, 85},
        {"the end-day card", [](Game& g) { g.overlay.open(Card::EndDay); }, 93},
    };
    for (const Case& c : cases) {
        c.open(*game);
        const auto first = frame();
        const std::uint64_t textures = ctx().textures_made();
        const std::uint64_t allocations = test::allocations();
        const auto second = frame();
        const std::uint64_t allocated = test::allocations() - allocations;
        EXPECT_EQ(ctx().textures_made(), textures) << c.name;
        if (test::counting_allocations()) {
            EXPECT_LE(allocated, c.allocations_at_most) << c.name;
        }
        EXPECT_TRUE(first == second) << c.name;
        game->overlay.close(Card::Help);
        game->overlay.close(Card::EndDay);
        controls.collection_open = false;
    }
}

// What a frame no longer draws is let go as it is presented, so the cache holds one frame's texts.
TEST_F(SteadyFrame, KeepsOnlyTheTextsOfTheLastFrame) {
    frame();
    const std::size_t field = ctx().texts.size();
    controls.collection_open = true;
    frame();
    const std::size_t with_collection = ctx().texts.size();
    controls.collection_open = false;
    frame();
    EXPECT_GT(with_collection, field);
    EXPECT_EQ(ctx().texts.size(), field);
}

}  // namespace
}  // namespace qm
