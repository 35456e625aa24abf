// Beehives: the smoker's menu for harvesting and splitting a hive, and what those do.
#include "bees.hpp"

#include <limits>

#include "lily.hpp"
#include "tile.hpp"
#include "world.hpp"

namespace qm {

namespace {

// Menu slots in neighbour order.
inline constexpr std::size_t SLOT_NW = 1;
inline constexpr std::size_t SLOT_NE = 2;

inline constexpr std::uint16_t SPLIT_LEVEL = 3;

bool honey_full(const BeeHive& hive) { return hive.honey == HONEY_MAX; }
bool can_split(const BeeHive& hive) { return hive.level >= SPLIT_LEVEL; }

// The level stops at its top instead of wrapping to 0: a hive of level 0 would have no seeds to
// give and would stop the game the next night.
std::uint16_t level_after_harvest(std::uint16_t level) {
    return level == std::numeric_limits<std::uint16_t>::max() ? level : static_cast<std::uint16_t>(level + 1);
}

const BeeHive* hive_at(const World& world, Cell at) {
    const auto* tile = std::get_if<Hive>(&world.get_tile(at));
    return tile ? &tile->hive : nullptr;
}

}  // namespace

std::uint32_t honey_percent(std::uint32_t honey) {
    // Truncated, so a hive reads 100% only when it is really full.
    return static_cast<std::uint32_t>(std::uint64_t{honey} * 100 / HONEY_MAX);
}

bool has_upgrade_menu(const BeeHive& hive) { return honey_full(hive) || can_split(hive); }

MenuRequest upgrade_menu(const BeeHive& hive) {
    MenuRequest request{hive.position, {}, {}};
    if (honey_full(hive)) request.slots[SLOT_NW] = Choice::Harvest;
    if (can_split(hive)) request.slots[SLOT_NE] = Choice::Split;
    request.slots[CLOSE_SLOT] = Choice::Close;
    return request;
}

void harvest_hive(World& world, Cell at) {
    const BeeHive* now = hive_at(world, at);
    if (!now || !honey_full(*now)) return;
    const std::uint16_t level = level_after_harvest(now->level);
    world.set_tile(at, Hive{BeeHive{now->position, 0, level}});
    world.tell({Happening::Kind::HiveHarvested, level});
}

void split_hive(World& world, Lily& lily, Cell at) {
    const BeeHive* now = hive_at(world, at);
    if (!now || !can_split(*now) || lily.carried_hive) return;
    const BeeHive before = *now;  // set_tile below replaces the tile it points into
    const auto half = static_cast<std::uint16_t>(before.level / 2);
    world.set_tile(at, Hive{BeeHive{before.position, before.honey, static_cast<std::uint16_t>(before.level - half)}});
    lily.carried_hive = CarriedHive{0, half};
    world.tell({Happening::Kind::HiveSplit, half});
}

}  // namespace qm
