// The night: the field is cleared, open flowers in a hive's range pair with their nearest
// neighbours, and the seeds land on the nearest free soil. Also the odds of a single mating.
#include "world.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "random.hpp"
#include "support/world_helpers.hpp"

namespace qm {
namespace {

using namespace test;
using Genes = std::array<std::uint8_t, 3>;

// Every morning: dry soil, only fresh seeds, ranges that match the field.
testing::AssertionResult morning_is_sound(const World& world) {
    for (const auto& [c, tile] : world.tiles()) {
        const auto* soil = std::get_if<Soil>(&tile);
        if (soil && soil->watered) return testing::AssertionFailure() << "wet soil at " << describe(c);
        const Flower* f = flower_on(tile);
        if (f && (f->stage != FlowerStage::Seed || f->next_stage < 1920 || f->next_stage > 5759))
            return testing::AssertionFailure() << "not a fresh seed at " << describe(c);
    }
    return ranges_exact(world, Defaults::MayStay);
}

std::optional<Genes> genes_at(const World& world, Cell c) {
    const Flower* f = flower_on(world.get_tile(c));
    return f ? std::optional<Genes>(f->genes) : std::nullopt;
}

TEST(Overnight, OnlyOpenFlowersInAHivesRangeLeaveSeeds) {
    set_rng_state(1);
    World world;
    const Cell hive = cell(0, -10);
    world.set_tile(hive, hive_tile(hive, 500, 3));
    const std::vector<Cell> gone{cell(2, -10), cell(4, -10), cell(6, -10), cell(8, -10), cell(-2, -10), cell(1, 1)};
    world.set_tile(gone[0], plant(FlowerStage::Bud, 3000, true));
    world.set_tile(gone[1], plant(FlowerStage::Bud, NEVER));
    world.set_tile(gone[2], plant(FlowerStage::Sprout, 3000, true));
    world.set_tile(gone[3], plant(FlowerStage::Seed));
    world.set_tile(gone[4], bloom(1, 1, 1, true));  // open, but alone in its hive's range
    world.set_tile(gone[5], bloom());               // open, but no hive reaches it
    world.set_tile(cell(3, 1), bloom());
    world.overnight();
    for (Cell c : gone) EXPECT_EQ(world.get_tile(c), Tile{Soil{}}) << describe(c);
    EXPECT_EQ(count_flowers(world), 0u);
    EXPECT_EQ(world.get_tile(hive), hive_tile(hive, 500, 3));
    EXPECT_TRUE(morning_is_sound(world));
}

// A-B are 1 apart, B-C 2, A-C 3, and a level-1 hive gives one seed each, on its own tile. The
// genes tell the partner: 0 × 2 always gives 1, 2 × 2 always 2.
TEST(Overnight, EachOpenFlowerPairsWithItsNearestNeighbour) {
    set_rng_state(4);
    World world;
    const Cell a = cell(1, 1), b = cell(3, 1), c = cell(7, 1);
    world.set_tile(cell(0, -4), hive_tile(cell(0, -4)));
    world.set_tile(a, bloom(0, 0, 0, true));
    world.set_tile(b, bloom(2, 2, 2));
    world.set_tile(c, bloom(2, 0, 0));
    world.overnight();
    EXPECT_EQ(genes_at(world, a), (Genes{1, 1, 1}));
    EXPECT_EQ(genes_at(world, b), (Genes{1, 1, 1}));
    EXPECT_EQ(genes_at(world, c), (Genes{2, 1, 1}));
    EXPECT_EQ(count_flowers(world), 3u);
    EXPECT_TRUE(morning_is_sound(world));
}

// Ties are broken at random: the partner between two equally near ones (level 1, one seed each),
// and the free cell among the six around a flower whose own tile its first seed took (level 2
// gives a second seed half the time; B in the tall grass loses its own).
TEST(Overnight, EqualChoicesAreEquallyLikely) {
    set_rng_state(5);
    constexpr std::size_t NIGHTS = 1200;
    const Cell left = cell(0, -10), a = cell(2, -10), right = cell(4, -10), b = cell(10, -10);
    std::size_t with_left = 0, spills = 0;
    std::array<std::size_t, 6> by_direction{};
    for (std::size_t n = 0; n < NIGHTS; ++n) {
        World ties;
        ties.set_tile(cell(2, -14), hive_tile(cell(2, -14)));
        ties.set_tile(left, bloom(2, 2, 2));
        ties.set_tile(a, bloom(2, 2, 2));
        ties.set_tile(right, bloom(0, 0, 0));
        ties.overnight();
        const auto genes = genes_at(ties, a);
        ASSERT_TRUE((genes == Genes{2, 2, 2} || genes == Genes{1, 1, 1}));
        with_left += genes == Genes{2, 2, 2} ? 1u : 0u;

        World spill;
        spill.set_tile(cell(6, -10), hive_tile(cell(6, -10), 0, 2));
        spill.set_tile(a, bloom());
        spill.set_tile(b, bloom());
        for (const Cell d : NEIGHBOURS) spill.set_tile(a + d, Soil{});
        spill.overnight();
        for (std::size_t k = 0; k < 6; ++k) {
            if (flower_on(spill.get_tile(a + NEIGHBOURS[k]))) ++by_direction[k], ++spills;
        }
        ASSERT_LE(count_flowers(spill), 3u);  // A, B and at most one of A's second seeds
    }
    EXPECT_NEAR(static_cast<double>(with_left), NIGHTS / 2.0, five_sigma(NIGHTS, 0.5));
    EXPECT_NEAR(static_cast<double>(spills), NIGHTS / 2.0, five_sigma(NIGHTS, 0.5));
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(static_cast<double>(by_direction[k]), static_cast<double>(spills) / 6.0, five_sigma(spills, 1.0 / 6))
            << "direction " << k;
    }
}

// Rows 0 to 2 are endless soil, so no seed is lost there: the morning's count is what the hive
// gave the two flowers.
TEST(Overnight, SeedsPerFlowerGrowWithTheHiveLevel) {
    struct Case { std::uint16_t level; double mean, variance; std::size_t most; };
    const std::vector<Case> cases{{1, 1.0, 0.0, 1}, {2, 1.5, 0.25, 2}, {4, 2.0, 0.5, 3}, {8, 21. / 8, 61. / 8 - 441. / 64, 4}};
    constexpr std::size_t NIGHTS = 300;
    set_rng_state(6);
    for (const auto& c : cases) {
        std::size_t total = 0;
        for (std::size_t n = 0; n < NIGHTS; ++n) {
            World world;
            world.set_tile(cell(0, -4), hive_tile(cell(0, -4), 0, c.level));
            world.set_tile(cell(1, 1), bloom());
            world.set_tile(cell(3, 1), bloom());
            world.overnight();
            const std::size_t seeds = count_flowers(world);
            ASSERT_TRUE(seeds >= 2 && seeds <= 2 * c.most) << "level " << c.level;
            ASSERT_TRUE(morning_is_sound(world));
            total += seeds;
        }
        const double per_flower = static_cast<double>(total) / (2.0 * NIGHTS);
        EXPECT_NEAR(per_flower, c.mean, 5.0 * std::sqrt(c.variance / (2.0 * NIGHTS))) << "level " << c.level;
    }
}

// Two flowers in reach of two level-1 hives: the second hive's seeds spread from tiles the first
// hive's seeds already took. In a pocket of soil in tall grass they are lost; on open soil they
// land next door. Either way every child is 1-1-1: tonight's seeds never parent tonight.
TEST(Overnight, AFlowerInTwoRangesSeedsForBoth) {
    struct Case { const char* name; Cell a, b; std::size_t expected; };
    const std::vector<Case> cases{{"pocket", cell(0, -10), cell(2, -10), 2}, {"open soil", cell(1, 1), cell(3, 1), 4}};
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        for (const auto& c : cases) {
            set_rng_state(seed);
            World world;
            for (const Cell hive : {c.a + cell(0, -6), c.a + cell(0, 6)}) world.set_tile(hive, hive_tile(hive));
            world.set_tile(c.a, bloom(2, 2, 2));
            world.set_tile(c.b, bloom(0, 0, 0));
            world.overnight();
            EXPECT_EQ(count_flowers(world), c.expected) << c.name;
            for (const auto& [at, tile] : world.tiles()) {
                if (!flower_on(tile)) continue;
                EXPECT_EQ(flower_on(tile)->genes, (Genes{1, 1, 1})) << c.name;
                EXPECT_LE(std::min(distance(at, c.a), distance(at, c.b)), 1) << c.name << " " << describe(at);
            }
            EXPECT_TRUE(flower_on(world.get_tile(c.a)) && flower_on(world.get_tile(c.b))) << c.name;
            EXPECT_TRUE(morning_is_sound(world)) << c.name;
        }
    }
}

TEST(Overnight, ARangeWithoutItsHiveStops) {
    World world;
    WorldAccess::hive_ranges(world)[cell(0, -10)] = {};
    EXPECT_DEATH(world.overnight(), testing::HasSubstr("no entry found for key"));
    WorldAccess::tiles(world)[cell(0, -10)] = Lawn{};
    EXPECT_DEATH(world.overnight(), testing::HasSubstr("There's not a hive here!"));
}

TEST(Mate, EachGeneFollowsMendelsOdds) {
    // Odds of 0, 1 and 2 dominant alleles in the child.
    struct Case { std::uint8_t a, b; std::array<double, 3> p; };
    const std::vector<Case> cases{{1, 1, {0.25, 0.5, 0.25}}, {1, 0, {0.5, 0.5, 0}}, {2, 1, {0, 0.5, 0.5}}, {0, 2, {0, 1, 0}}};
    constexpr std::size_t DRAWS = 20000;
    set_rng_state(0x4D454E44);
    for (const auto& c : cases) {
        std::array<std::array<std::size_t, 3>, 3> seen{};
        for (std::size_t n = 0; n < DRAWS; ++n) {
            const Flower child = mate(Flower{NEVER, {c.a, c.a, c.a}, FlowerStage::Flower},
                                      Flower{NEVER, {c.b, c.b, c.b}, FlowerStage::Flower});
            for (std::size_t g = 0; g < 3; ++g) ++seen[g].at(child.genes[g]);
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
