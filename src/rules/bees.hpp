// Beehives: the hive record, seeds per open flower by level, and the smoker's hive menu.
#pragma once

#include <cstdint>

#include "hex_geometry.hpp"

namespace qm {

class ButtonMenu;

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

// Seeds one open flower in range yields tonight: the bit length of a uniform draw in [1, level].
std::uint32_t sprouts_for_flower(const BeeHive& hive);

// Whether the smoker opens a menu on the hive: it is full of honey or big enough to split.
bool has_upgrade_menu(const BeeHive& hive);
// The smoker's menu on such a hive: harvest, split, close.
ButtonMenu upgrade_menu(const BeeHive& hive);

}  // namespace qm
