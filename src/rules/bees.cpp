// Beehives: how many seeds a hive's bees make of one open flower, and the smoker's menu for
// harvesting and splitting a hive.
#include "bees.hpp"

#include <bit>
#include <limits>
#include <optional>

#include "lily.hpp"
#include "random.hpp"
#include "sheets.hpp"
#include "tile.hpp"
#include "ui.hpp"
#include "world.hpp"

namespace qm {

namespace {

// Button rows of the button sheet.
inline constexpr std::uint32_t CLOSE_SPRITE = std::to_underlying(ButtonRow::Close);
inline constexpr std::uint32_t HARVEST_SPRITE = std::to_underlying(ButtonRow::Harvest);
inline constexpr std::uint32_t SPLIT_SPRITE = std::to_underlying(ButtonRow::Split);

// Menu slots in neighbour order.
inline constexpr std::size_t SLOT_NW = 1;
inline constexpr std::size_t SLOT_NE = 2;
inline constexpr std::size_t SLOT_SW = 5;

inline constexpr std::uint16_t SPLIT_LEVEL = 3;

bool honey_full(const BeeHive& hive) { return hive.honey == HONEY_MAX; }
bool can_split(const BeeHive& hive) { return hive.level >= SPLIT_LEVEL; }

// The level stops at its top instead of wrapping to 0: a hive of level 0 would have no seeds to
// give and would stop the game the next night.
std::uint16_t level_after_harvest(std::uint16_t level) {
    return level == std::numeric_limits<std::uint16_t>::max() ? level : static_cast<std::uint16_t>(level + 1);
}

}  // namespace

std::uint32_t honey_percent(std::uint32_t honey) {
    // Truncated, so a hive reads 100% only when it is really full.
    return static_cast<std::uint32_t>(std::uint64_t{honey} * 100 / HONEY_MAX);
}

std::uint32_t sprouts_for_flower(const BeeHive& hive) {
    const std::uint32_t v = rand_inclusive_from_one(hive.level);
    return static_cast<std::uint32_t>(std::bit_width(v));
}

bool has_upgrade_menu(const BeeHive& hive) { return honey_full(hive) || can_split(hive); }

ButtonMenu upgrade_menu(const BeeHive& hive) {
    const bool full = honey_full(hive);
    const bool splittable = can_split(hive);

    std::array<std::optional<std::uint32_t>, 6> slots{};
    if (full) slots[SLOT_NW] = HARVEST_SPRITE;
    if (splittable) slots[SLOT_NE] = SPLIT_SPRITE;
    slots[SLOT_SW] = CLOSE_SPRITE;

    const Cell at = hive.position;
    MenuAction action = [at, full, splittable](std::size_t index, World& world, Lily& lily) -> MenuResult {
        // The menu may have stood open a while: act on the hive as it is now, and only if it still
        // qualifies, so a hive replaced in the meantime is neither harvested for free nor split
        // into a half of level 0.
        const auto* tile = std::get_if<Hive>(&world.get_tile(at));
        if (!tile) return std::nullopt;
        const BeeHive now = tile->hive;

        const std::size_t split_index = full ? 1 : 0;
        if (full && index == 0) {
            if (honey_full(now)) {
                const std::uint16_t level = level_after_harvest(now.level);
                world.set_tile(at, Hive{BeeHive{now.position, 0, level}});
                world.tell({Happening::Kind::HiveHarvested, level});
            }
        } else if (splittable && index == split_index) {
            // A hive already in her arms would be lost; the smoker opens no menu then anyway.
            if (can_split(now) && !lily.carried_hive) {
                const auto half = static_cast<std::uint16_t>(now.level / 2);
                world.set_tile(at, Hive{BeeHive{now.position, now.honey, static_cast<std::uint16_t>(now.level - half)}});
                lily.carried_hive = CarriedHive{0, half};
                world.tell({Happening::Kind::HiveSplit, half});
            }
        }
        return std::nullopt;
    };
    return ButtonMenu(as_i16(at.i), as_i16(at.j), slots, std::move(action));
}

}  // namespace qm
