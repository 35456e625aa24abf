// The world map: row defaults, set_tile's upkeep of the hive ranges, the farm layout, walking and
// the per-frame update.
#include "world.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "random.hpp"
#include "support/world_helpers.hpp"

namespace qm {
namespace {

using test::flowers_within_range;
using test::hive_tile;
using test::in_bloom;
using test::map_invariants_hold;
using test::soil_with;

TEST(NewWorld, ReadsRowDefaultsAndHoldsOnlyTheShed) {
    const World world;
    EXPECT_TRUE(world.tiles.empty());
    EXPECT_TRUE(world.hive_ranges.empty());
    ASSERT_EQ(world.buildings.size(), 1u);
    EXPECT_NE(dynamic_cast<const Shed*>(world.buildings[0].get()), nullptr);

    struct Case { int i, j; Tile expected; };
    const std::vector<Case> cases{
        {5, 1, Soil{}}, {0, 0, Soil{}}, {-4, 2, Soil{}}, {4, 4, TallGrass{}}, {1, 3, TallGrass{}},
        {0, -2, TallGrass{}}, {-1, -1, TallGrass{}}, {0, -32768, TallGrass{}}, {1, 32767, TallGrass{}}};
    for (const auto& c : cases) {
        EXPECT_EQ(world.get_tile(cell(c.i, c.j)), c.expected) << "cell (" << c.i << ", " << c.j << ")";
    }
}

TEST(SetTile, StoresOnlyWhatDiffersFromTheRowDefault) {
    struct Case { int i, j; Tile tile; bool stored; };
    const std::vector<Case> cases{
        {4, 4, TallGrass{}, false},        {4, 2, Soil{}, false},
        {4, 4, Soil{}, true},              {0, 2, TallGrass{}, true},
        {1, -1, Soil{}, true},             {0, 0, Soil{std::nullopt, true}, true},
        {6, 0, Lawn{}, true},              {6, -4, Lawn{}, true},
        {3, 1, soil_with(in_bloom()), true}, {-1, 65535 - 65536, TallGrass{}, false},
    };
    for (const auto& c : cases) {
        World world;
        // Something else first, so that writing the default has an entry to remove.
        world.set_tile(cell(c.i, c.j), Water{});
        world.set_tile(cell(c.i, c.j), c.tile);
        EXPECT_EQ(world.tiles.contains(cell(c.i, c.j)), c.stored) << "cell (" << c.i << ", " << c.j << ")";
        EXPECT_EQ(world.get_tile(cell(c.i, c.j)), c.tile);
        EXPECT_EQ(world.tiles.size(), c.stored ? 1u : 0u);
    }
}

TEST(SetTile, WritingAHiveCollectsTheFlowersInRangeOfItsPosition) {
    World world;
    const Cell hive = cell(0, -10);
    // Flowers at distance 8 in every direction join; at 9 they do not; empty soil never does.
    const std::vector<Cell> near{cell(16, -10), cell(-16, -10), cell(8, -18), cell(-8, -2), cell(4, -18),
                                 cell(-3, -3), cell(0, -10 + 8)};
    const std::vector<Cell> far{cell(18, -10), cell(-18, -10), cell(9, -19), cell(0, -10 + 9 + 1), cell(-1, -19)};
    for (Cell c : near) world.set_tile(c, soil_with(in_bloom()));
    for (Cell c : far) world.set_tile(c, soil_with(in_bloom()));
    world.set_tile(cell(2, -10), Soil{});
    world.set_tile(hive, hive_tile(hive));

    ASSERT_TRUE(world.hive_ranges.contains(hive));
    const CellSet& range = world.hive_ranges.at(hive);
    for (Cell c : near) EXPECT_TRUE(range.contains(c)) << test::describe(c) << " at distance " << distance(c, hive);
    for (Cell c : far) EXPECT_FALSE(range.contains(c)) << test::describe(c) << " at distance " << distance(c, hive);
    EXPECT_EQ(range.size(), near.size());
    EXPECT_TRUE(map_invariants_hold(world));
}

TEST(SetTile, AFlowerJoinsEveryHiveWithinEightCells) {
    World world;
    const Cell west = cell(-10, -10);
    const Cell east = cell(10, -10);
    world.set_tile(west, hive_tile(west));
    world.set_tile(east, hive_tile(east));

    struct Case { Cell at; bool in_west, in_east; };
    const std::vector<Case> cases{
        {cell(6, -10), true, true},    {cell(8, -10), false, true},   {cell(-8, -10), true, false},
        {cell(-6, -10), true, true},   {cell(0, -18), false, false},  {cell(-1, -17), true, false},
        {cell(1, -3), false, true},    {cell(-26, -10), true, false}, {cell(-28, -10), false, false},
        {cell(26, -10), false, true},  {cell(27, -9), false, false},  {cell(0, -10), true, true},
    };
    for (const auto& c : cases) {
        world.set_tile(c.at, soil_with(in_bloom()));
        EXPECT_EQ(world.hive_ranges.at(west).contains(c.at), c.in_west) << test::describe(c.at);
        EXPECT_EQ(world.hive_ranges.at(east).contains(c.at), c.in_east) << test::describe(c.at);
    }
    EXPECT_TRUE(map_invariants_hold(world));
}

TEST(SetTile, RangesFollowTheWrapOfTheField) {
    World world;
    const Cell hive = cell(0, 0);
    world.set_tile(hive, hive_tile(hive));
    const Cell over_the_edge = cell(-4, -4);  // (65532, 65532): four rows up and to the left
    world.set_tile(over_the_edge, soil_with(in_bloom()));
    EXPECT_TRUE(world.hive_ranges.at(hive).contains(over_the_edge));
}

TEST(SetTile, DiggingAFlowerRemovesItFromEverySet) {
    World world;
    const Cell a = cell(-4, -8);
    const Cell b = cell(4, -8);
    const Cell flower = cell(0, -8);
    world.set_tile(flower, soil_with(in_bloom()));
    world.set_tile(a, hive_tile(a));
    world.set_tile(b, hive_tile(b));
    ASSERT_TRUE(world.hive_ranges.at(a).contains(flower));
    ASSERT_TRUE(world.hive_ranges.at(b).contains(flower));

    world.set_tile(flower, Soil{std::nullopt, true});
    EXPECT_FALSE(world.hive_ranges.at(a).contains(flower));
    EXPECT_FALSE(world.hive_ranges.at(b).contains(flower));

    // A flower replaced by another flower stays in the sets.
    world.set_tile(flower, soil_with(in_bloom()));
    world.set_tile(flower, soil_with(test::flower_at(FlowerStage::Bud)));
    EXPECT_TRUE(world.hive_ranges.at(a).contains(flower));
    EXPECT_TRUE(world.hive_ranges.at(b).contains(flower));
    EXPECT_TRUE(map_invariants_hold(world));
}

TEST(SetTile, ReplacingAHiveDropsItsOldSet) {
    const Cell at = cell(0, -10);
    const Cell flower = cell(2, -10);
    struct Case { const char* name; Tile replacement; bool keeps_range; };
    const std::vector<Case> cases{
        {"lawn", Lawn{}, false},
        {"row default", TallGrass{}, false},
        {"soil", Soil{}, false},
        {"another hive", hive_tile(at, 5, 2), true},
    };
    for (const auto& c : cases) {
        World world;
        world.set_tile(flower, soil_with(in_bloom()));
        world.set_tile(at, hive_tile(at));
        // A stale cell in the old set must not survive into the new one.
        world.hive_ranges.at(at).insert(cell(40, -10));
        world.set_tile(at, c.replacement);
        EXPECT_EQ(world.hive_ranges.contains(at), c.keeps_range) << c.name;
        if (c.keeps_range) {
            EXPECT_EQ(world.hive_ranges.at(at), CellSet{flower}) << c.name;
        }
        EXPECT_TRUE(map_invariants_hold(world)) << c.name;
    }
}

// The smoker may set a carried hive down on a flowering tile: the flower goes, from every range
// and from the new hive's own.
TEST(SetTile, AHiveSetOnAFlowerDoesNotCountIt) {
    World world;
    const Cell neighbour = cell(-4, -10);
    const Cell flower = cell(0, -10);
    world.set_tile(neighbour, hive_tile(neighbour));
    world.set_tile(flower, soil_with(in_bloom()));
    world.set_tile(cell(2, -10), soil_with(in_bloom()));
    world.set_tile(flower, hive_tile(flower));
    EXPECT_EQ(world.hive_ranges.at(flower), CellSet{cell(2, -10)});
    EXPECT_EQ(world.hive_ranges.at(neighbour), CellSet{cell(2, -10)});
    EXPECT_TRUE(map_invariants_hold(world));
}

TEST(SetTile, TheHivesOwnPositionIsTheCentreOfItsRange) {
    World world;
    const Cell stored_at = cell(0, -10);
    const Cell position = cell(40, -10);
    world.set_tile(cell(38, -10), soil_with(in_bloom()));
    world.set_tile(cell(2, -10), soil_with(in_bloom()));
    world.set_tile(stored_at, hive_tile(position));
    EXPECT_EQ(world.hive_ranges.at(stored_at), CellSet{cell(38, -10)});
}

TEST(SetTile, AFlowerWrittenBesideARangeWithoutItsHiveStops) {
    EXPECT_DEATH(
        {
            World world;
            world.hive_ranges[cell(0, -10)] = {};
            world.set_tile(cell(2, -10), soil_with(in_bloom()));
        },
        testing::HasSubstr("no entry found for key"));
}

// Random writes in a small patch that straddles the soil rows; after every write the ranges must
// match a brute-force search and no stored tile may repeat its row default.
TEST(SetTile, RandomWritesKeepEveryRangeExact) {
    std::mt19937 pick(20240611);
    const auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(pick); };
    for (int round = 0; round < 20; ++round) {
        World world;
        for (int step = 0; step < 300; ++step) {
            const int j = draw(-8, 8);
            const int i = 2 * draw(-10, 10) + (j & 1);
            const Cell at = cell(i, j);
            Tile tile;
            switch (draw(0, 7)) {
                case 0: tile = Lawn{}; break;
                case 1: tile = TallGrass{}; break;
                case 2: tile = Soil{}; break;
                case 3: tile = Soil{std::nullopt, true}; break;
                case 4: tile = Water{}; break;
                case 5: tile = hive_tile(at, static_cast<std::uint32_t>(draw(0, 10)), static_cast<std::uint16_t>(draw(1, 4))); break;
                default: {
                    const auto stage = static_cast<FlowerStage>(draw(0, 3));
                    tile = soil_with(test::flower_at(stage), draw(0, 1) == 1);
                }
            }
            world.set_tile(at, tile);
            ASSERT_EQ(world.get_tile(at), tile) << "round " << round << " step " << step;
            ASSERT_TRUE(map_invariants_hold(world)) << "round " << round << " step " << step;
        }
    }
}

// --- The farm ------------------------------------------------------------------------------

const Cell FARM_HIVE = cell(-15, -13);
const Cell POND = cell(-7, -17);

bool in_garden(Cell c) { return distance(c, FARM_HIVE) <= 8; }
bool in_lawn(Cell c) {
    const int i = as_i16(c.i);
    const int j = as_i16(c.j);
    return j >= -16 && j <= -1 && i >= 0 && i <= 31;
}

TEST(SetupFarm, LaysOutTheListedCells) {
    set_rng_state(7);
    World world;
    world.setup_farm();

    EXPECT_EQ(world.get_tile(FARM_HIVE), hive_tile(FARM_HIVE, 0, 1));
    struct Case { int i, j; Tile expected; };
    const std::vector<Case> fixed{
        {-7, -17, Water{}}, {-11, -17, Water{}}, {-3, -17, Water{}}, {-9, -19, Water{}},
        {0, -14, Lawn{}},   {1, -13, Lawn{}},    {0, -12, Lawn{}},   {0, -16, Lawn{}},
        {30, -16, Lawn{}},  {31, -1, Lawn{}},    {2, 0, Soil{}},     {-33, -13, TallGrass{}},
        {32, -16, TallGrass{}}, {-1, -1, TallGrass{}}, {-16, -22, TallGrass{}}, {-15, -3, TallGrass{}},
    };
    for (const auto& c : fixed) {
        EXPECT_EQ(world.get_tile(cell(c.i, c.j)), c.expected) << "cell (" << c.i << ", " << c.j << ")";
    }
    for (const Cell c : {cell(-31, -13), cell(-23, -21)}) {
        EXPECT_TRUE(std::holds_alternative<Soil>(world.get_tile(c))) << test::describe(c);
    }
}

TEST(SetupFarm, KeepsItsCountsAndInvariantsWhateverTheDraws) {
    for (std::uint64_t seed = 1; seed <= 25; ++seed) {
        set_rng_state(seed * 0x9E3779B97F4A7C15ULL);
        World world;
        world.setup_farm();

        std::size_t water = 0, lawn = 0, garden = 0, flowers = 0;
        for (const auto& [c, tile] : world.tiles) {
            if (std::holds_alternative<Water>(tile)) {
                ++water;
                EXPECT_LE(distance(c, POND), 2) << test::describe(c);
            }
            if (std::holds_alternative<Lawn>(tile)) {
                ++lawn;
                EXPECT_TRUE(in_lawn(c)) << test::describe(c);
            }
            if (in_garden(c)) ++garden;
            if (const auto* soil = std::get_if<Soil>(&tile)) {
                EXPECT_TRUE(in_garden(c)) << test::describe(c);
                EXPECT_FALSE(soil->watered);
                if (soil->flower) {
                    ++flowers;
                    EXPECT_EQ(soil->flower->stage, FlowerStage::Seed);
                    EXPECT_EQ(soil->flower->genes, (std::array<std::uint8_t, 3>{1, 1, 1}));
                    EXPECT_GE(soil->flower->next_stage, 1920);
                    EXPECT_LE(soil->flower->next_stage, 5759);
                }
            }
        }
        EXPECT_EQ(water, 19u);
        EXPECT_EQ(lawn, 256u);
        EXPECT_EQ(garden, 217u);  // every garden cell differs from tall grass
        EXPECT_EQ(world.tiles.size(), 217u + 256u - 3u);
        EXPECT_GT(flowers, 0u) << "seed " << seed;
        ASSERT_EQ(world.hive_ranges.size(), 1u);
        EXPECT_EQ(world.hive_ranges.at(FARM_HIVE).size(), flowers);
        EXPECT_TRUE(map_invariants_hold(world));
    }
}

// Replays the draws in the stated order (rows top to bottom, each left to right, pond cells
// drawing nothing) and checks that the same cells got the same seeds and that the generator
// has moved on by exactly those draws.
TEST(SetupFarm, DrawsRowByRowAndOnlyOutsideThePond) {
    const std::uint64_t start = 0x5EED;
    set_rng_state(start);
    World world;
    world.setup_farm();
    const std::uint64_t after = rng_state();

    set_rng_state(start);
    std::size_t checked = 0;
    for (int k = 0; k <= 16; ++k) {
        for (int m = 0; m <= 16; ++m) {
            const Cell c = cell(-31 + (k & 1) + 2 * m, -21 + k);
            if (distance(c, FARM_HIVE) > 8 || distance(c, POND) <= 2) continue;
            std::optional<Flower> expected;
            if (rand_below(8) == 0) {
                expected = Flower{static_cast<std::uint16_t>(1920 + rand_below(3840)), {1, 1, 1}, FlowerStage::Seed};
            }
            if (c == FARM_HIVE || in_lawn(c)) continue;  // overwritten later
            ++checked;
            EXPECT_EQ(world.get_tile(c), (Tile{Soil{expected, false}})) << test::describe(c);
        }
    }
    EXPECT_EQ(checked, 217u - 19u - 1u - 3u);
    EXPECT_EQ(rng_state(), after);
}

// --- Walking ---------------------------------------------------------------------------------

TEST(Walkable, WaterAndTheShedBlockEverythingElseIsOpen) {
    set_rng_state(11);
    World world;
    world.setup_farm();
    const auto at = [](double i, double j) {
        return Fixed{static_cast<std::int32_t>(i * 65536), static_cast<std::int32_t>(j * 65536)};
    };
    struct Case { const char* name; Fixed p; bool walkable; };
    const std::vector<Case> cases{
        {"pond centre", centre_of(POND), false},
        {"pond edge cell", centre_of(cell(-9, -19)), false},
        {"inside a water hexagon", Fixed{-7 * 65536 + 0x4000, -17 * 65536 + 0x2000}, false},
        {"shed footprint", at(2.0, -14.25), false},
        {"shed footprint corner", Fixed{0xE000, -0xEBA2E}, false},
        {"shed base cell centre", at(2.0, -14.0), true},
        {"right of the shed", at(3.125, -14.25), true},
        {"hive", centre_of(FARM_HIVE), true},
        {"garden soil", centre_of(cell(-31, -13)), true},
        {"lawn", centre_of(cell(30, -16)), true},
        {"tall grass", centre_of(cell(-33, -13)), true},
        {"soil rows", centre_of(cell(2, 0)), true},
    };
    for (const auto& c : cases) EXPECT_EQ(world.walkable(c.p.i, c.p.j), c.walkable) << c.name;
}

// --- The frame update ------------------------------------------------------------------------

TEST(Update, HoneyGrowsByTheBloomsInRangeAndStopsAtFull) {
    struct Case { std::uint32_t honey; int blooms; int buds; std::uint32_t expected; };
    const std::vector<Case> cases{
        {262143, 3, 0, 262144}, {262144, 2, 0, 262144}, {262140, 3, 1, 262143},
        {100, 0, 4, 100},       {0, 5, 0, 5},           {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        World world;
        const Cell hive = cell(0, -10);
        world.set_tile(hive, hive_tile(hive, c.honey, 2));
        for (int n = 0; n < c.blooms; ++n) world.set_tile(cell(2 * n - 4, -12), soil_with(in_bloom()));
        for (int n = 0; n < c.buds; ++n) world.set_tile(cell(2 * n - 4, -8), soil_with(test::flower_at(FlowerStage::Bud)));
        // Blooms just out of range count for nothing.
        world.set_tile(cell(18, -10), soil_with(in_bloom()));
        world.update(100);
        EXPECT_EQ(world.get_tile(hive), hive_tile(hive, c.expected, 2)) << "honey " << c.honey;
    }
}

TEST(Update, FlowersGrowInPlaceBeforeTheHoneyIsCounted) {
    set_rng_state(3);
    World world;
    const Cell hive = cell(0, -10);
    const Cell bud = cell(2, -10);
    const Cell dry_sprout = cell(4, -10);
    const Cell wet_sprout = cell(6, -10);
    world.set_tile(hive, hive_tile(hive));
    world.set_tile(bud, soil_with(Flower{50, {0, 1, 2}, FlowerStage::Bud}));
    world.set_tile(dry_sprout, soil_with(Flower{50, {1, 1, 1}, FlowerStage::Sprout}));
    world.set_tile(wet_sprout, soil_with(Flower{50, {1, 1, 1}, FlowerStage::Sprout}, true));
    const CellSet range_before = world.hive_ranges.at(hive);

    world.update(50);
    EXPECT_EQ(world.get_tile(bud), soil_with(Flower{NEVER, {0, 1, 2}, FlowerStage::Flower}));
    EXPECT_EQ(world.get_tile(dry_sprout), soil_with(Flower{NEVER, {1, 1, 1}, FlowerStage::Bud}));
    const Flower* wet = flower_on(world.get_tile(wet_sprout));
    ASSERT_NE(wet, nullptr);
    EXPECT_EQ(wet->stage, FlowerStage::Bud);
    EXPECT_GE(wet->next_stage, 50 + 1920);
    EXPECT_LT(wet->next_stage, 50 + 1920 + 3840);
    // The bud that opened this frame already counts.
    EXPECT_EQ(std::get<Hive>(world.get_tile(hive)).hive.honey, 1u);
    EXPECT_EQ(world.hive_ranges.at(hive), range_before);

    // Nothing is due: nothing changes but the honey, and no number is drawn.
    const std::uint64_t state = rng_state();
    world.update(60);
    EXPECT_EQ(rng_state(), state);
    EXPECT_EQ(std::get<Hive>(world.get_tile(hive)).hive.honey, 2u);
}

TEST(CellHash, SpreadsNeighbouringCells) {
    const CellHash hash;
    EXPECT_EQ(hash(cell(3, 5)), hash(cell(3, 5)));
    std::unordered_set<std::size_t> seen;
    for (int j = -8; j <= 8; ++j) {
        for (int i = -16; i <= 16; i += 2) seen.insert(hash(cell(i + (j & 1), j)));
    }
    EXPECT_EQ(seen.size(), 17u * 17u);
}

}  // namespace
}  // namespace qm
