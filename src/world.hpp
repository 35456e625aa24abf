// The field: a sparse map of the tiles that differ from their row's default, each hive's set of
// flower cells in range, and the buildings standing on it.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "buildings.hpp"
#include "draw_error.hpp"
#include "hex_geometry.hpp"
#include "tile.hpp"

namespace qm {

class DrawContext;
struct Lily;

// Hashes cells with SipHash-1-3 under a key drawn from the kernel's random source once per run.
struct CellHash {
    std::size_t operator()(Cell c) const noexcept;
};

using CellSet = std::unordered_set<Cell, CellHash>;
using TileMap = std::unordered_map<Cell, Tile, CellHash>;
using HiveRanges = std::unordered_map<Cell, CellSet, CellHash>;

class World {
public:
    std::vector<std::unique_ptr<Building>> buildings;
    Tile soil_default = Soil{};
    Tile grass_default = TallGrass{};
    TileMap tiles;
    HiveRanges hive_ranges;

    // The world behind the intro: tall grass, an endless strip of soil in rows 0 to 2, the shed.
    World();

    // Lays out the farm once when play starts: the garden and its pond, the hive, the lawn.
    void setup_farm();

    const Tile& get_tile(std::uint16_t i, std::uint16_t j) const;
    const Tile& get_tile(Cell c) const { return get_tile(c.i, c.j); }
    // Every change of a tile goes through here, so the hive ranges stay right.
    void set_tile(std::uint16_t i, std::uint16_t j, const Tile& tile);
    void set_tile(Cell c, const Tile& tile) { set_tile(c.i, c.j, tile); }
    const Tile& default_tile(std::uint16_t j) const { return j < 3 ? soil_default : grass_default; }

    // May the gardener stand at this fixed-point position?
    bool walkable(std::int32_t x, std::int32_t y) const;

    // One frame: flowers grow, hives gain honey for the open flowers in their range.
    void update(std::uint16_t now);

    // The night between two days: plants leave, open flowers in hive ranges mate and sow seeds.
    void overnight();

    // Paints the visible field with the gardener in it, tinted by the time of day.
    DrawResult draw(DrawContext& ctx, const Lily& lily, std::uint16_t tick) const;
    // The yellow overlay of every hive's range.
    DrawResult draw_hive_ranges(DrawContext& ctx) const;
};

}  // namespace qm
