// Drawing the field on synthetic sheets: the day tint, which ground and plant cell each tile
// gets, the wind, flower colours, the genome label, hive meters, and who covers whom row by row.
#include "world.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "day_clock.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "support/sdl_fixture.hpp"
#include "support/world_helpers.hpp"

namespace qm {
namespace {

using test::CellId;
using test::cell_id;
using test::white_sheet;
using test::describe;
using test::identify;

constexpr std::int32_t U = ONE_UNIT;

Flower flower(FlowerStage stage, std::uint8_t r = 0, std::uint8_t g = 0, std::uint8_t b = 0) {
    return Flower{NEVER, {r, g, b}, stage};
}

std::array<std::uint8_t, 3> rgb(std::uint32_t px) {
    return {static_cast<std::uint8_t>(px), static_cast<std::uint8_t>(px >> 8), static_cast<std::uint8_t>(px >> 16)};
}

class WorldDraw : public test::HeadlessDraw {
protected:
    void SetUp() override {
        HeadlessDraw::SetUp();
        // A bare lawn without buildings: only what a test puts there stands on it.
        world = test::bare_lawn();
    }
    // The camera on a cell; its centre lands on (320, 180).
    void look_at(std::int32_t i, std::int32_t j) { ctx().transform.center = {i * U, j * U}; }
    DrawResult draw(std::uint16_t tick = NOON) { return world.draw(ctx(), lily, tick); }

    World world;
    Lily lily;  // waits far away, off the screen, unless a test moves her
};

TEST_F(WorldDraw, TintFollowsTheTimeOfDayAndIsWhiteAgainAfterwards) {
    ctx().ground = white_sheet(renderer(), 256, 32);
    const std::vector<std::pair<std::uint16_t, std::array<std::uint8_t, 3>>> cases{
        {NOON, {255, 255, 255}}, {2000, {255, 255, 255}}, {0, {0, 0, 0}},         {DAY_END, {0, 0, 0}},
        {240, {128, 32, 32}},    {DAY_END - 479, {255, 63, 63}}, {478, {254, 63, 63}}, {1912, {255, 254, 254}},
        {1913, {255, 255, 255}}, {1920, {255, 255, 255}}, {24959, {255, 255, 255}}, {DAY_END - 1912, {255, 254, 254}},
        // Past the end of the day the unsigned distance wraps and the field stays lit.
        {30000, {255, 255, 255}},
    };
    for (const auto& [tick, expected] : cases) {
        clear();
        ASSERT_TRUE(draw(tick));
        // The bare lawn is nothing but white ground, so every pixel is the tint itself.
        EXPECT_EQ(rgb(pixel(100, 100)), expected) << tick;
        EXPECT_EQ(rgb(pixel(600, 20)), expected) << tick;
        EXPECT_EQ(ctx().tint, (Tint{255, 255, 255})) << tick;
        std::array<std::uint8_t, 3> mod{};
        SDL_GetTextureColorMod(ctx().plants.get(), &mod[0], &mod[1], &mod[2]);
        EXPECT_EQ(mod, (std::array<std::uint8_t, 3>{255, 255, 255})) << tick;
    }
}

TEST_F(WorldDraw, GroundCoversTheWholeScreen) {
    ASSERT_TRUE(draw());
    for (int y = 0; y < 360; y += 7) {
        for (int x = 0; x < 640; x += 5) ASSERT_NE(pixel(x, y), BACKGROUND) << x << "," << y;
    }
}

// Screen points: cell (i, j) with the camera on (0, 0) sits at (320 + 16 i, 180 + 22 j). A bare
// cell shows its ground at its centre; a plant covers its ground, and shows 30 pixels above the
// centre as well as 10 below it.
TEST_F(WorldDraw, EachTileGetsItsGroundAndPlant) {
    struct Case {
        const char* what;
        Tile tile;
        std::optional<CellId> ground;  // when nothing grows over it
        std::optional<CellId> plant;   // the top sprite: plant, or blossom over it
    };
    const std::vector<Case> cases{
        {"lawn", Lawn{}, cell_id("ground", 0, 0), std::nullopt},
        {"water", Water{}, cell_id("ground", 3, 0), std::nullopt},
        {"dry soil", Soil{}, cell_id("ground", 1, 0), std::nullopt},
        {"wet soil", Soil{std::nullopt, true}, cell_id("ground", 2, 0), std::nullopt},
        {"tall grass", TallGrass{}, std::nullopt, cell_id("plants", 0, 0)},
        {"seed", Soil{flower(FlowerStage::Seed), false}, std::nullopt, cell_id("plants", 0, 1)},
        {"sprout", Soil{flower(FlowerStage::Sprout), true}, std::nullopt, cell_id("plants", 0, 2)},
        {"bud", Soil{flower(FlowerStage::Bud), false}, std::nullopt, cell_id("flowers", 0, 0)},
        {"open flower", Soil{flower(FlowerStage::Flower), false}, std::nullopt, cell_id("flowers", 0, 1)},
        {"hive", Hive{BeeHive{cell(0, 0), 0, 1}}, std::nullopt, cell_id("plants", 0, 4)},
    };
    for (const auto& c : cases) {
        // At noon cell (0, 0) is at wind phase 0: frame 0.
        world = test::bare_lawn();
        world.set_tile(cell(0, 0), c.tile);
        clear();
        ASSERT_TRUE(draw()) << c.what;
        if (c.ground) {
            EXPECT_EQ(identify(pixel(320, 180)), c.ground) << c.what << ": " << describe(pixel(320, 180));
        }
        // Without a plant, above the centre lies the lawn of the row above, and below it the row below.
        const std::optional<CellId> above = c.plant ? c.plant : cell_id("ground", 0, 0);
        EXPECT_EQ(identify(pixel(306, 150)), above) << c.what << ": " << describe(pixel(306, 150));
        EXPECT_EQ(identify(pixel(306, 190)), above) << c.what << ": " << describe(pixel(306, 190));
    }
}

TEST_F(WorldDraw, WindGustsSweepTheFieldDiagonally) {
    struct Case {
        int i, j;
        std::uint16_t tick;
        int frame;
    };
    // Phase k = t + ⌊i/8⌋ − ⌊j/4⌋ (mod 64); noon is a multiple of 64.
    const std::vector<Case> cases{
        {0, 0, NOON + 43, 0}, {0, 0, NOON + 44, 1}, {0, 0, NOON + 47, 1}, {0, 0, NOON + 48, 2},
        {0, 0, NOON + 59, 2}, {0, 0, NOON + 60, 1}, {0, 0, NOON + 63, 1}, {0, 0, NOON + 64, 0},
        // Eight columns east the gust comes one tick earlier; four rows south one tick later.
        {8, 0, NOON + 43, 1}, {8, 4, NOON + 44, 1}, {0, 4, NOON + 44, 0},
        // West and north of the origin the division floors: (-1, -1) is phase t - 1 + 1.
        {-1, -1, NOON + 44, 1}, {-1, 1, NOON + 44, 0}, {-1, 1, NOON + 45, 1}, {1, -1, NOON + 43, 1},
        {-16, -8, NOON + 44, 1}, {-16, 0, NOON + 45, 0},
    };
    for (const auto& c : cases) {
        world = test::bare_lawn();
        world.set_tile(cell(c.i, c.j), TallGrass{});
        look_at(c.i, c.j);
        clear();
        ASSERT_TRUE(draw(c.tick));
        EXPECT_EQ(identify(pixel(312, 150)), cell_id("plants", c.frame, 0))
            << "(" << c.i << "," << c.j << ") at tick " << c.tick << ": " << describe(pixel(312, 150));
    }
}

TEST_F(WorldDraw, FlowersWearTheirGenomeColour) {
    ctx().flowers = white_sheet(renderer(), 96, 128);
    struct Case {
        std::array<std::uint8_t, 3> genes;
        std::array<std::uint8_t, 3> seen;  // 255 → 254, 128 → 127 after the ÷256 modulation
    };
    const std::vector<Case> cases{
        {{0, 2, 1}, {254, 0, 127}}, {{1, 1, 1}, {127, 127, 127}}, {{2, 2, 2}, {0, 0, 0}}, {{0, 0, 0}, {254, 254, 254}},
    };
    for (const auto& c : cases) {
        world.set_tile(cell(0, 0), Soil{flower(FlowerStage::Flower, c.genes[0], c.genes[1], c.genes[2]), false});
        clear();
        ASSERT_TRUE(draw());
        EXPECT_EQ(rgb(pixel(312, 150)), c.seen);
    }
}

TEST_F(WorldDraw, GenomeLabelOnlyOverTheSelectedBloom) {
    // Labels are the only cyan, magenta or yellow pixels on this field.
    const auto label_pixels = [this](int cx, int cy) {
        int n = 0;
        for (int y = cy - 12; y <= cy + 12; ++y) {
            for (int x = cx - 40; x <= cx + 40; ++x) {
                const std::uint32_t p = pixel(x, y);
                if (p == CYAN || p == MAGENTA || p == YELLOW) ++n;
            }
        }
        return n;
    };
    world.set_tile(cell(-4, 0), Soil{flower(FlowerStage::Flower, 0, 1, 2), false});
    world.set_tile(cell(4, 0), Soil{flower(FlowerStage::Bud, 2, 1, 0), false});
    world.set_tile(cell(0, 4), Soil{flower(FlowerStage::Seed), false});
    const Cell standing = containing_tile(lily.position);
    struct Case {
        std::optional<Cell> selected;
        bool left, right, below;
    };
    const std::vector<Case> cases{
        {std::nullopt, false, false, false},
        {cell(-4, 0), true, false, false},
        {cell(4, 0), false, true, false},
        {cell(0, 4), false, false, false},  // a seed has no blossom to label
        {cell(2, 0), false, false, false},  // bare lawn
    };
    for (const auto& c : cases) {
        lily.selection = c.selected ? std::optional(*c.selected - standing) : std::nullopt;
        clear();
        ASSERT_TRUE(draw());
        EXPECT_EQ(label_pixels(256, 180) > 0, c.left);
        EXPECT_EQ(label_pixels(384, 180) > 0, c.right);
        EXPECT_EQ(label_pixels(320, 268) > 0, c.below);
    }
}

class HiveDraw : public WorldDraw {
protected:
    // The hive at (0, 0): its meter's point is (330, 170); the meter's top tip is 8 above that.
    std::uint32_t meter_top() { return pixel(330, 162); }
    std::uint32_t meter_bottom() { return pixel(330, 178); }
};

TEST_F(HiveDraw, MeterIsSteadyUntilFullThenPulses) {
    struct Case {
        std::uint32_t honey;
        std::uint16_t tick;
        std::uint32_t bottom, top;
    };
    constexpr std::uint32_t OLIVE = 0xFF00BFBF;
    constexpr std::uint32_t GREY = 0xFF808080;
    const auto pulse = [](std::uint32_t p) { return 0xFF000000u | p << 8 | p; };
    const std::vector<Case> cases{
        {0, NOON, GREY, GREY},
        {8191, NOON, GREY, GREY},              // value 0: outline only
        {8192, NOON, OLIVE, GREY},             // value 1
        {262143, NOON + 7, OLIVE, GREY},       // value 31 stays steady and stops short of the tip
        {262144, NOON, pulse(191), pulse(191)},  // value 32, the pulse at its low point
        {262144, NOON + 4, pulse(223), pulse(223)},
        {262144, NOON + 7, pulse(247), pulse(247)},
        {262144, NOON + 8, pulse(247), pulse(247)},
        {262144, NOON + 15, pulse(191), pulse(191)},
    };
    for (const auto& c : cases) {
        world.set_tile(cell(0, 0), Hive{BeeHive{cell(0, 0), c.honey, 2}});
        clear();
        ASSERT_TRUE(draw(c.tick));
        EXPECT_EQ(meter_bottom(), c.bottom) << c.honey << " at " << c.tick << ": " << describe(meter_bottom());
        EXPECT_EQ(meter_top(), c.top) << c.honey << " at " << c.tick << ": " << describe(meter_top());
    }
}

TEST_F(HiveDraw, LevelLabelStandsOverTheHive) {
    world.set_tile(cell(0, 0), Hive{BeeHive{cell(0, 0), 0, 3}});
    ASSERT_TRUE(draw());
    auto label = DrawContext::gen_text(ctx().texture_creator, ctx().small_font.get(), YELLOW, "L3");
    ASSERT_TRUE(label);
    int w = 0;
    int h = 0;
    SDL_QueryTexture(label->get(), nullptr, nullptr, &w, &h);
    // Centred on (320, 158), its bottom edge there: yellow inside that box and none beside it.
    int inside = 0;
    for (int y = 158 - h; y < 158; ++y) {
        for (int x = 320 - w / 2; x < 320 - w / 2 + w; ++x) if (pixel(x, y) == YELLOW) ++inside;
    }
    EXPECT_GT(inside, 0);
    for (int y = 158 - h; y < 158; ++y) EXPECT_NE(pixel(320 - w / 2 - 1, y), YELLOW);
}

TEST_F(HiveDraw, RangeOverlayMarksTheRingAroundEveryHiveButNotItsCentre) {
    ctx().ground = white_sheet(renderer(), 256, 32);
    world.set_tile(cell(0, 0), Hive{BeeHive{cell(0, 0), 0, 1}});
    // A range whose cell holds no hive is passed over.
    test::WorldAccess::hive_ranges(world)[cell(40, 0)];
    clear();
    ASSERT_TRUE(world.draw_hive_ranges(ctx()));
    int marked = 0;
    for (int j = -9; j <= 9; ++j) {
        for (int i = -20; i <= 20; ++i) {
            if (((i ^ j) & 1) != 0) continue;
            const int x = 320 + 16 * i;
            const int y = 180 + 22 * j;
            if (x < 0 || x >= 640 || y < 0 || y >= 360) continue;
            const std::uint16_t d = distance(cell(i, j), cell(0, 0));
            const bool expected = d >= 1 && d <= 8;
            const std::uint32_t p = pixel(x, y);
            EXPECT_EQ(p == 0xFF00FEFE, expected) << "(" << i << "," << j << ") " << describe(p);
            if (p == 0xFF00FEFE) ++marked;
        }
    }
    EXPECT_EQ(marked, 216);
}

// The draw order of the rows, read from where sprites overlap: whoever is drawn later wins.
TEST_F(WorldDraw, ShedStandsBetweenTheRowAboveItsBaseAndItsBaseRow) {
    world.buildings.push_back(std::make_unique<Shed>());
    look_at(2, -14);  // the shed's base: its image spans x 302..337, y 106..179
    world.set_tile(cell(3, -15), Soil{flower(FlowerStage::Seed), false});    // plant x 320..351, y 112..175
    world.set_tile(cell(4, -14), Soil{flower(FlowerStage::Sprout), false});  // plant x 336..367, y 134..197
    ASSERT_TRUE(draw());
    EXPECT_EQ(identify(pixel(330, 150)), cell_id("shed", 0, 0)) << describe(pixel(330, 150));
    EXPECT_EQ(identify(pixel(337, 150)), cell_id("plants", 0, 2)) << describe(pixel(337, 150));
    EXPECT_EQ(identify(pixel(325, 115)), cell_id("shed", 0, 0));
    EXPECT_EQ(identify(pixel(345, 150)), cell_id("plants", 0, 2));
}

TEST_F(WorldDraw, BuildingBelowTheLastRowIsNotDrawn) {
    world.buildings.push_back(std::make_unique<Shed>());
    look_at(2, -40);  // the shed is 26 rows below the camera, far off the screen
    ASSERT_TRUE(draw());
    for (int x = 0; x < 640; x += 4) EXPECT_NE(identify(pixel(x, 359)), cell_id("shed", 0, 0));
}

TEST_F(WorldDraw, GardenerStandsBetweenTheRowAboveHerFeetAndHerOwnRow) {
    // Standing at (3, -12), camera on her: her body spans x 304..335, y 134..197.
    lily.position = {3 * U, -12 * U};
    lily.anchor = lily.position;
    look_at(3, -12);
    world.set_tile(cell(3, -13), Soil{flower(FlowerStage::Seed), false});    // x 304..335, y 112..175
    world.set_tile(cell(4, -12), Soil{flower(FlowerStage::Sprout), false});  // x 320..351, y 134..197
    for (const bool with_shed : {false, true}) {
        if (with_shed) world.buildings.push_back(std::make_unique<Shed>());
        clear();
        ASSERT_TRUE(draw());
        EXPECT_EQ(identify(pixel(306, 140)), cell_id("lily", 0, 0)) << describe(pixel(306, 140));
        EXPECT_EQ(identify(pixel(330, 140)), cell_id("plants", 0, 2)) << describe(pixel(330, 140));
        EXPECT_EQ(identify(pixel(306, 120)), cell_id("plants", 0, 1)) << describe(pixel(306, 120));
    }
}

TEST_F(WorldDraw, GardenerInsideABuildingOrOffTheFieldIsNotDrawn) {
    lily.position = {3 * U, -12 * U};
    lily.anchor = lily.position;
    look_at(3, -12);
    lily.in_building = true;
    ASSERT_TRUE(draw());
    EXPECT_EQ(identify(pixel(306, 140)), cell_id("ground", 0, 0));
    lily.in_building = false;
    lily.position = Lily::START_POSITION;
    clear();
    ASSERT_TRUE(draw());
    for (int y = 0; y < 360; y += 3) {
        for (int x = 0; x < 640; x += 3) {
            const auto id = identify(pixel(x, y));
            ASSERT_TRUE(id && id->sheet == "ground") << x << "," << y << ": " << describe(pixel(x, y));
        }
    }
}

TEST_F(WorldDraw, FirstFailureEndsTheDrawingAndKeepsTheDayTint) {
    const Canvas other = test::make_canvas(32, 32);
    world.set_tile(cell(0, 0), TallGrass{});
    ctx().plants = white_sheet(other->renderer(), 96, 320);
    const auto result = draw(240);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().kind, DrawError::Kind::String);
    EXPECT_EQ(ctx().tint, (Tint{128, 32, 32}));
}

}  // namespace
}  // namespace qm
