// Beehives: seeds per open flower by level, and the smoker's menu with its harvest and split.
#include "bees.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "breeding.hpp"
#include "lily.hpp"
#include "menu_from_request.hpp"
#include "random.hpp"
#include "support/world_helpers.hpp"
#include "ui.hpp"

namespace qm {
namespace {

using namespace test;

TEST(SproutsForFlower, IsTheBitLengthOfAUniformDrawUpToTheLevel) {
    // Odds of 1, 2, 3, 4 seeds; 0 for "never".
    struct Case { std::uint16_t level; std::array<double, 4> p; };
    const std::vector<Case> cases{{1, {1, 0, 0, 0}},         {2, {1. / 2, 1. / 2, 0, 0}}, {3, {1. / 3, 2. / 3, 0, 0}},
                                  {4, {1. / 4, 2. / 4, 1. / 4, 0}}, {7, {1. / 7, 2. / 7, 4. / 7, 0}},
                                  {8, {1. / 8, 2. / 8, 4. / 8, 1. / 8}}};
    constexpr std::size_t DRAWS = 40000;
    set_rng_state(0xB335);
    for (const auto& c : cases) {
        std::array<std::size_t, 4> seen{};
        for (std::size_t n = 0; n < DRAWS; ++n) {
            const std::uint32_t seeds = sprouts_for_flower(BeeHive{cell(0, 0), 0, c.level});
            ASSERT_TRUE(seeds >= 1 && seeds <= 4) << "level " << c.level;
            ++seen[seeds - 1];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(static_cast<double>(seen[k]), DRAWS * c.p[k], five_sigma(DRAWS, c.p[k]))
                << "level " << c.level << ", " << k + 1 << " seeds";
        }
    }
    EXPECT_DEATH(sprouts_for_flower(BeeHive{cell(0, 0), 0, 0}), testing::HasSubstr("empty range: "));
}

TEST(UpgradeMenu, OffersHarvestWhenFullSplitFromLevelThreeAndClose) {
    struct Case {
        std::uint32_t honey;
        std::uint16_t level;
        std::vector<std::uint32_t> sprites;
        std::vector<std::size_t> slots;
    };
    const std::vector<Case> cases{{HONEY_MAX, 2, {6, 0}, {1, 5}}, {HONEY_MAX - 1, 5, {7, 0}, {2, 5}},
                                  {HONEY_MAX, 4, {6, 7, 0}, {1, 2, 5}}, {0, 2, {0}, {5}}};
    const Cell at = cell(-15, -13);
    for (const auto& c : cases) {
        const ButtonMenu menu = menu_from_request(upgrade_menu(BeeHive{at, c.honey, c.level}));
        ASSERT_EQ(menu.items.size(), c.sprites.size()) << "level " << c.level;
        for (std::size_t k = 0; k < menu.items.size(); ++k) {
            EXPECT_EQ(menu.items[k].sprite, c.sprites[k]);
            EXPECT_EQ(menu.items[k].cell, MENU_SLOTS[c.slots[k]]);
            EXPECT_EQ(menu.items[k].origin, std::optional<Fixed>(centre_of(at)));
        }
    }
}

// The menu is built for `built_for`; by the time a button is chosen the tile holds `now`.
struct ActionCase {
    const char* name;
    BeeHive built_for;
    Tile now;
    std::optional<CarriedHive> carried_before;
    std::size_t index;
    Tile expected;
    std::optional<CarriedHive> carried_after;
};

TEST(UpgradeMenu, TheActionHarvestsOrSplitsTheHiveAsItIsNow) {
    const Cell at = cell(4, -6);
    const auto hive = [&](std::uint32_t honey, std::uint16_t level) { return BeeHive{at, honey, level}; };
    const auto tile = [&](std::uint32_t honey, std::uint16_t level) { return hive_tile(at, honey, level); };
    const std::vector<ActionCase> cases{
        {"full L2 harvest", hive(HONEY_MAX, 2), tile(HONEY_MAX, 2), {}, 0, tile(0, 3), {}},
        {"full L2 close", hive(HONEY_MAX, 2), tile(HONEY_MAX, 2), {}, 1, tile(HONEY_MAX, 2), {}},
        {"L5 split", hive(1000, 5), tile(1000, 5), {}, 0, tile(1000, 3), CarriedHive{0, 2}},
        {"L5 close", hive(1000, 5), tile(1000, 5), {}, 1, tile(1000, 5), {}},
        {"full L4 harvest", hive(HONEY_MAX, 4), tile(HONEY_MAX, 4), {}, 0, tile(0, 5), {}},
        {"full L4 split", hive(HONEY_MAX, 4), tile(HONEY_MAX, 4), {}, 1, tile(HONEY_MAX, 2), CarriedHive{0, 2}},
        {"full L4 close", hive(HONEY_MAX, 4), tile(HONEY_MAX, 4), {}, 2, tile(HONEY_MAX, 4), {}},
        {"L3 split", hive(7, 3), tile(7, 3), {}, 0, tile(7, 2), CarriedHive{0, 1}},
        // The level stops at its top rather than wrap to 0, which would stop the next night.
        {"top level harvest", hive(HONEY_MAX, 65535), tile(HONEY_MAX, 65535), {}, 0, tile(0, 65535), {}},
        {"level below the top", hive(HONEY_MAX, 65534), tile(HONEY_MAX, 65534), {}, 0, tile(0, 65535), {}},
        // The hive changed while the menu stood open.
        {"dug away", hive(HONEY_MAX, 2), Soil{}, {}, 0, Soil{}, {}},
        {"new empty hive: no free harvest", hive(HONEY_MAX, 2), tile(0, 1), {}, 0, tile(0, 1), {}},
        {"small hive: no half of level 0", hive(0, 6), tile(10, 1), {}, 0, tile(10, 1), {}},
        {"split uses the level now", hive(0, 4), tile(3, 8), {}, 0, tile(3, 4), CarriedHive{0, 4}},
        {"a carried hive is never dropped", hive(0, 6), tile(0, 6), CarriedHive{50, 7}, 0, tile(0, 6), CarriedHive{50, 7}},
    };
    for (const auto& c : cases) {
        World world;
        world.set_tile(cell(8, -6), bloom());
        world.set_tile(at, hive_tile(at, c.built_for.honey, c.built_for.level));
        ButtonMenu menu = menu_from_request(upgrade_menu(c.built_for));
        world.set_tile(at, c.now);
        Lily lily;
        lily.carried_hive = c.carried_before;
        EXPECT_FALSE((*menu.action)(c.index, world, lily).has_value()) << c.name << ": the menu closes";
        EXPECT_EQ(world.get_tile(at), c.expected) << c.name;
        EXPECT_EQ(lily.carried_hive, c.carried_after) << c.name;
        EXPECT_TRUE(ranges_exact(world)) << c.name;
    }
}

}  // namespace
}  // namespace qm
