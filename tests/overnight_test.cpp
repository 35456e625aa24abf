// The night: the field is cleared, open flowers in a hive's range pair with their nearest
// neighbours, and the seeds land on the nearest free soil. Also the odds of a single mating.
#include "world.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "random.hpp"
#include "support/world_helpers.hpp"

namespace qm {
namespace {

using test::count_flowers;
using test::five_sigma;
using test::hive_tile;
using test::in_bloom;
using test::ranges_match;
using test::soil_with;

using Genes = std::array<std::uint8_t, 3>;

// What every morning must look like: dry soil, only fresh seeds, ranges that match the field.
testing::AssertionResult morning_is_sound(const World& world) {
    for (const auto& [c, tile] : world.tiles) {
        const auto* soil = std::get_if<Soil>(&tile);
        if (!soil) continue;
        if (soil->watered) return testing::AssertionFailure() << "wet soil at " << test::describe(c);
        if (soil->flower) {
            const Flower& f = *soil->flower;
            if (f.stage != FlowerStage::Seed || f.next_stage < 1920 || f.next_stage > 5759) {
                return testing::AssertionFailure() << "not a fresh seed at " << test::describe(c);
            }
        }
    }
    return ranges_match(world);
}

std::optional<Genes> seed_genes(const World& world, Cell c) {
    const Flower* f = flower_on(world.get_tile(c));
    if (!f) return std::nullopt;
    return f->genes;
}

TEST(Overnight, WithoutAHiveTheFieldIsEmptyInTheMorning) {
    set_rng_state(1);
    World world;
    world.set_tile(cell(1, 1), soil_with(in_bloom(), true));
    world.set_tile(cell(3, 1), soil_with(in_bloom()));
    world.set_tile(cell(0, -10), soil_with(in_bloom(), true));
    world.set_tile(cell(2, -10), soil_with(test::flower_at(FlowerStage::Bud), true));
    world.overnight();
    EXPECT_EQ(count_flowers(world), 0u);
    // The cleared soil still reads as soil, stored or not.
    EXPECT_EQ(world.get_tile(cell(0, -10)), Tile{Soil{}});
    EXPECT_EQ(world.get_tile(cell(1, 1)), Tile{Soil{}});
    EXPECT_TRUE(morning_is_sound(world));
}

TEST(Overnight, EverythingThatHadNotOpenedIsGone) {
    set_rng_state(2);
    World world;
    const Cell hive = cell(0, -10);
    world.set_tile(hive, hive_tile(hive, 500, 3));
    const std::vector<Cell> plants{cell(2, -10), cell(4, -10), cell(6, -10), cell(8, -10)};
    world.set_tile(plants[0], soil_with(test::flower_at(FlowerStage::Bud), true));
    world.set_tile(plants[1], soil_with(Flower{NEVER, {1, 1, 1}, FlowerStage::Bud}));
    world.set_tile(plants[2], soil_with(test::flower_at(FlowerStage::Sprout), true));
    world.set_tile(plants[3], soil_with(test::flower_at(FlowerStage::Seed)));
    // A lone open flower has nobody to pair with.
    world.set_tile(cell(-2, -10), soil_with(in_bloom()));
    world.overnight();
    for (Cell c : plants) EXPECT_EQ(world.get_tile(c), Tile{Soil{}}) << test::describe(c);
    EXPECT_EQ(count_flowers(world), 0u);
    EXPECT_EQ(world.get_tile(hive), hive_tile(hive, 500, 3));
    EXPECT_TRUE(world.hive_ranges.at(hive).empty());
    EXPECT_TRUE(morning_is_sound(world));
}

TEST(Overnight, TwoNeighboursEachSeedTheirOwnTile) {
    set_rng_state(3);
    World world;
    const Cell hive = cell(0, -10);
    const Cell a = cell(2, -10);
    const Cell b = cell(4, -10);
    const Cell stranger = cell(40, -10);  // open, but no hive reaches it
    world.set_tile(hive, hive_tile(hive, 77, 1));
    world.set_tile(a, soil_with(in_bloom(2, 2, 2), true));
    world.set_tile(b, soil_with(in_bloom(0, 0, 0)));
    world.set_tile(stranger, soil_with(in_bloom()));
    world.overnight();

    EXPECT_EQ(seed_genes(world, a), (Genes{1, 1, 1}));
    EXPECT_EQ(seed_genes(world, b), (Genes{1, 1, 1}));
    EXPECT_EQ(count_flowers(world), 2u);
    EXPECT_EQ(world.hive_ranges.at(hive), (CellSet{a, b}));
    EXPECT_EQ(world.get_tile(hive), hive_tile(hive, 77, 1));
    EXPECT_TRUE(morning_is_sound(world));
}

// Each flower pairs with the nearest open flower: A-B 1 apart, B-C 2, A-C 3. The genes show who
// the partner was: 0 × 2 always gives 1, 2 × 2 always 2.
TEST(Overnight, PartnersAreTheNearestOpenFlowers) {
    set_rng_state(4);
    World world;
    const Cell hive = cell(0, -4);
    const Cell a = cell(1, 1), b = cell(3, 1), c = cell(7, 1);
    world.set_tile(hive, hive_tile(hive));
    world.set_tile(a, soil_with(in_bloom(0, 0, 0)));
    world.set_tile(b, soil_with(in_bloom(2, 2, 2)));
    world.set_tile(c, soil_with(in_bloom(2, 0, 0)));
    world.overnight();
    EXPECT_EQ(seed_genes(world, a), (Genes{1, 1, 1}));
    EXPECT_EQ(seed_genes(world, b), (Genes{1, 1, 1}));
    EXPECT_EQ(seed_genes(world, c), (Genes{2, 1, 1}));
    EXPECT_EQ(count_flowers(world), 3u);
    EXPECT_TRUE(morning_is_sound(world));
}

TEST(Overnight, EquallyNearPartnersAreChosenAtRandom) {
    set_rng_state(5);
    constexpr std::size_t NIGHTS = 400;
    const Cell left = cell(1, 1), middle = cell(3, 1), right = cell(5, 1);
    std::size_t with_left = 0;
    std::size_t with_right = 0;
    for (std::size_t n = 0; n < NIGHTS; ++n) {
        World world;
        world.set_tile(cell(2, -4), hive_tile(cell(2, -4)));
        world.set_tile(left, soil_with(in_bloom(2, 2, 2)));
        world.set_tile(middle, soil_with(in_bloom(2, 2, 2)));
        world.set_tile(right, soil_with(in_bloom(0, 0, 0)));
        world.overnight();
        const auto genes = seed_genes(world, middle);
        ASSERT_TRUE(genes.has_value());
        if (*genes == Genes{2, 2, 2}) ++with_left;
        if (*genes == Genes{1, 1, 1}) ++with_right;
    }
    EXPECT_EQ(with_left + with_right, NIGHTS);
    EXPECT_NEAR(static_cast<double>(with_left), NIGHTS / 2.0, five_sigma(NIGHTS, 0.5));
}

// The garden strip of rows 0 to 2 is endless soil, so no seed is ever lost there and the count of
// seeds in the morning is the sum of what the hive gave each flower.
TEST(Overnight, SeedsPerFlowerGrowWithTheHiveLevel) {
    struct Case { std::uint16_t level; double mean; double variance; std::size_t most; };
    const std::vector<Case> cases{
        {1, 1.0, 0.0, 1}, {2, 1.5, 0.25, 2}, {4, 2.0, 0.5, 3}, {8, 21.0 / 8, 61.0 / 8 - (21.0 / 8) * (21.0 / 8), 4},
    };
    constexpr std::size_t NIGHTS = 300;
    set_rng_state(6);
    for (const auto& c : cases) {
        std::size_t total = 0;
        for (std::size_t n = 0; n < NIGHTS; ++n) {
            World world;
            world.set_tile(cell(0, -4), hive_tile(cell(0, -4), 0, c.level));
            world.set_tile(cell(1, 1), soil_with(in_bloom()));
            world.set_tile(cell(3, 1), soil_with(in_bloom()));
            world.overnight();
            const std::size_t seeds = count_flowers(world);
            ASSERT_GE(seeds, 2u) << "level " << c.level;
            ASSERT_LE(seeds, 2 * c.most) << "level " << c.level;
            ASSERT_TRUE(morning_is_sound(world));
            total += seeds;
        }
        const double per_flower = static_cast<double>(total) / (2.0 * NIGHTS);
        const double tolerance = 5.0 * std::sqrt(c.variance / (2.0 * NIGHTS));
        EXPECT_NEAR(per_flower, c.mean, tolerance) << "level " << c.level;
    }
}

// A's second seed (level 2 gives one half of the time) goes to one of the six free soil cells
// around it, each as likely as the others.
TEST(Overnight, EquallyNearPlacesAreChosenAtRandom) {
    set_rng_state(9);
    constexpr std::size_t NIGHTS = 1200;
    const Cell a = cell(0, -10);
    const Cell b = cell(8, -10);  // in tall grass: its own tile is its only place
    std::map<std::size_t, std::size_t> by_direction;
    std::size_t spills = 0;
    for (std::size_t n = 0; n < NIGHTS; ++n) {
        World world;
        world.set_tile(cell(4, -10), hive_tile(cell(4, -10), 0, 2));
        world.set_tile(a, soil_with(in_bloom()));
        world.set_tile(b, soil_with(in_bloom()));
        for (const Cell d : NEIGHBOURS) world.set_tile(a + d, Soil{});
        world.overnight();
        ASSERT_TRUE(flower_on(world.get_tile(a)));
        ASSERT_TRUE(flower_on(world.get_tile(b)));
        for (std::size_t k = 0; k < NEIGHBOURS.size(); ++k) {
            if (flower_on(world.get_tile(a + NEIGHBOURS[k]))) {
                ++by_direction[k];
                ++spills;
            }
        }
        ASSERT_LE(count_flowers(world), 3u);
    }
    EXPECT_NEAR(static_cast<double>(spills), NIGHTS / 2.0, five_sigma(NIGHTS, 0.5));
    for (std::size_t k = 0; k < NEIGHBOURS.size(); ++k) {
        EXPECT_NEAR(static_cast<double>(by_direction[k]), static_cast<double>(spills) / 6.0,
                    five_sigma(spills, 1.0 / 6.0))
            << "direction " << k;
    }
}

// A flower in reach of two hives gives seeds for each. In a pocket of two soil cells the second
// hive finds no free place and its seeds are lost; on open soil they land next door.
TEST(Overnight, AFlowerInTwoRangesSeedsForBoth) {
    struct Case { const char* name; Cell a, b; std::size_t expected; };
    const std::vector<Case> cases{
        {"pocket in tall grass", cell(0, -10), cell(2, -10), 2},
        {"open soil strip", cell(1, 1), cell(3, 1), 4},
    };
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        for (const auto& c : cases) {
            set_rng_state(seed);
            World world;
            const Cell north = cell(as_i16(c.a.i), as_i16(c.a.j) - 6);
            const Cell south = cell(as_i16(c.a.i), as_i16(c.a.j) + 6);
            world.set_tile(north, hive_tile(north));
            world.set_tile(south, hive_tile(south));
            world.set_tile(c.a, soil_with(in_bloom(2, 2, 2)));
            world.set_tile(c.b, soil_with(in_bloom(0, 0, 0)));
            world.overnight();

            EXPECT_EQ(count_flowers(world), c.expected) << c.name;
            EXPECT_EQ(seed_genes(world, c.a), (Genes{1, 1, 1})) << c.name;
            EXPECT_EQ(seed_genes(world, c.b), (Genes{1, 1, 1})) << c.name;
            for (const auto& [at, tile] : world.tiles) {
                if (!flower_on(tile) || at == c.a || at == c.b) continue;
                EXPECT_EQ(std::min(distance(at, c.a), distance(at, c.b)), 1) << c.name << " " << test::describe(at);
            }
            EXPECT_TRUE(morning_is_sound(world)) << c.name;
        }
    }
}

// Two parents of pure opposite colours can only give 1-1-1 children; a child that parented tonight
// would pass on a random allele and show up as something else.
TEST(Overnight, TonightsSeedsNeverParentTonight) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        set_rng_state(seed);
        World world;
        const Cell a = cell(1, 1), b = cell(3, 1);
        world.set_tile(cell(0, -4), hive_tile(cell(0, -4), 0, 8));
        world.set_tile(cell(2, 6), hive_tile(cell(2, 6), 0, 8));
        world.set_tile(a, soil_with(in_bloom(2, 2, 2)));
        world.set_tile(b, soil_with(in_bloom(0, 0, 0)));
        world.overnight();
        EXPECT_GE(count_flowers(world), 4u);
        for (const auto& [at, tile] : world.tiles) {
            if (const Flower* f = flower_on(tile)) {
                EXPECT_EQ(f->genes, (Genes{1, 1, 1})) << test::describe(at);
            }
        }
        EXPECT_TRUE(morning_is_sound(world));
    }
}

// On the farm every flower is in reach of the level-1 hive: each open flower gives one seed, and
// it falls on the flower's own tile.
TEST(Overnight, OnTheFarmEachOpenFlowerReseedsItsTile) {
    set_rng_state(8);
    World world;
    world.setup_farm();
    const auto flower_cells = [&] {
        CellSet cells;
        for (const auto& [c, tile] : world.tiles) {
            if (flower_on(tile)) cells.insert(c);
        }
        return cells;
    };
    const CellSet first = flower_cells();
    ASSERT_GE(first.size(), 2u);
    for (int night = 0; night < 3; ++night) {
        // Open every flower, the way watering and waiting would.
        for (auto& [c, tile] : world.tiles) {
            if (Flower* f = flower_on(tile)) *f = Flower{NEVER, f->genes, FlowerStage::Flower};
        }
        world.overnight();
        EXPECT_EQ(flower_cells(), first) << "night " << night;
        EXPECT_TRUE(morning_is_sound(world)) << "night " << night;
    }
}

TEST(Overnight, ARangeWithoutItsHiveStops) {
    EXPECT_DEATH(
        {
            World world;
            world.hive_ranges[cell(0, -10)] = {};
            world.overnight();
        },
        testing::HasSubstr("no entry found for key"));
    EXPECT_DEATH(
        {
            World world;
            world.tiles[cell(0, -10)] = Lawn{};
            world.hive_ranges[cell(0, -10)] = {};
            world.overnight();
        },
        testing::HasSubstr("There's not a hive here!"));
}

// --- One mating ------------------------------------------------------------------------------

TEST(Mate, GenesFollowMendelsOdds) {
    // Odds of 0, 1 and 2 dominant alleles in the child for one gene.
    struct Case { std::uint8_t a, b; std::array<double, 3> p; };
    const std::vector<Case> cases{
        {1, 1, {0.25, 0.5, 0.25}}, {1, 0, {0.5, 0.5, 0}}, {0, 1, {0.5, 0.5, 0}}, {1, 2, {0, 0.5, 0.5}},
        {0, 2, {0, 1, 0}},         {2, 0, {0, 1, 0}},     {0, 0, {1, 0, 0}},     {2, 2, {0, 0, 1}},
    };
    constexpr std::size_t DRAWS = 20000;
    set_rng_state(0x4D454E44);
    for (const auto& c : cases) {
        // The three genes are drawn separately; each must follow the odds on its own.
        std::array<std::array<std::size_t, 3>, 3> seen{};
        const Flower mother{NEVER, {c.a, c.a, c.a}, FlowerStage::Flower};
        const Flower father{NEVER, {c.b, c.b, c.b}, FlowerStage::Flower};
        for (std::size_t n = 0; n < DRAWS; ++n) {
            const Flower child = mate(mother, father);
            ASSERT_EQ(child.stage, FlowerStage::Seed);
            ASSERT_GE(child.next_stage, 1920);
            ASSERT_LE(child.next_stage, 5759);
            for (std::size_t g = 0; g < 3; ++g) {
                ASSERT_LE(child.genes[g], 2);
                ++seen[g][child.genes[g]];
            }
        }
        for (std::size_t g = 0; g < 3; ++g) {
            for (std::size_t v = 0; v < 3; ++v) {
                EXPECT_NEAR(static_cast<double>(seen[g][v]), DRAWS * c.p[v], five_sigma(DRAWS, c.p[v]))
                    << int{c.a} << " x " << int{c.b} << ", gene " << g << ", value " << v;
            }
        }
    }
}

}  // namespace
}  // namespace qm
