// The field's sparse tile map and the upkeep of the hive ranges: every write goes through
// set_tile, so a hive always knows the flowers it can reach without searching the map.
#include "world.hpp"

#include <array>
#include <cstddef>

#include "fatal.hpp"
#include "random.hpp"

namespace qm {

namespace {

bool has_flower(const Tile& tile) { return flower_on(tile) != nullptr; }

bool within_hive_range(Cell a, Cell b) { return distance(a, b) <= HIVE_RANGE; }

}  // namespace

CellHash::CellHash() {
    const MapHashKey key = map_hash_key();
    k0 = key.k0;
    k1 = key.k1 | 1;
}

World::World(Tile soil_default, Tile grass_default)
    : soil_default_(std::move(soil_default)), grass_default_(std::move(grass_default)) {
    buildings.push_back(std::make_unique<Shed>());
}

void World::setup_farm() {
    sow_garden(Sowing::LayOut);

    set_tile(GARDEN_CENTRE, Hive{BeeHive{GARDEN_CENTRE, 0, 1}});

    // The lawn around the shed; its western edge cuts three cells off the garden.
    for (int r = 0; r < 16; ++r) {
        for (int m = 0; m < 16; ++m) set_tile(cell((r & 1) + 2 * m, r - 16), Lawn{});
    }
}

std::size_t World::sow_garden(Sowing how) {
    std::size_t sown = 0;
    for_each_in_hexagon(GARDEN_CENTRE, HIVE_RANGE, [&](Cell c) {
        if (distance(c, POND_CENTRE) <= POND_RADIUS) {
            if (how == Sowing::LayOut) set_tile(c, Water{});
            return;
        }
        // Every cell outside the pond takes its draws, whatever it holds now, so a garden sown
        // again gets the first day's seeds wherever its soil lies empty.
        std::optional<Flower> seed;
        if (rand_below(8) == 0) {
            seed = Flower{stage_due(0), GARDEN_SEED_GENES, FlowerStage::Seed};
        }
        if (how == Sowing::LayOut) {
            set_tile(c, Soil{seed, false});
        } else if (const auto* soil = std::get_if<Soil>(&get_tile(c)); seed && soil && !soil->flower) {
            set_tile(c, Soil{seed, soil->watered});
        } else {
            return;
        }
        sown += seed ? 1u : 0u;
    });
    return sown;
}

std::size_t World::flower_count() const {
    std::size_t n = 0;
    for (const auto& [c, tile] : tiles_) n += has_flower(tile) ? 1u : 0u;
    return n;
}

const Tile& World::get_tile(std::uint16_t i, std::uint16_t j) const {
    if (const auto found = tiles_.find(Cell{i, j}); found != tiles_.end()) return found->second;
    return default_tile(j);
}

void World::set_tile(std::uint16_t i, std::uint16_t j, const Tile& tile) {
    const Cell at{i, j};
    ++revision_;

    // Whatever replaces a hive, its old range goes with it; a new hive collects afresh below.
    hive_ranges_.erase(at);

    if (has_flower(get_tile(at))) {
        for (auto& [hive, range] : hive_ranges_) range.erase(at);
    }

    if (tile == default_tile(j)) {
        tiles_.erase(at);
        return;
    }

    if (has_flower(tile)) {
        for (auto& [hive_cell, range] : hive_ranges_) {
            const auto stored = tiles_.find(hive_cell);
            if (stored == tiles_.end()) fatal(NO_ENTRY_MESSAGE);
            const auto* hive = std::get_if<Hive>(&stored->second);
            if (hive && within_hive_range(hive->hive.position, at)) range.insert(at);
        }
    }

    if (const auto* hive = std::get_if<Hive>(&tile)) {
        // The cell being written still holds its old tile here; a flower the hive is set down on is
        // about to go, so it must not count for the hive's own range.
        CellSet range;
        for (const auto& [c, stored] : tiles_) {
            if (c != at && has_flower(stored) && within_hive_range(c, hive->hive.position)) range.insert(c);
        }
        hive_ranges_.insert_or_assign(at, std::move(range));
    }

    tiles_.insert_or_assign(at, tile);
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
    for (auto& [c, tile] : tiles_) {
        auto* soil = std::get_if<Soil>(&tile);
        if (!soil || !soil->flower) continue;
        Flower& flower = *soil->flower;
        const FlowerStage was = flower.stage;
        flower.grow(now, soil->watered);
        if (flower.stage != was) ++revision_;
        if (was != FlowerStage::Flower && flower.stage == FlowerStage::Flower) {
            tell({Happening::Kind::FlowerOpened, static_cast<std::uint32_t>(genotype_of(flower))});
        }
    }

    for (const auto& [hive_cell, range] : hive_ranges_) {
        std::uint32_t in_bloom = 0;
        for (const Cell c : range) {
            // A default tile bears no flower, so only stored cells can count.
            const auto stored = tiles_.find(c);
            if (stored == tiles_.end()) continue;
            const Flower* flower = flower_on(stored->second);
            if (flower && flower->stage == FlowerStage::Flower) ++in_bloom;
        }
        const auto stored = tiles_.find(hive_cell);
        if (stored == tiles_.end()) continue;
        if (auto* hive = std::get_if<Hive>(&stored->second)) {
            const std::uint32_t sum = hive->hive.honey + in_bloom;
            hive->hive.honey = sum < HONEY_MAX ? sum : HONEY_MAX;
        }
    }
}

}  // namespace qm
