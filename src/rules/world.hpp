// The field: a sparse map of the tiles that differ from their row's default, each hive's set of
// flower cells in range, and the buildings standing on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include <boost/container/flat_set.hpp>
#include <boost/unordered/unordered_flat_map.hpp>

#include "buildings.hpp"
#include "draw_error.hpp"
#include "happening.hpp"
#include "hex_geometry.hpp"
#include "tile.hpp"

namespace qm {

class DrawContext;  // the drawing itself is in world_draw.cpp
struct Lily;
namespace test { struct WorldAccess; }

// Hashes cells under the run's map key (random.hpp: random per run unless a replay fixed it). A cell is only 32 bits: one keyed 64 × 64 → 128-bit
// multiply, folded (wyhash's mix), spreads it over all 64 bits, at a few cycles a look-up.
struct CellHash {
    using is_avalanching = std::true_type;  // the map need not mix the result again

    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;

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

// The garden of the farm: the hexagon of HIVE_RANGE around its hive, with the pond in it.
inline constexpr Cell GARDEN_CENTRE = cell(-15, -13);
inline constexpr Cell POND_CENTRE = cell(-7, -17);
inline constexpr std::uint32_t POND_RADIUS = 2;
// The garden's seeds are grey: one dominant allele in every gene.
inline constexpr std::array<std::uint8_t, 3> GARDEN_SEED_GENES{1, 1, 1};

// How the garden is sown: laid out on the first day, or sown again on empty soil after a night
// that left no flower on the field.
enum class Sowing { LayOut, Again };

// What a night did, for the morning's report.
struct NightReport {
    std::size_t bred = 0;  // open flowers paired with a partner (count_breeding), seeds found or not
    std::size_t sown = 0;  // seeds the bees sowed
    std::array<std::uint32_t, GENOTYPES> genomes{};  // those seeds by genotype
    std::size_t sown_again = 0;  // seeds of the garden sown again after a night that left none
    std::size_t lost = 0;        // seeds that found no free soil within their patch
    friend bool operator==(const NightReport&, const NightReport&) = default;
};

// Only the world's own operations write its tiles and hive ranges, so every range stays exact.
class World {
public:
    std::vector<std::unique_ptr<Building>> buildings;

    // The world behind the intro: tall grass, an endless strip of soil in rows 0 to 2, the shed.
    World() : World(Soil{}, TallGrass{}) {}
    // The same world on other ground: `soil_default` in rows 0 to 2, `grass_default` elsewhere.
    World(Tile soil_default, Tile grass_default);

    // The tiles that differ from their row's default, and each hive's flower cells in range.
    const TileMap& tiles() const { return tiles_; }
    const HiveRanges& hive_ranges() const { return hive_ranges_; }

    // Lays out the farm once when play starts: the garden and its pond, the hive, the lawn.
    void setup_farm();
    // The garden's seed rule, cell by cell in the set-up's order with the set-up's draws: one
    // cell in eight gets a grey seed. Again sows only where the soil lies empty. Returns the seeds.
    std::size_t sow_garden(Sowing how);
    // Flowers of any stage standing on the field.
    std::size_t flower_count() const;

    const Tile& get_tile(std::uint16_t i, std::uint16_t j) const;
    const Tile& get_tile(Cell c) const { return get_tile(c.i, c.j); }
    // Every change of a tile goes through here, so the hive ranges stay right.
    void set_tile(std::uint16_t i, std::uint16_t j, const Tile& tile);
    void set_tile(Cell c, const Tile& tile) { set_tile(c.i, c.j, tile); }
    const Tile& default_tile(std::uint16_t j) const { return j < 3 ? soil_default_ : grass_default_; }

    // May the gardener stand at this fixed-point position?
    bool walkable(std::int32_t x, std::int32_t y) const;

    // One frame: flowers grow, hives gain honey for the open flowers in their range. A flower
    // that opens is told as a Happening.
    void update(std::uint16_t now);

    // The frame's stream of happenings (happening.hpp): the world, the gardener and the controls
    // tell it; the game takes it once a frame.
    void tell(Happening happening) { happenings_.push_back(happening); }
    // What was told since the last call, oldest first.
    std::vector<Happening> take_happenings() { return std::exchange(happenings_, {}); }

    // The night between two days: plants leave, open flowers in hive ranges mate and sow seeds.
    NightReport overnight();
    // The night and the morning after it: a field the night left bare is sown again.
    NightReport new_day();

    // Grows by one (at least) whenever a tile is written, a plant reaches its next stage or the
    // night clears the field, so what is worked out from the field can be kept until it changes.
    // Honey is left out: it changes every frame and nothing cached reads it.
    std::uint64_t revision() const { return revision_; }

    // Paints the visible field with the gardener in it, tinted by the time of day.
    DrawResult draw(DrawContext& ctx, const Lily& lily, std::uint16_t tick) const;
    // The yellow overlay of every hive's range.
    DrawResult draw_hive_ranges(DrawContext& ctx) const;

private:
    // Tests that build states no operation reaches (a range without its hive) or replay the night
    // by hand write through this.
    friend struct test::WorldAccess;

    Tile soil_default_;
    Tile grass_default_;
    TileMap tiles_;
    HiveRanges hive_ranges_;
    std::vector<Happening> happenings_;
    std::uint64_t revision_ = 0;
};

}  // namespace qm
