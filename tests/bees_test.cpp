// Beehives: seeds per open flower by level, and the smoker's menu with its harvest and split.
#include "bees.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "lily.hpp"
#include "random.hpp"
#include "support/world_helpers.hpp"
#include "ui.hpp"
#include "world.hpp"

namespace qm {
namespace {

using test::five_sigma;
using test::hive_tile;
using test::in_bloom;
using test::soil_with;

TEST(SproutsForFlower, FollowsTheBitLengthOfAUniformDrawUpToTheLevel) {
    // Probabilities of 1, 2, 3 and 4 seeds.
    struct Case { std::uint16_t level; std::array<double, 4> p; };
    const std::vector<Case> cases{
        {1, {1.0, 0, 0, 0}},
        {2, {1.0 / 2, 1.0 / 2, 0, 0}},
        {3, {1.0 / 3, 2.0 / 3, 0, 0}},
        {4, {1.0 / 4, 2.0 / 4, 1.0 / 4, 0}},
        {7, {1.0 / 7, 2.0 / 7, 4.0 / 7, 0}},
        {8, {1.0 / 8, 2.0 / 8, 4.0 / 8, 1.0 / 8}},
    };
    constexpr std::size_t DRAWS = 40000;
    set_rng_state(0xB335);
    for (const auto& c : cases) {
        std::array<std::size_t, 4> seen{};
        const BeeHive hive{cell(0, 0), 0, c.level};
        for (std::size_t n = 0; n < DRAWS; ++n) {
            const std::uint32_t seeds = sprouts_for_flower(hive);
            ASSERT_GE(seeds, 1u);
            ASSERT_LE(seeds, 4u) << "level " << c.level;
            ++seen[seeds - 1];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            const double expected = static_cast<double>(DRAWS) * c.p[k];
            EXPECT_NEAR(static_cast<double>(seen[k]), expected, five_sigma(DRAWS, c.p[k]))
                << "level " << c.level << ", " << k + 1 << " seeds";
        }
    }
}

TEST(SproutsForFlower, TheTopLevelReachesSixteenSeeds) {
    set_rng_state(99);
    const BeeHive hive{cell(0, 0), 0, 65535};
    std::uint32_t most = 0;
    for (int n = 0; n < 2000; ++n) most = std::max(most, sprouts_for_flower(hive));
    EXPECT_EQ(most, 16u);  // half of all draws lie in [32768, 65535]
}

TEST(SproutsForFlower, LevelZeroIsAnEmptyRange) {
    EXPECT_DEATH(sprouts_for_flower(BeeHive{cell(0, 0), 0, 0}), testing::HasSubstr("empty range: "));
}

// --- The menu --------------------------------------------------------------------------------

TEST(UpgradeMenu, ShowsHarvestWhenFullSplitFromLevelThreeAndAlwaysClose) {
    struct Case { std::uint32_t honey; std::uint16_t level; std::vector<std::uint32_t> sprites; std::vector<std::size_t> slots; };
    const std::vector<Case> cases{
        {HONEY_MAX, 2, {6, 0}, {1, 5}},
        {HONEY_MAX - 1, 5, {7, 0}, {2, 5}},
        {HONEY_MAX, 4, {6, 7, 0}, {1, 2, 5}},
        {HONEY_MAX, 1, {6, 0}, {1, 5}},
        {0, 3, {7, 0}, {2, 5}},
        {0, 2, {0}, {5}},
    };
    const Cell at = cell(-15, -13);
    for (const auto& c : cases) {
        const ButtonMenu menu = upgrade_menu(BeeHive{at, c.honey, c.level});
        ASSERT_EQ(menu.items.size(), c.sprites.size()) << "honey " << c.honey << " level " << c.level;
        for (std::size_t k = 0; k < menu.items.size(); ++k) {
            const Button& button = menu.items[k];
            EXPECT_EQ(button.sprite, c.sprites[k]);
            EXPECT_EQ(button.cell, MENU_SLOTS[c.slots[k]]);
            EXPECT_EQ(button.origin, std::optional<Fixed>(centre_of(at)));
            EXPECT_FALSE(button.held.has_value());
        }
        EXPECT_TRUE(menu.action.has_value());
    }
}

struct Outcome {
    std::uint32_t honey;
    std::uint16_t level;
    std::optional<CarriedHive> carried;
};

// Builds the menu for a hive on the field, chooses `index` and reports what became of it.
Outcome choose(std::uint32_t honey, std::uint16_t level, std::size_t index) {
    World world;
    const Cell at = cell(-15, -13);
    world.set_tile(at, hive_tile(at, honey, level));
    world.set_tile(cell(-13, -13), soil_with(in_bloom()));
    ButtonMenu menu = upgrade_menu(BeeHive{at, honey, level});
    Lily lily;
    const MenuResult next = (*menu.action)(index, world, lily);
    EXPECT_FALSE(next.has_value()) << "the hive menu always closes";
    EXPECT_TRUE(test::map_invariants_hold(world));
    const BeeHive& hive = std::get<Hive>(world.get_tile(at)).hive;
    EXPECT_EQ(hive.position, at);
    return {hive.honey, hive.level, lily.carried_hive};
}

TEST(UpgradeMenu, TheActionHarvestsSplitsOrCloses) {
    struct Case { const char* name; std::uint32_t honey; std::uint16_t level; std::size_t index;
                  std::uint32_t honey_after; std::uint16_t level_after; std::optional<CarriedHive> carried; };
    const std::vector<Case> cases{
        {"full L2 harvest", HONEY_MAX, 2, 0, 0, 3, std::nullopt},
        {"full L2 close", HONEY_MAX, 2, 1, HONEY_MAX, 2, std::nullopt},
        {"L5 split", 1000, 5, 0, 1000, 3, CarriedHive{0, 2}},
        {"L5 close", 1000, 5, 1, 1000, 5, std::nullopt},
        {"full L4 harvest", HONEY_MAX, 4, 0, 0, 5, std::nullopt},
        {"full L4 split", HONEY_MAX, 4, 1, HONEY_MAX, 2, CarriedHive{0, 2}},
        {"full L4 close", HONEY_MAX, 4, 2, HONEY_MAX, 4, std::nullopt},
        {"L3 split", 7, 3, 0, 7, 2, CarriedHive{0, 1}},
        {"L9 split", 0, 9, 0, 0, 5, CarriedHive{0, 4}},
        {"index past the buttons", 0, 9, 5, 0, 9, std::nullopt},
    };
    for (const auto& c : cases) {
        const Outcome got = choose(c.honey, c.level, c.index);
        EXPECT_EQ(got.honey, c.honey_after) << c.name;
        EXPECT_EQ(got.level, c.level_after) << c.name;
        EXPECT_EQ(got.carried, c.carried) << c.name;
    }
}

TEST(UpgradeMenu, HarvestingTheTopLevelKeepsIt) {
    struct Case { std::uint16_t level, after; };
    for (const auto& c : std::vector<Case>{{65534, 65535}, {65535, 65535}}) {
        const Outcome got = choose(HONEY_MAX, c.level, 0);
        EXPECT_EQ(got.level, c.after);
        EXPECT_EQ(got.honey, 0u);
        // The hive still gives seeds the next night.
        EXPECT_GE(sprouts_for_flower(BeeHive{cell(0, 0), 0, got.level}), 1u);
    }
}

// The menu stays open while the world goes on; its action looks at the hive as it is then.
TEST(UpgradeMenu, TheActionRereadsTheHive) {
    const Cell at = cell(4, -6);
    struct Case { const char* name; BeeHive built_for; std::size_t index; Tile meanwhile; Tile expected; bool carries; };
    const std::vector<Case> cases{
        {"gone before the harvest", BeeHive{at, HONEY_MAX, 2}, 0, Soil{}, Soil{}, false},
        {"gone before the split", BeeHive{at, 0, 4}, 0, Lawn{}, Lawn{}, false},
        {"replaced by a new hive before the harvest", BeeHive{at, HONEY_MAX, 2}, 0, hive_tile(at, 0, 1),
         hive_tile(at, 0, 1), false},
        {"replaced by a small hive before the split", BeeHive{at, 0, 6}, 0, hive_tile(at, 10, 1),
         hive_tile(at, 10, 1), false},
        {"levelled up before the split", BeeHive{at, 0, 4}, 0, hive_tile(at, 3, 8), hive_tile(at, 3, 4), true},
    };
    for (const auto& c : cases) {
        World world;
        world.set_tile(at, hive_tile(at, c.built_for.honey, c.built_for.level));
        ButtonMenu menu = upgrade_menu(c.built_for);
        world.set_tile(at, c.meanwhile);
        Lily lily;
        EXPECT_FALSE((*menu.action)(c.index, world, lily).has_value()) << c.name;
        EXPECT_EQ(world.get_tile(at), c.expected) << c.name;
        EXPECT_EQ(lily.carried_hive.has_value(), c.carries) << c.name;
        EXPECT_TRUE(test::map_invariants_hold(world)) << c.name;
    }
}

TEST(UpgradeMenu, ASplitNeverDropsAHiveAlreadyCarried) {
    World world;
    const Cell at = cell(4, -6);
    world.set_tile(at, hive_tile(at, 0, 6));
    ButtonMenu menu = upgrade_menu(BeeHive{at, 0, 6});
    Lily lily;
    lily.carried_hive = CarriedHive{50, 7};
    (*menu.action)(0, world, lily);
    EXPECT_EQ(lily.carried_hive, (CarriedHive{50, 7}));
    EXPECT_EQ(world.get_tile(at), hive_tile(at, 0, 6));
}

TEST(UpgradeMenu, HarvestKeepsTheHivesRange) {
    World world;
    const Cell at = cell(4, -6);
    const Cell flower = cell(8, -6);
    world.set_tile(flower, soil_with(in_bloom()));
    world.set_tile(at, hive_tile(at, HONEY_MAX, 1));
    ButtonMenu menu = upgrade_menu(BeeHive{at, HONEY_MAX, 1});
    Lily lily;
    (*menu.action)(0, world, lily);
    EXPECT_EQ(world.hive_ranges.at(at), CellSet{flower});
    world.update(0);
    EXPECT_EQ(std::get<Hive>(world.get_tile(at)).hive.honey, 1u);
}

}  // namespace
}  // namespace qm
