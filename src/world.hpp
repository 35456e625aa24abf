// The field: a sparse map of the tiles that differ from their row's default, each hive's set of
// flower cells in range, and the buildings standing on it.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include <boost/container/flat_set.hpp>
#include <boost/unordered/unordered_flat_map.hpp>

#include "buildings.hpp"
#include "draw_error.hpp"
#include "hex_geometry.hpp"
#include "tile.hpp"

namespace qm {

class DrawContext;
struct Lily;

// Hashes cells under a key drawn from the kernel's random source once per run, so the maps' layout
// and iteration order differ from run to run. A cell is only 32 bits: one keyed 64 × 64 → 128-bit
// multiply, folded (wyhash's mix), spreads it over all 64 bits, at a few cycles a look-up.
struct CellHash {
    using is_avalanching = std::true_type;  // the map need not mix the result again

    std::uint64_t k0;
    std::uint64_t k1;

    CellHash();  // this run's key
    std::size_t operator()(Cell c) const noexcept {
        __extension__ using u128 = unsigned __int128;
        const std::uint64_t x = (static_cast<std::uint64_t>(c.i) | static_cast<std::uint64_t>(c.j) << 16) ^ k0;
        const u128 product = static_cast<u128>(x) * k1;
        return static_cast<std::size_t>(static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64));
    }
};

// Cells in row-major order, for the sorted sets.
struct CellOrder {
    bool operator()(Cell a, Cell b) const noexcept {
        return (static_cast<std::uint32_t>(a.j) << 16 | a.i) < (static_cast<std::uint32_t>(b.j) << 16 | b.i);
    }
};

// The tile map is a flat open-addressing table: the frame update and the night look up tens of
// thousands of cells, and a look-up without a node per entry pays. A hive's range (at most 216
// cells) is a sorted array: every frame walks every range, and walking an array costs next to
// nothing, while the rare insertion shifts a few hundred bytes.
using CellSet = boost::container::flat_set<Cell, CellOrder>;
using TileMap = boost::unordered_flat_map<Cell, Tile, CellHash>;
using HiveRanges = boost::unordered_flat_map<Cell, CellSet, CellHash>;

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

    // A peekable cursor over the buildings in drawing order (top of the field first).
    struct BuildingCursor {
        const std::vector<std::unique_ptr<Building>>* list = nullptr;
        std::size_t next = 0;
    };
    // Draws the buildings whose base row lies on or above screen row `limit`.
    static DrawResult draw_buildings_until(DrawContext& ctx, BuildingCursor& cursor, std::int32_t limit);
};

// Yellow marks on the cells 1 to 8 steps from a centre: the range a hive has, or would have there.
DrawResult draw_range_marks(DrawContext& ctx, Cell centre);

// Cells of the hexagon of the given radius around centre, row by row from the top, left to
// right: the scan the farm set-up and the range overlay use.
template <typename F>
void for_each_in_hexagon(Cell centre, int radius, F&& visit) {
    for (int k = 0; k <= 2 * radius; ++k) {
        const auto j = static_cast<std::uint16_t>(centre.j - radius + k);
        for (int m = 0; m <= 2 * radius; ++m) {
            const auto i = static_cast<std::uint16_t>(centre.i - 2 * radius + ((radius + k) & 1) + 2 * m);
            const Cell c{i, j};
            if (distance(c, centre) <= radius) visit(c);
        }
    }
}

}  // namespace qm
