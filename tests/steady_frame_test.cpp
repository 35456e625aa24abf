// A day frame drawn again over an unchanged game renders no text, makes no texture and allocates
// nothing: every line comes from the draw context's cache, which lets go of what a frame stopped
// drawing, and every card, list and measure from what the last frame kept.
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

    // One frame, its picture read into `pixels`, which has the window's size.
    void frame(std::vector<std::uint32_t>& pixels) {
        game->tonight.next_frame(world);
        EXPECT_TRUE(draw_game_frame(*game, TICK).has_value());
        EXPECT_EQ(SDL_RenderReadPixels(renderer(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), window_w * 4), 0);
    }
    void frame() {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(window_w * window_h));
        frame(pixels);
    }

    static constexpr std::uint16_t TICK = 14000;
};

TEST_F(SteadyFrame, MakesNoTextureAndDrawsTheSamePicture) {
    struct Case {
        const char* name;
        std::function<void(Game&)> open;
    };
    const std::vector<Case> cases{
        {"the field, its cards, labels and notices", [](Game&) {}},
        {"the collection with its milestones", [](Game& g) { g.controls.collection_open = true; }},
        {"the pause and help card", [](Game& g) { g.overlay.open(Card::Help); }},
        {"the end-day card", [](Game& g) { g.overlay.open(Card::EndDay); }},
    };
    const std::size_t size = static_cast<std::size_t>(window_w * window_h);
    std::vector<std::uint32_t> first(size);
    std::vector<std::uint32_t> second(size);
    for (const Case& c : cases) {
        c.open(*game);
        frame(first);
        const std::uint64_t textures = ctx().textures_made();
        const std::uint64_t allocations = test::allocations();
        frame(second);
        const std::uint64_t allocated = test::allocations() - allocations;
        EXPECT_EQ(ctx().textures_made(), textures) << c.name;
        if (test::counting_allocations()) {
            EXPECT_EQ(allocated, 0u) << c.name;
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
