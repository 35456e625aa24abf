// Shared helpers for the world, hive and overnight tests: flower makers, a brute-force oracle for
// the hive ranges and the map invariants checked after every write.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "hex_geometry.hpp"
#include "world.hpp"

namespace qm::test {

inline Flower flower_at(FlowerStage stage, std::uint8_t r = 1, std::uint8_t g = 1, std::uint8_t b = 1) {
    return Flower{stage == FlowerStage::Flower ? NEVER : std::uint16_t{3000}, {r, g, b}, stage};
}
inline Flower in_bloom(std::uint8_t r = 1, std::uint8_t g = 1, std::uint8_t b = 1) {
    return flower_at(FlowerStage::Flower, r, g, b);
}
inline Tile soil_with(const Flower& flower, bool watered = false) { return Soil{flower, watered}; }
inline Tile hive_tile(Cell at, std::uint32_t honey = 0, std::uint16_t level = 1) {
    return Hive{BeeHive{at, honey, level}};
}

inline std::string describe(Cell c) {
    return "(" + std::to_string(as_i16(c.i)) + ", " + std::to_string(as_i16(c.j)) + ")";
}

// The flower cells within range of a hive position, found by looking at every stored tile.
inline CellSet flowers_within_range(const World& world, Cell position) {
    CellSet found;
    for (const auto& [c, tile] : world.tiles) {
        if (flower_on(tile) && distance(c, position) <= HIVE_RANGE) found.insert(c);
    }
    return found;
}

// Every hive has exactly the flowers in its range, and every range belongs to a stored hive.
inline testing::AssertionResult ranges_match(const World& world) {
    for (const auto& [c, tile] : world.tiles) {
        if (std::holds_alternative<Hive>(tile) && !world.hive_ranges.contains(c)) {
            return testing::AssertionFailure() << "hive without a range at " << describe(c);
        }
    }
    for (const auto& [c, range] : world.hive_ranges) {
        const auto stored = world.tiles.find(c);
        if (stored == world.tiles.end()) return testing::AssertionFailure() << "range without tile at " << describe(c);
        const auto* hive = std::get_if<Hive>(&stored->second);
        if (!hive) return testing::AssertionFailure() << "range on a tile that is no hive at " << describe(c);
        const CellSet expected = flowers_within_range(world, hive->hive.position);
        if (range != expected) {
            return testing::AssertionFailure() << "hive at " << describe(c) << " holds " << range.size()
                                               << " cells, brute force finds " << expected.size();
        }
    }
    return testing::AssertionSuccess();
}

// What set_tile keeps: exact ranges, and no stored tile that repeats its row's default.
inline testing::AssertionResult map_invariants_hold(const World& world) {
    for (const auto& [c, tile] : world.tiles) {
        if (tile == world.default_tile(c.j)) {
            return testing::AssertionFailure() << "row default stored at " << describe(c);
        }
    }
    return ranges_match(world);
}

inline std::size_t count_flowers(const World& world) {
    std::size_t n = 0;
    for (const auto& [c, tile] : world.tiles) if (flower_on(tile)) ++n;
    return n;
}

// Tolerance for a count of n Bernoulli(p) draws: five standard deviations.
inline double five_sigma(std::size_t n, double p) {
    return 5.0 * std::sqrt(static_cast<double>(n) * p * (1.0 - p));
}

}  // namespace qm::test
