// The gardener: walking and its obstacles, entering the shed, turning, selecting the tile she works
// on, and carrying out her tool's outcomes.
#include "lily.hpp"
#include "menu_from_request.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "buildings.hpp"
#include "world.hpp"

namespace qm {
namespace {

constexpr std::int32_t U = 65536;

Lily standing_at(Cell c) {
    Lily lily;
    lily.position = centre_of(c);
    lily.anchor = lily.position;
    return lily;
}

Flower flower(std::uint8_t red_gene) {
    Flower f;
    f.genes = {red_gene, 0, 0};
    f.stage = FlowerStage::Sprout;
    f.next_stage = 100;
    return f;
}

TEST(FacingSector, SplitsDirectionsIntoFourSectors) {
    const struct {
        std::int32_t i, j;
        std::uint32_t sector;
    } cases[] = {
        {0, 0, 0},       {8192, 0, 0},     {-8192, 0, 2},   {0, -4096, 1},  {0, 4096, 3},
        {4096, -4096, 1}, {4096, 4096, 3}, {-4096, 4096, 3}, {-4096, -4096, 1}, {65536 * 6, 65536 * 2, 0},
        {-65536 * 6, -65536 * 2, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(std::to_underlying(facing_sector(Fixed{c.i, c.j})), c.sector) << c.i << "," << c.j;
}

TEST(Turn, RestartsTheWalkCycleOnlyWhenTheSectorChanges) {
    Lily lily = standing_at(cell(40, 20));
    lily.turn(8192, 0);
    lily.position = lily.position + Fixed{3 * 8192, 0};
    lily.turn(4096, 4096 * 0);  // still east
    EXPECT_EQ(lily.anchor, centre_of(cell(40, 20)));
    lily.turn(0, -4096);  // north
    EXPECT_EQ(lily.anchor, lily.position);
    EXPECT_EQ(lily.facing, (Fixed{0, -4096}));
}

TEST(Walk, AZeroStepChangesNothing) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.facing = Fixed{8192, 0};
    lily.selection = cell(2, 0);
    lily.anchor = Fixed{0, 0};
    EXPECT_FALSE(lily.walk(world, 0, 0));
    lily.turn(0, 0);
    EXPECT_EQ(lily.facing, (Fixed{8192, 0}));
    EXPECT_EQ(lily.anchor, (Fixed{0, 0}));
    EXPECT_EQ(lily.selection, cell(2, 0));
}

TEST(Walk, MovesAndSelectsTheTileAhead) {
    World world;
    const struct {
        std::int32_t di, dj;
        Cell ahead;
    } cases[] = {{8192, 0, cell(2, 0)}, {-8192, 0, cell(-2, 0)}, {4096, 4096, cell(1, 1)},
                 {-4096, -4096, cell(-1, -1)}, {4096, -4096, cell(1, -1)}};
    for (const auto& c : cases) {
        Lily lily = standing_at(cell(40, 20));
        EXPECT_FALSE(lily.walk(world, c.di, c.dj));
        EXPECT_EQ(lily.position, (centre_of(cell(40, 20)) + Fixed{c.di, c.dj}));
        EXPECT_EQ(lily.selection, c.ahead) << c.di << "," << c.dj;
    }
}

// Whichever way she walks, the selection ahead is one of her six neighbours: the tile one unit
// ahead where that is one, otherwise the neighbour nearest to that point.
TEST(Walk, TheSelectionAheadIsAlwaysANeighbour) {
    World world;
    std::vector<Fixed> steps{{0, -4096}, {0, 4096}, {16384, -65536}, {-16384, 65536}, {2, -4096}};
    for (double a = 0; a < 2 * std::numbers::pi; a += std::numbers::pi / 32) {  // 64 directions
        steps.push_back({2 * static_cast<std::int32_t>(std::lround(4096 * std::cos(a))),
                         2 * static_cast<std::int32_t>(std::lround(2048 * std::sin(a)))});
    }
    int mended = 0;
    for (const Cell start : {cell(40, 20), cell(41, 21), cell(-40, -20)})
        for (const Fixed step : steps) {
            Lily lily = standing_at(start);
            for (int frame = 0; frame < 99; ++frame) {
                lily.walk(world, step.i, step.j);
                const Fixed ahead = lily.position + with_length(step, U);
                const Cell here = containing_tile(lily.position), rounded = containing_tile(ahead) - here;
                const Cell chosen = lily.selection.value_or(Cell{});
                ASSERT_EQ(std::ranges::count(NEIGHBOURS, chosen), 1) << step.i << "," << step.j << " frame " << frame;
                if (std::ranges::count(NEIGHBOURS, rounded)) EXPECT_EQ(chosen, rounded);
                else mended += std::ranges::all_of(NEIGHBOURS, [&](Cell o) { return distance(ahead, centre_of(here + chosen)) <= distance(ahead, centre_of(here + o)); }) ? 1 : -1000;
            }
        }
    EXPECT_GT(mended, 30);  // walking straight north from a cell centre alone rounds off 30 times
}

TEST(Walk, WaterBlocksAndRestartsTheCycle) {
    World world;
    world.set_tile(cell(42, 20), Water{});
    Lily lily = standing_at(cell(40, 20));
    lily.turn(8192, 0);
    lily.walk(world, 8192 * 5, 0);  // her feet still on dry land
    const Fixed before = lily.position;
    lily.anchor = centre_of(cell(40, 20));
    EXPECT_FALSE(lily.walk(world, 8192, 0));  // into the pond's hexagon
    EXPECT_EQ(lily.position, before);
    EXPECT_EQ(lily.anchor, before);
}

TEST(Walk, EntersTheShedOnlyFromItsRowOrBelow) {
    World world;
    // From the exit point, one row below the door, a step up into the footprint opens the menu.
    Lily lily;
    lily.position = Shed::EXIT_POINT;
    lily.anchor = lily.position;
    auto menu = lily.walk(world, 0, -69632);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu_from_request(*menu).items.size(), 5u);
    EXPECT_TRUE(lily.in_building);
    EXPECT_EQ(lily.position, centre_of(Shed::BASE));
    EXPECT_EQ(lily.anchor, centre_of(Shed::BASE));

    // From the row above, stepping down onto the roof: no menu, and she does not move.
    Lily above;
    above.position = Fixed{2 * U, -15 * U};
    above.anchor = Fixed{0, 0};
    EXPECT_FALSE(above.walk(world, 0, 32768));
    EXPECT_FALSE(above.in_building);
    EXPECT_EQ(above.position, (Fixed{2 * U, -15 * U}));
    EXPECT_EQ(above.anchor, above.position);
}

TEST(Walk, TheShedMenuHandsOutToolsAndLetsHerOut) {
    World world;
    const std::uint32_t expected_which[] = {0, 1, 2, 3};
    for (std::size_t index = 0; index < 5; ++index) {
        Lily lily;
        lily.position = Shed::EXIT_POINT;
        lily.tool = tool_for(Choice::Hoe);
        auto menu = lily.walk(world, 0, -69632);
        ASSERT_TRUE(menu);
        const auto result = menu_from_request(*menu).run_action(index, world, lily);
        ASSERT_TRUE(result);
        EXPECT_FALSE(result->has_value());  // the menu closes
        EXPECT_FALSE(lily.in_building);
        EXPECT_EQ(lily.position, Shed::EXIT_POINT);
        EXPECT_EQ(lily.anchor, Shed::EXIT_POINT);
        if (index < 4) {
            ASSERT_TRUE(lily.tool);
            EXPECT_EQ(std::to_underlying(lily.tool->kind()), expected_which[index]);
        } else {
            EXPECT_FALSE(lily.tool);
        }
        // She can walk straight back in.
        EXPECT_TRUE(lily.walk(world, 0, -69632));
    }
}

// Points all over one tile, the ways she may stand in it.
std::vector<Fixed> points_inside(Cell c) {
    std::vector<Fixed> points;
    for (std::int32_t a = -U; a <= U; a += U / 16)
        for (std::int32_t b = -U; b <= U; b += U / 16)
            if (const Fixed p = centre_of(c) + Fixed{a, b}; containing_tile(p) == c) points.push_back(p);
    return points;
}

// From anywhere in her tile: walking, she aims at the neighbour she faces (straight up or down,
// the nearer of the two that way: for her left half, her right half); the pointer over a neighbour
// aims at exactly that tile, over her own tile or further, at the neighbour in its direction.
TEST(Aim, SheAimsAtTheNeighbourSheFacesOrTheOneUnderOrTowardThePointer) {
    World world;
    const Cell tile = cell(40, 20);
    const std::array<std::pair<Fixed, std::array<Cell, 2>>, 8> facings{{
        {{8192, 0}, {cell(2, 0), cell(2, 0)}}, {{-8192, 0}, {cell(-2, 0), cell(-2, 0)}}, {{4096, -4096}, {cell(1, -1), cell(1, -1)}},
        {{-4096, -4096}, {cell(-1, -1), cell(-1, -1)}}, {{4096, 4096}, {cell(1, 1), cell(1, 1)}},
        {{-4096, 4096}, {cell(-1, 1), cell(-1, 1)}}, {{0, -4096}, {cell(-1, -1), cell(1, -1)}}, {{0, 4096}, {cell(-1, 1), cell(1, 1)}}}};
    for (const Fixed p : points_inside(tile)) {
        Lily lily = standing_at(tile);
        const std::int32_t across = p.i - centre_of(tile).i;
        for (const auto& [step, aims] : facings) {
            lily.position = p - step;
            lily.walk(world, step.i, step.j);
            const Cell either = lily.selection == aims[0] ? aims[0] : aims[1];  // straight above or below her middle
            EXPECT_EQ(lily.selection, across == 0 ? either : aims[across > 0]) << step.i << "," << step.j << " at " << across;
        }
        for (const Cell d : NEIGHBOURS)
            for (const std::int32_t quarters : {1, 2, 3, 4, 6, 9, 40}) {
                const Fixed pointer = p + Fixed{centre_of(d).i / 4 * quarters, centre_of(d).j / 4 * quarters};
                const Cell under = containing_tile(pointer) - tile;
                lily.select_pointed(pointer);
                EXPECT_EQ(lily.selection, std::ranges::count(NEIGHBOURS, under) ? under : d) << quarters << "/4 of " << as_i16(d.i) << "," << as_i16(d.j);
            }
    }
}

TEST(UseTool, OncePerTileWhileHeld) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<WateringCan>();
    world.set_tile(cell(42, 20), Soil{});
    world.set_tile(cell(41, 21), Soil{});
    auto& can = static_cast<WateringCan&>(*lily.tool);
    lily.selection = cell(2, 0);
    lily.use_tool(world, 500, true);
    EXPECT_EQ(can.water, 15);
    EXPECT_EQ(lily.arm_until, 508);
    world.set_tile(cell(42, 20), Soil{});  // dry again: still held, so no second use
    lily.use_tool(world, 501, true);
    EXPECT_EQ(can.water, 15);
    lily.selection = cell(1, 1);  // slide onto another tile
    lily.use_tool(world, 502, true);
    EXPECT_EQ(can.water, 14);
    lily.use_tool(world, 503, false);  // release
    EXPECT_FALSE(lily.last_used);
    lily.selection = cell(2, 0);
    lily.use_tool(world, 504, true);
    EXPECT_EQ(can.water, 13);
}

TEST(UseTool, WithoutToolOrSelectionNothingHappens) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.selection = cell(2, 0);
    EXPECT_FALSE(lily.use_tool(world, 10, true));
    EXPECT_FALSE(lily.last_used);
    lily.tool = std::make_unique<Hoe>();
    lily.selection.reset();
    lily.use_tool(world, 10, true);
    EXPECT_EQ(world.get_tile(cell(42, 20)), Tile{TallGrass{}});
}

TEST(UseTool, FlowersArePlantedInTheOrderTheyWereDug) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Shovel>();
    const Cell east = cell(42, 20);
    for (std::uint8_t g = 0; g < 3; ++g) {
        world.set_tile(east, Soil{flower(g), false});
        lily.selection = cell(2, 0);
        lily.use_tool(world, 100, true);
        lily.use_tool(world, 100, false);
    }
    ASSERT_EQ(lily.carried_flowers.size(), 3u);
    const Cell targets[] = {cell(2, 0), cell(1, 1), cell(-1, 1)};
    for (const Cell t : targets) world.set_tile(containing_tile(lily.position) + t, Soil{});
    for (std::uint8_t g = 0; g < 3; ++g) {
        lily.selection = targets[g];
        lily.use_tool(world, 200, true);
        lily.use_tool(world, 201, false);
        const Flower* planted = flower_on(world.get_tile(containing_tile(lily.position) + targets[g]));
        ASSERT_TRUE(planted);
        EXPECT_EQ(planted->genes[0], g);
        EXPECT_GE(planted->next_stage, 200 + 1920);  // replanted seeds and sprouts wait at least an hour
    }
    EXPECT_TRUE(lily.carried_flowers.empty());
}

TEST(UseTool, PlantingOnEmptySoilWithNothingCarriedDoesNothing) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Shovel>();
    world.set_tile(cell(42, 20), Soil{std::nullopt, true});
    lily.selection = cell(2, 0);
    lily.use_tool(world, 100, true);
    EXPECT_EQ(world.get_tile(cell(42, 20)), (Tile{Soil{std::nullopt, true}}));
    EXPECT_EQ(lily.arm_until, 0);
}

TEST(UseTool, AHiveMenuOpensClearsTheSelectionAndLeavesTheTileUnused) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Smoker>();
    world.set_tile(cell(42, 20), Hive{BeeHive{cell(42, 20), HONEY_MAX, 1}});
    lily.selection = cell(2, 0);
    auto menu = lily.use_tool(world, 300, true);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(lily.selection);
    EXPECT_FALSE(lily.last_used);
    EXPECT_EQ(lily.arm_until, 308);
}

TEST(UseTool, CarryingAHiveTheMenuIsDiscardedButTheTileCountsAsUsed) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Smoker>();
    lily.carried_hive = CarriedHive{0, 2};
    world.set_tile(cell(42, 20), Hive{BeeHive{cell(42, 20), HONEY_MAX, 1}});
    lily.selection = cell(2, 0);
    EXPECT_FALSE(lily.use_tool(world, 300, true));
    EXPECT_EQ(lily.last_used, cell(42, 20));
    EXPECT_TRUE(lily.selection);
    EXPECT_EQ(lily.arm_until, 0);
}

TEST(UseTool, ACarriedHiveIsSetDownWhereSheAims) {
    World world;
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Smoker>();
    lily.carried_hive = CarriedHive{77, 3};
    const Cell spot = cell(41, 21);
    world.set_tile(spot, Soil{flower(2), true});
    lily.selection = cell(1, 1);
    lily.use_tool(world, 10, true);
    EXPECT_EQ(world.get_tile(spot), (Tile{Hive{BeeHive{spot, 77, 3}}}));
    EXPECT_FALSE(lily.carried_hive);
    EXPECT_EQ(world.hive_ranges().count(spot), 1u);
    // Without a carried hive the smoker on grass asks to place one, and nothing happens.
    lily.selection = cell(2, 0);
    lily.use_tool(world, 11, true);
    EXPECT_EQ(world.get_tile(cell(42, 20)), Tile{TallGrass{}});
}

TEST(MorningReset, EmptiesHerHandsAndBringsHerToTheStart) {
    Lily lily = standing_at(cell(40, 20));
    lily.tool = std::make_unique<Hoe>();
    lily.carried_flowers.push_back(flower(1));
    lily.carried_hive = CarriedHive{5, 2};
    lily.facing = Fixed{0, -4096};
    lily.selection = cell(1, 1);
    lily.last_used = cell(3, 3);
    lily.arm_until = 99;
    lily.in_building = true;
    lily.morning_reset();
    EXPECT_FALSE(lily.tool);
    EXPECT_TRUE(lily.carried_flowers.empty());
    EXPECT_EQ(lily.position, (Fixed{2 * U, -12 * U}));
    EXPECT_EQ(lily.anchor, (Fixed{2 * U, -12 * U}));
    EXPECT_FALSE(lily.last_used);
    EXPECT_EQ(lily.arm_until, 0);
    EXPECT_FALSE(lily.in_building);
    // What she carries on her back, where she looks and what she selected stay.
    EXPECT_EQ(lily.carried_hive, (CarriedHive{5, 2}));
    EXPECT_EQ(lily.facing, (Fixed{0, -4096}));
    EXPECT_EQ(lily.selection, cell(1, 1));
}

}  // namespace
}  // namespace qm
