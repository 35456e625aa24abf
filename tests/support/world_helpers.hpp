// Helpers for the world, hive and night tests: tile makers, the hive-range invariants checked
// against a brute-force search, and a five-sigma tolerance for counted draws.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "world.hpp"

namespace qm::test {

inline Tile bloom(std::uint8_t r = 1, std::uint8_t g = 1, std::uint8_t b = 1, bool watered = false) {
    return Soil{Flower{NEVER, {r, g, b}, FlowerStage::Flower}, watered};
}
inline Tile plant(FlowerStage stage, std::uint16_t next_stage = 3000, bool watered = false) {
    return Soil{Flower{next_stage, {1, 1, 1}, stage}, watered};
}
inline Tile hive_tile(Cell at, std::uint32_t honey = 0, std::uint16_t level = 1) { return Hive{BeeHive{at, honey, level}}; }
inline std::string describe(Cell c) { return "(" + std::to_string(as_i16(c.i)) + ", " + std::to_string(as_i16(c.j)) + ")"; }

// Writes a world's maps behind its back, for states its operations never reach and for the night
// replayed by hand.
struct WorldAccess {
    static TileMap& tiles(World& world) { return world.tiles_; }
    static HiveRanges& hive_ranges(World& world) { return world.hive_ranges_; }
};

// A bare lawn without buildings: only what a test puts there stands on it.
inline World bare_lawn() {
    World world(Lawn{}, Lawn{});
    world.buildings.clear();
    return world;
}

inline std::size_t count_flowers(const World& world) {
    std::size_t n = 0;
    for (const auto& [c, tile] : world.tiles()) n += flower_on(tile) ? 1u : 0u;
    return n;
}

enum class Defaults { MayStay, NeverStored };

// Every hive has a range holding exactly the flowers within 8 of its position, every range
// belongs to a stored hive, and (unless the night just cleared the field) no stored tile repeats
// its row's default.
inline testing::AssertionResult ranges_exact(const World& world, Defaults defaults = Defaults::NeverStored) {
    for (const auto& [c, tile] : world.tiles()) {
        if (defaults == Defaults::NeverStored && tile == world.default_tile(c.j))
            return testing::AssertionFailure() << "row default stored at " << describe(c);
        if (std::holds_alternative<Hive>(tile) && !world.hive_ranges().contains(c))
            return testing::AssertionFailure() << "hive without a range at " << describe(c);
    }
    for (const auto& [c, range] : world.hive_ranges()) {
        const auto stored = world.tiles().find(c);
        const Hive* hive = stored == world.tiles().end() ? nullptr : std::get_if<Hive>(&stored->second);
        if (!hive) return testing::AssertionFailure() << "range without a hive at " << describe(c);
        CellSet expected;
        for (const auto& [at, tile] : world.tiles()) {
            if (flower_on(tile) && distance(at, hive->hive.position) <= HIVE_RANGE) expected.insert(at);
        }
        if (range != expected)
            return testing::AssertionFailure() << "hive at " << describe(c) << " holds " << range.size()
                                               << " cells, brute force finds " << expected.size();
    }
    return testing::AssertionSuccess();
}

inline double five_sigma(std::size_t n, double p) { return 5.0 * std::sqrt(static_cast<double>(n) * p * (1.0 - p)); }

}  // namespace qm::test
