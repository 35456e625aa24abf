// The four tools: when each shows its marker, what a use does to the tile and what it asks of the
// gardener.
#include "tools.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "menu_from_request.hpp"
#include "random.hpp"
#include "world.hpp"

namespace qm {
namespace {

// A cell in a row whose default is tall grass, well away from the shed.
constexpr Cell SPOT = cell(40, 20);

Flower flower_at(FlowerStage stage, std::uint16_t next_stage) {
    Flower f;
    f.stage = stage;
    f.next_stage = next_stage;
    f.genes = {0, 1, 2};
    return f;
}

TEST(Tools, NumbersAndTints) {
    const std::unique_ptr<Tool> tools[] = {tool_for(Choice::WateringCan), tool_for(Choice::Shovel),
                                           tool_for(Choice::Hoe), tool_for(Choice::Smoker)};
    const std::uint32_t tints[] = {0xFF0000, 0x000000, 0x004040, 0x00FFFF};
    for (std::uint32_t k = 0; k < 4; ++k) {
        ASSERT_TRUE(tools[k]);
        EXPECT_EQ(std::to_underlying(tools[k]->kind()), k);
        EXPECT_EQ(tools[k]->tint(), tints[k]);
    }
    EXPECT_FALSE(tool_for(Choice::EmptyHands));
    EXPECT_EQ(dynamic_cast<WateringCan&>(*tools[0]).water, 16);
}

// can_use for each tool on each kind of tile: (carrying flowers, carrying hive) = (false, false).
TEST(Tools, MarkerTable) {
    World world;
    const Tile tiles[] = {Lawn{}, TallGrass{}, Hive{BeeHive{SPOT, 0, 1}}, Soil{}, Soil{std::nullopt, true},
                          Soil{flower_at(FlowerStage::Seed, 3000), false}, Water{}};
    //                        lawn  grass  hive   soil   wet    flower water
    const bool can[4][7] = {{false, false, false, true, false, true, false},   // can with water
                            {false, false, false, false, false, true, false},  // shovel
                            {true, true, true, false, false, false, false},    // hoe
                            {false, false, true, false, false, false, false}}; // smoker
    for (std::size_t t = 0; t < 4; ++t) {
        const auto tool = tool_for(static_cast<Choice>(t));
        for (std::size_t k = 0; k < 7; ++k) {
            world.set_tile(SPOT, tiles[k]);
            EXPECT_EQ(tool->can_use(world, SPOT.i, SPOT.j, false, false), can[t][k]) << "tool " << t << " tile " << k;
        }
    }
}

TEST(WateringCan, WatersDrySoilOnceAndRestartsAStalledBud) {
    World world;
    WateringCan can;
    set_rng_state(21);
    world.set_tile(SPOT, Soil{flower_at(FlowerStage::Bud, NEVER), false});
    EXPECT_EQ(can.use_tool(world, SPOT.i, SPOT.j, 9000).kind, ToolOutcome::Kind::Used);
    const auto& soil = std::get<Soil>(world.get_tile(SPOT));
    EXPECT_TRUE(soil.watered);
    EXPECT_GE(soil.flower->next_stage, 9000 + 1920);
    EXPECT_LE(soil.flower->next_stage, 9000 + 5759);
    EXPECT_EQ(can.water, 15);
    // Already watered: nothing, no charge used.
    EXPECT_EQ(can.use_tool(world, SPOT.i, SPOT.j, 9001).kind, ToolOutcome::Kind::Nothing);
    EXPECT_EQ(can.water, 15);
}

TEST(WateringCan, ABudGrowingNormallyKeepsItsTimes) {
    World world;
    WateringCan can;
    world.set_tile(SPOT, Soil{flower_at(FlowerStage::Bud, 12000), false});
    EXPECT_EQ(can.use_tool(world, SPOT.i, SPOT.j, 9000).kind, ToolOutcome::Kind::Used);
    EXPECT_EQ(std::get<Soil>(world.get_tile(SPOT)).flower->next_stage, 12000);
}

TEST(WateringCan, RefillsAtThePondEvenWhenNotEmpty) {
    World world;
    world.set_tile(SPOT, Water{});
    WateringCan can;
    can.water = 32;
    EXPECT_FALSE(can.can_use(world, SPOT.i, SPOT.j, false, false));
    EXPECT_EQ(can.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::Used);
    EXPECT_EQ(can.water, 32);
    can.water = 0;
    EXPECT_TRUE(can.can_use(world, SPOT.i, SPOT.j, false, false));
    can.use_tool(world, SPOT.i, SPOT.j, 0);
    EXPECT_EQ(can.water, 32);
    // An empty can does nothing to dry soil.
    can.water = 0;
    world.set_tile(SPOT, Soil{});
    EXPECT_EQ(can.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::Nothing);
    EXPECT_FALSE(std::get<Soil>(world.get_tile(SPOT)).watered);
}

TEST(Shovel, DigsUpTheFlowerUnchangedAndAsksToPlantOnEmptySoil) {
    World world;
    Shovel shovel;
    const Flower f = flower_at(FlowerStage::Sprout, 7777);
    world.set_tile(SPOT, Soil{f, true});
    const ToolOutcome dug = shovel.use_tool(world, SPOT.i, SPOT.j, 100);
    EXPECT_EQ(dug.kind, ToolOutcome::Kind::PickedUp);
    EXPECT_EQ(dug.flower, f);
    EXPECT_EQ(world.get_tile(SPOT), (Tile{Soil{std::nullopt, true}}));
    EXPECT_EQ(shovel.use_tool(world, SPOT.i, SPOT.j, 100).kind, ToolOutcome::Kind::Plant);
    EXPECT_TRUE(shovel.can_use(world, SPOT.i, SPOT.j, true, false));
    EXPECT_FALSE(shovel.can_use(world, SPOT.i, SPOT.j, false, false));
    world.set_tile(SPOT, Lawn{});
    EXPECT_EQ(shovel.use_tool(world, SPOT.i, SPOT.j, 100).kind, ToolOutcome::Kind::Nothing);
}

TEST(Hoe, TillsGrassAndLawnOnly) {
    World world;
    Hoe hoe;
    const struct {
        Tile before;
        ToolOutcome::Kind kind;
        Tile after;
    } cases[] = {
        {Lawn{}, ToolOutcome::Kind::Used, Soil{}},
        {TallGrass{}, ToolOutcome::Kind::Used, Soil{}},
        {Hive{BeeHive{SPOT, 5, 2}}, ToolOutcome::Kind::Nothing, Hive{BeeHive{SPOT, 5, 2}}},
        {Water{}, ToolOutcome::Kind::Nothing, Water{}},
        {Soil{flower_at(FlowerStage::Seed, 2000), true}, ToolOutcome::Kind::Nothing,
         Soil{flower_at(FlowerStage::Seed, 2000), true}},
    };
    for (const auto& c : cases) {
        world.set_tile(SPOT, c.before);
        EXPECT_EQ(hoe.use_tool(world, SPOT.i, SPOT.j, 0).kind, c.kind);
        EXPECT_EQ(world.get_tile(SPOT), c.after);
    }
}

TEST(Smoker, OpensTheHiveMenuOnlyWhenThereIsSomethingToDo) {
    World world;
    Smoker smoker;
    world.set_tile(SPOT, Hive{BeeHive{SPOT, HONEY_MAX - 1, 2}});
    EXPECT_EQ(smoker.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::Used);
    world.set_tile(SPOT, Hive{BeeHive{SPOT, HONEY_MAX, 2}});
    const ToolOutcome full = smoker.use_tool(world, SPOT.i, SPOT.j, 0);
    ASSERT_EQ(full.kind, ToolOutcome::Kind::Menu);
    EXPECT_EQ(menu_from_request(*full.menu).items.size(), 2u);
    world.set_tile(SPOT, Hive{BeeHive{SPOT, 0, 3}});
    EXPECT_EQ(smoker.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::Menu);
    EXPECT_FALSE(smoker.can_use(world, SPOT.i, SPOT.j, false, true));
    world.set_tile(SPOT, Water{});
    EXPECT_EQ(smoker.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::Nothing);
    for (const Tile& t : {Tile{Lawn{}}, Tile{TallGrass{}}, Tile{Soil{flower_at(FlowerStage::Flower, NEVER), false}}}) {
        world.set_tile(SPOT, t);
        EXPECT_EQ(smoker.use_tool(world, SPOT.i, SPOT.j, 0).kind, ToolOutcome::Kind::PlaceHive);
        EXPECT_TRUE(smoker.can_use(world, SPOT.i, SPOT.j, false, true));
        EXPECT_FALSE(smoker.can_use(world, SPOT.i, SPOT.j, false, false));
    }
}

}  // namespace
}  // namespace qm
