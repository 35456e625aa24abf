// The night between two days: the field is cleared, and each hive's bees pair the open flowers in
// its range with their nearest neighbours and sow the seeds on the nearest free soil.
#include "world.hpp"

#include <array>
#include <deque>
#include <limits>
#include <span>
#include <vector>

#include "fatal.hpp"
#include "random.hpp"

namespace qm {

namespace {

struct OpenFlower {
    Cell position;
    Flower flower;
};

struct Parent {
    Flower flower;
    Cell position;
    std::uint8_t seeds;
};

// The nearest empty soil, searching outward across flowered soil only, equally near cells in a
// random order. None when the flowers are walled in by other tiles.
std::optional<Cell> find_place(const World& world, Cell from) {
    std::deque<Cell> queue{from};
    CellSet visited{from};
    while (!queue.empty()) {
        const Cell at = queue.front();
        queue.pop_front();
        const auto* soil = std::get_if<Soil>(&world.get_tile(at));
        if (!soil) continue;
        if (!soil->flower) return at;
        std::array<Cell, 6> around = NEIGHBOURS;
        for (Cell& c : around) c = at + c;
        shuffle(std::span<Cell>(around));
        for (const Cell c : around) {
            if (visited.insert(c).second) queue.push_back(c);
        }
    }
    return std::nullopt;
}

// Indices of the entries nearest to list[self], in list order; an entry on the same cell is no
// partner.
std::vector<std::size_t> nearest_partners(const std::vector<Parent>& list, std::size_t self) {
    std::vector<std::size_t> partners;
    std::uint16_t best = std::numeric_limits<std::uint16_t>::max();
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k].position == list[self].position) continue;
        const std::uint16_t d = distance(list[k].position, list[self].position);
        if (d < best) {
            best = d;
            partners.clear();
        }
        if (d == best) partners.push_back(k);
    }
    return partners;
}

}  // namespace

void World::overnight() {
    // Everything leaves the field; only the open flowers are remembered, as tonight's parents.
    std::vector<OpenFlower> open;
    for (auto& [c, tile] : tiles) {
        auto* soil = std::get_if<Soil>(&tile);
        if (!soil) continue;
        if (soil->flower && soil->flower->stage == FlowerStage::Flower) open.push_back({c, *soil->flower});
        soil->flower.reset();
        soil->watered = false;
    }

    for (auto& [hive_cell, range] : hive_ranges) range.clear();

    // Every list is complete before the first seed falls, so tonight's seeds never parent tonight.
    std::vector<std::vector<Parent>> lists;
    for (const auto& [hive_cell, range] : hive_ranges) {
        const auto stored = tiles.find(hive_cell);
        if (stored == tiles.end()) fatal(NO_ENTRY_MESSAGE);
        const auto* hive = std::get_if<Hive>(&stored->second);
        if (!hive) fatal("There's not a hive here!");
        std::vector<Parent> list;
        for (const OpenFlower& candidate : open) {
            if (distance(candidate.position, hive->hive.position) > HIVE_RANGE) continue;
            list.push_back({candidate.flower, candidate.position,
                            static_cast<std::uint8_t>(sprouts_for_flower(hive->hive))});
        }
        if (list.size() >= 2) lists.push_back(std::move(list));
    }

    for (const auto& list : lists) {
        for (std::size_t a = 0; a < list.size(); ++a) {
            const std::vector<std::size_t> partners = nearest_partners(list, a);
            for (std::uint8_t seed = 0; seed < list[a].seeds; ++seed) {
                const std::optional<Cell> place = find_place(*this, list[a].position);
                if (!place) continue;
                Soil sown;
                if (!partners.empty()) {
                    const auto pick = static_cast<std::size_t>(rand_below64(partners.size()));
                    sown.flower = mate(list[a].flower, list[partners[pick]].flower);
                }
                set_tile(*place, sown);
            }
        }
    }
}

}  // namespace qm
