// Drawing the gardener on synthetic sheets: walk frames, which arm is in front, the tool and its
// variant, the can's meter, what she carries, and the marks of her selection.
#include "lily.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "graphics.hpp"
#include "support/sdl_fixture.hpp"
#include "support/world_helpers.hpp"
#include "world.hpp"

namespace qm {
namespace {

using test::CellId;
using test::cell_id;
using test::describe;
using test::identify;

constexpr std::int32_t U = ONE_UNIT;
const Fixed EAST{2 * U, 0};
const Fixed NORTH{0, -2 * U};
const Fixed WEST{-2 * U, 0};
const Fixed SOUTH{0, 2 * U};

// A position d raw units away from the origin along one axis, its other component fixed up so
// that the pair keeps the grid's parity.
Fixed along_i(std::int32_t d) { return {d, d & 1}; }
Fixed along_j(std::int32_t d) { return {d & 1, d}; }

TEST(WalkFrame, CountsHalfUnitsWalkedSinceTheAnchor) {
    struct Case {
        const char* what;
        Fixed facing;
        Fixed position;  // the anchor is the origin
        std::uint32_t frame;
    };
    const std::vector<Case> cases{
        {"standing", EAST, {0, 0}, 0},
        {"not quite half a unit east", EAST, along_i(0x7FFF), 0},
        {"half a unit east", EAST, along_i(0x8000), 1},
        {"a unit east", EAST, along_i(0x10000), 2},
        {"one and a half east", EAST, along_i(0x18000), 3},
        {"two units east", EAST, along_i(0x20000), 4},
        {"two and a half east", EAST, along_i(0x28000), 1},
        {"a step back while facing east", EAST, along_i(-0x8000), 3},
        {"no facing counts as east", {0, 0}, along_i(0x20000), 4},
        {"a quarter unit north counts double", NORTH, along_j(-0x4000), 1},
        {"just short of it", NORTH, along_j(-0x3FFF), 0},
        {"west", WEST, along_i(-0x8000), 1},
        {"south", SOUTH, along_j(0x10000), 4},
        {"sideways steps do not count", SOUTH, along_i(0x30000), 0},
    };
    for (const auto& c : cases) {
        Lily lily;
        lily.anchor = {0, 0};
        lily.position = c.position;
        lily.facing = c.facing;
        EXPECT_EQ(lily.walk_frame(), c.frame) << c.what;
    }
}

class LilyDraw : public test::HeadlessDraw {
protected:
    void SetUp() override {
        HeadlessDraw::SetUp();
        // She stands at the origin under the camera: her body spans x 304..335, y 134..197.
        lily.position = {0, 0};
        lily.anchor = {0, 0};
        world = test::bare_lawn();
    }
    // Facing a way, having walked `frame` half units since the anchor.
    void pose(Fixed facing, std::uint32_t frame) {
        lily.facing = facing;
        const auto d = static_cast<std::int32_t>(frame * 0x8000);
        if (facing == EAST) lily.position = along_i(d);
        if (facing == WEST) lily.position = along_i(-d);
        if (facing == NORTH) lily.position = along_j(-d / 2);
        if (facing == SOUTH) lily.position = along_j(d / 2);
        ctx().transform.center = lily.position;
        ASSERT_EQ(lily.walk_frame(), frame);
    }
    int count_label_pixels(int cx, int cy) {
        int n = 0;
        for (int y = cy - 12; y <= cy + 12; ++y) {
            for (int x = cx - 30; x <= cx + 30; ++x) {
                const std::uint32_t p = pixel(x, y);
                if (p == CYAN || p == MAGENTA || p == YELLOW) ++n;
            }
        }
        return n;
    }

    World world;
    Lily lily;
};

TEST_F(LilyDraw, BodyAndArmsFollowFacingAndStride) {
    struct Case {
        const char* what;
        Fixed facing;
        std::uint32_t frame;
        int row;             // her sheet row: the facing sector
        CellId front_arm;    // the arm drawn over her body
        SDL_Point arm_at;    // its top-left corner
        SDL_Point behind;    // a pixel of the arm behind her that her body must cover
    };
    const std::vector<Case> cases{
        {"east, standing", EAST, 0, 0, {"arms", 0, 0}, {310, 157}, {315, 154}},
        {"east, stride 1", EAST, 1, 0, {"arms", 1, 0}, {310, 158}, {315, 155}},
        {"east, stride 3", EAST, 3, 0, {"arms", 2, 0}, {310, 158}, {315, 155}},
        {"east, stride 2", EAST, 2, 0, {"arms", 0, 0}, {310, 157}, {315, 154}},
        {"north, stride 1", NORTH, 1, 1, {"arms", 2, 1}, {305, 156}, {325, 160}},
        {"west, stride 3", WEST, 3, 2, {"arms", 1, 2}, {312, 158}, {315, 155}},
        {"south, stride 4", SOUTH, 4, 3, {"arms", 0, 3}, {305, 155}, {325, 160}},
    };
    for (const auto& c : cases) {
        pose(c.facing, c.frame);
        clear();
        ASSERT_TRUE(lily.draw(ctx(), 0)) << c.what;
        const auto body = cell_id("lily", static_cast<int>(c.frame), c.row);
        EXPECT_EQ(identify(pixel(305, 135)), body) << c.what << ": " << describe(pixel(305, 135));
        EXPECT_EQ(identify(pixel(334, 196)), body) << c.what;
        const SDL_Point a = c.arm_at;
        for (const SDL_Point p : {a, SDL_Point{a.x + 15, a.y + 15}}) {
            EXPECT_EQ(identify(pixel(p.x, p.y)), std::optional(c.front_arm))
                << c.what << " at " << p.x << "," << p.y << ": " << describe(pixel(p.x, p.y));
        }
        EXPECT_EQ(identify(pixel(a.x + 4, a.y - 1)), body) << c.what << ": the arm starts lower";
        EXPECT_EQ(identify(pixel(c.behind.x, c.behind.y)), body) << c.what << ": the far arm shows through";
    }
}

TEST_F(LilyDraw, ToolInHandShowsItsSecondVariantWhileTheArmIsRaised) {
    lily.tool = std::make_unique<Hoe>();
    lily.arm_until = 100;
    struct Case {
        Fixed facing;
        std::uint16_t now;
        SDL_Point probe;
        CellId cell;
    };
    const std::vector<Case> cases{
        // East: the hand is in front, the hoe's cell spans x 303..334, y 151..182.
        {EAST, 99, {303, 151}, {"tools", 1, 2}},
        {EAST, 0, {334, 182}, {"tools", 1, 2}},
        {EAST, 100, {303, 151}, {"tools", 0, 2}},
        {EAST, 101, {334, 182}, {"tools", 0, 2}},
        // West: the hand is behind her; only the hoe's last column peeks out past her back.
        {WEST, 99, {336, 160}, {"tools", 5, 2}},
        {WEST, 100, {336, 160}, {"tools", 4, 2}},
    };
    for (const auto& c : cases) {
        pose(c.facing, 0);
        clear();
        ASSERT_TRUE(lily.draw(ctx(), c.now));
        EXPECT_EQ(identify(pixel(c.probe.x, c.probe.y)), std::optional(c.cell))
            << c.now << ": " << describe(pixel(c.probe.x, c.probe.y));
    }
    pose(EAST, 0);
    clear();
    ASSERT_TRUE(lily.draw(ctx(), 99));
    EXPECT_EQ(pixel(302, 160), BACKGROUND) << "the hoe starts at x 303";
    EXPECT_EQ(identify(pixel(320, 183)), cell_id("lily", 0, 0)) << "the hoe ends at y 182";
}

TEST_F(LilyDraw, WateringCanMeterHangsMirroredBesideTheHand) {
    auto can = std::make_unique<WateringCan>();
    can->water = 16;
    lily.tool = std::move(can);
    pose(EAST, 0);
    ASSERT_TRUE(lily.draw(ctx(), 0));
    // Facing east the meter's point is (315, 169) and it opens to the left.
    constexpr std::uint32_t BLUE = 0xFFFF0000;
    constexpr std::uint32_t GREY = 0xFF808080;
    EXPECT_EQ(pixel(315, 177), BLUE) << describe(pixel(315, 177));
    EXPECT_EQ(pixel(308, 169), BLUE) << describe(pixel(308, 169));
    EXPECT_EQ(pixel(308, 165), GREY) << describe(pixel(308, 165));
    EXPECT_EQ(pixel(315, 161), GREY) << describe(pixel(315, 161));
    EXPECT_EQ(identify(pixel(322, 169)), cell_id("tools", 0, 0)) << "nothing of the meter on the right";
}

TEST_F(LilyDraw, CarriedFlowersRideTwoAndAHalfUnitsApartOverHerHead) {
    // Two rows up the plants stand at y 90..153; four of them centred on her at -3.75, -1.25,
    // +1.25 and +3.75 units: left edges 244, 284, 324, 364.
    for (int k = 0; k < 4; ++k) lily.carried_flowers.push_back(Flower{NEVER, {0, 0, 0}, FlowerStage::Seed});
    ASSERT_TRUE(lily.draw(ctx(), 0));
    for (const int left : {244, 284, 324, 364}) {
        EXPECT_EQ(identify(pixel(left, 100)), cell_id("plants", 0, 1)) << left << ": " << describe(pixel(left, 100));
        EXPECT_EQ(identify(pixel(left + 31, 91)), cell_id("plants", 0, 1)) << left;
        EXPECT_EQ(pixel(left - 1, 100), BACKGROUND) << left;
        EXPECT_EQ(pixel(left + 32, 100), BACKGROUND) << left;
        EXPECT_EQ(pixel(left, 89), BACKGROUND) << left;
        EXPECT_EQ(count_label_pixels(left + 16, 136), 0) << "a seed has no genome label";
    }
}

TEST_F(LilyDraw, CarriedItemsShowTheirStage) {
    struct Case {
        const char* what;
        std::optional<FlowerStage> stage;  // none: a hive
        std::optional<CellId> top;         // what shows at (305, 100)
        bool labelled;
    };
    const std::vector<Case> cases{
        {"a sprout", FlowerStage::Sprout, cell_id("plants", 0, 2), false},
        {"a bud", FlowerStage::Bud, cell_id("flowers", 0, 0), true},
        {"an open flower", FlowerStage::Flower, cell_id("flowers", 0, 1), true},
        {"a hive", std::nullopt, cell_id("plants", 0, 4), false},
    };
    for (const auto& c : cases) {
        lily.carried_flowers.clear();
        lily.carried_hive.reset();
        if (c.stage) lily.carried_flowers.push_back(Flower{NEVER, {0, 0, 0}, *c.stage});
        else lily.carried_hive = CarriedHive{1000, 3};
        clear();
        ASSERT_TRUE(lily.draw(ctx(), 0));
        EXPECT_EQ(identify(pixel(305, 100)), c.top) << c.what << ": " << describe(pixel(305, 100));
        EXPECT_EQ(count_label_pixels(320, 136) > 0, c.labelled) << c.what;
    }
    lily.carried_hive.reset();
    lily.carried_flowers.clear();
    clear();
    ASSERT_TRUE(lily.draw(ctx(), 0));
    EXPECT_EQ(pixel(305, 100), BACKGROUND) << "empty hands carry nothing";
}

TEST_F(LilyDraw, NothingIsDrawnWhileSheIsInsideABuilding) {
    lily.in_building = true;
    lily.carried_hive = CarriedHive{};
    lily.tool = std::make_unique<Hoe>();
    lily.selection = cell(2, 0);
    ASSERT_TRUE(lily.draw(ctx(), 0));
    ASSERT_TRUE(lily.draw_selection(ctx(), world));
    for (int y = 80; y < 200; y += 2) {
        for (int x = 150; x < 500; x += 2) ASSERT_EQ(pixel(x, y), BACKGROUND) << x << "," << y;
    }
}

// Selection marks, read from a white ground sheet: a yellow range mark comes out (254, 254, 0),
// the hoe's mark (63, 63, 0); cell (i, j) has its centre pixel at (320 + 16 i, 180 + 22 j).
class SelectionDraw : public LilyDraw {
protected:
    void SetUp() override {
        LilyDraw::SetUp();
        ctx().ground = white_sheet();
    }
    TexturePtr white_sheet() {
        TexturePtr t{SDL_CreateTexture(renderer(), SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, 256, 32)};
        std::vector<std::uint32_t> pixels(256 * 32, 0xFFFFFFFFu);
        SDL_UpdateTexture(t.get(), nullptr, pixels.data(), 256 * 4);
        return t;
    }
    std::uint32_t at(int i, int j) { return pixel(320 + 16 * i, 180 + 22 * j); }
    static constexpr std::uint32_t RANGE = 0xFF00FEFE;
    static constexpr std::uint32_t HOE = 0xFF003F3F;
};

TEST_F(SelectionDraw, ToolMarkOnlyWhereTheToolCanWork) {
    lily.tool = std::make_unique<Hoe>();
    world.set_tile(cell(-2, 0), Water{});
    struct Case {
        std::optional<Cell> selection;
        std::uint32_t at_target;
    };
    const std::vector<Case> cases{{cell(2, 0), HOE}, {cell(-2, 0), BACKGROUND}, {std::nullopt, BACKGROUND}};
    for (const auto& c : cases) {
        lily.selection = c.selection;
        clear();
        ASSERT_TRUE(lily.draw_selection(ctx(), world));
        const Cell t = c.selection.value_or(cell(2, 0));
        EXPECT_EQ(at(as_i16(t.i), as_i16(t.j)), c.at_target) << describe(at(as_i16(t.i), as_i16(t.j)));
        EXPECT_EQ(at(0, 0), BACKGROUND);
        EXPECT_EQ(at(4, 0), BACKGROUND);
    }
}

TEST_F(SelectionDraw, SelectedHiveShowsItsRangeButNoToolMark) {
    world.set_tile(cell(2, 0), Hive{BeeHive{cell(2, 0), 0, 1}});
    lily.selection = cell(2, 0);
    ASSERT_TRUE(lily.draw_selection(ctx(), world));
    int marked = 0;
    for (int j = -8; j <= 8; ++j) {
        for (int i = -18; i <= 18; ++i) {
            if (((i ^ j) & 1) != 0) continue;
            const std::uint16_t d = distance(cell(i, j), cell(2, 0));
            const std::uint32_t p = at(i, j);
            EXPECT_EQ(p == RANGE, d >= 1 && d <= 8) << i << "," << j << ": " << describe(p);
            if (p == RANGE) ++marked;
        }
    }
    EXPECT_EQ(marked, 216);
    EXPECT_EQ(at(2, 0), BACKGROUND);
}

TEST_F(SelectionDraw, CarriedHiveShowsEveryRangeAndTheOneItWouldHave) {
    world.set_tile(cell(-14, 0), Hive{BeeHive{cell(-14, 0), 0, 1}});
    lily.carried_hive = CarriedHive{};
    lily.tool = std::make_unique<Hoe>();
    lily.selection = cell(6, 0);
    ASSERT_TRUE(lily.draw_selection(ctx(), world));
    for (int j = -7; j <= 7; ++j) {
        for (int i = -19; i <= 19; ++i) {
            if (((i ^ j) & 1) != 0) continue;
            const std::uint16_t to_hive = distance(cell(i, j), cell(-14, 0));
            const std::uint16_t to_target = distance(cell(i, j), cell(6, 0));
            std::uint32_t expected = BACKGROUND;
            if ((to_hive >= 1 && to_hive <= 8) || (to_target >= 1 && to_target <= 8)) expected = RANGE;
            if (to_target == 0) expected = HOE;  // the hoe can work the lawn under the new hive
            EXPECT_EQ(at(i, j), expected) << i << "," << j << ": " << describe(at(i, j));
        }
    }
}

}  // namespace
}  // namespace qm
