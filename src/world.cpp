// The field's sparse tile map and the upkeep of the hive ranges: every write goes through
// set_tile, so a hive always knows the flowers it can reach without searching the map.
#include "world.hpp"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstddef>

#include "fatal.hpp"
#include "random.hpp"

namespace qm {

namespace {

inline constexpr const char* NO_ENTRY_MESSAGE = "no entry found for key";

struct HashKey {
    std::uint64_t k0;
    std::uint64_t k1;
};

// The kernel's random source keys the hash maps; nothing about the game depends on the key, it
// only keeps the map layout different from run to run. Should the source be missing (a very old
// kernel or a locked-down sandbox) the clock-and-thread seed of the generator is good enough for
// that purpose, so the game still starts.
HashKey draw_hash_key() {
    std::array<std::uint64_t, 2> words{};
    auto* bytes = reinterpret_cast<unsigned char*>(words.data());
    std::size_t got = 0;
    while (got < sizeof words) {
        const ssize_t n = getrandom(bytes + got, sizeof words - got, 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            return {fresh_seed(), fresh_seed() ^ 0x9E3779B97F4A7C15ULL};
        }
    }
    return {words[0], words[1]};
}

const HashKey& hash_key() {
    static const HashKey key = draw_hash_key();
    return key;
}

bool has_flower(const Tile& tile) { return flower_on(tile) != nullptr; }

bool within_hive_range(Cell a, Cell b) { return distance(a, b) <= HIVE_RANGE; }

}  // namespace

CellHash::CellHash() : k0(hash_key().k0), k1(hash_key().k1 | 1) {}

World::World() { buildings.push_back(std::make_unique<Shed>()); }

void World::setup_farm() {
    const Cell hive_cell = cell(-15, -13);
    const Cell pond_centre = cell(-7, -17);

    // The garden: a pond in the north-east, otherwise soil with a seed here and there.
    for_each_in_hexagon(hive_cell, HIVE_RANGE, [&](Cell c) {
        if (distance(c, pond_centre) <= 2) {
            set_tile(c, Water{});
        } else if (rand_below(8) != 0) {
            set_tile(c, Soil{});
        } else {
            const auto due = static_cast<std::uint16_t>(1920 + rand_below(3840));
            set_tile(c, Soil{Flower{due, {1, 1, 1}, FlowerStage::Seed}, false});
        }
    });

    set_tile(hive_cell, Hive{BeeHive{hive_cell, 0, 1}});

    // The lawn around the shed; its western edge cuts three cells off the garden.
    for (int r = 0; r < 16; ++r) {
        for (int m = 0; m < 16; ++m) set_tile(cell((r & 1) + 2 * m, r - 16), Lawn{});
    }
}

const Tile& World::get_tile(std::uint16_t i, std::uint16_t j) const {
    if (const auto found = tiles.find(Cell{i, j}); found != tiles.end()) return found->second;
    return default_tile(j);
}

void World::set_tile(std::uint16_t i, std::uint16_t j, const Tile& tile) {
    const Cell at{i, j};

    // Whatever replaces a hive, its old range goes with it; a new hive collects afresh below.
    hive_ranges.erase(at);

    if (has_flower(get_tile(at))) {
        for (auto& [hive, range] : hive_ranges) range.erase(at);
    }

    if (tile == default_tile(j)) {
        tiles.erase(at);
        return;
    }

    if (has_flower(tile)) {
        for (auto& [hive_cell, range] : hive_ranges) {
            const auto stored = tiles.find(hive_cell);
            if (stored == tiles.end()) fatal(NO_ENTRY_MESSAGE);
            const auto* hive = std::get_if<Hive>(&stored->second);
            if (hive && within_hive_range(hive->hive.position, at)) range.insert(at);
        }
    }

    if (const auto* hive = std::get_if<Hive>(&tile)) {
        // The cell being written still holds its old tile here; a flower the hive is set down on is
        // about to go, so it must not count for the hive's own range.
        CellSet range;
        for (const auto& [c, stored] : tiles) {
            if (c != at && has_flower(stored) && within_hive_range(c, hive->hive.position)) range.insert(c);
        }
        hive_ranges.insert_or_assign(at, std::move(range));
    }

    tiles.insert_or_assign(at, tile);
}

bool World::walkable(std::int32_t x, std::int32_t y) const {
    if (std::holds_alternative<Water>(get_tile(containing_tile(x, y)))) return false;
    for (const auto& building : buildings) {
        if (building->in_footprint(x, y)) return false;
    }
    return true;
}

void World::update(std::uint16_t now) {
    // Growing in place, not through set_tile: a flower stays a flower, so no range changes.
    for (auto& [c, tile] : tiles) {
        if (auto* soil = std::get_if<Soil>(&tile); soil && soil->flower) soil->flower->grow(now, soil->watered);
    }

    for (const auto& [hive_cell, range] : hive_ranges) {
        std::uint32_t in_bloom = 0;
        for (const Cell c : range) {
            // A default tile bears no flower, so only stored cells can count.
            const auto stored = tiles.find(c);
            if (stored == tiles.end()) continue;
            const Flower* flower = flower_on(stored->second);
            if (flower && flower->stage == FlowerStage::Flower) ++in_bloom;
        }
        const auto stored = tiles.find(hive_cell);
        if (stored == tiles.end()) continue;
        if (auto* hive = std::get_if<Hive>(&stored->second)) {
            const std::uint32_t sum = hive->hive.honey + in_bloom;
            hive->hive.honey = sum < HONEY_MAX ? sum : HONEY_MAX;
        }
    }
}

}  // namespace qm
