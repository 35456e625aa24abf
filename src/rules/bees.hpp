// Beehives: the hive record, its honey, and the smoker's hive menu with its harvest and split.
#pragma once

#include <cstdint>

#include "hex_geometry.hpp"
#include "menu_request.hpp"

namespace qm {

class World;
struct Lily;

inline constexpr std::uint32_t HONEY_MAX = 262144;
inline constexpr std::uint16_t HIVE_RANGE = 8;

struct BeeHive {
    Cell position;
    std::uint32_t honey = 0;
    std::uint16_t level = 1;
    friend constexpr bool operator==(const BeeHive&, const BeeHive&) = default;
};

// A hive split off and carried by the gardener, waiting to be set down.
struct CarriedHive {
    std::uint32_t honey = 0;
    std::uint16_t level = 1;
    friend constexpr bool operator==(const CarriedHive&, const CarriedHive&) = default;
};

// The honey as a whole percentage of a full hive, rounded down.
std::uint32_t honey_percent(std::uint32_t honey);

// Whether the smoker opens a menu on the hive: it is full of honey or big enough to split.
bool has_upgrade_menu(const BeeHive& hive);
// The smoker's menu on such a hive: harvest when full, split from level three, close.
MenuRequest upgrade_menu(const BeeHive& hive);
// The menu's choices, on the hive standing at `at` now, and only if it still qualifies: a hive
// replaced while the menu stood open is neither harvested for free nor split into a half of level 0.
void harvest_hive(World& world, Cell at);
// The split puts the smaller half in her arms; never while she carries a hive already, which would
// be lost (the smoker opens no menu then anyway).
void split_hive(World& world, Lily& lily, Cell at);

}  // namespace qm
