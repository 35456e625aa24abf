// The plan of the night: open flowers, each hive's list of parents and each parent's nearest
// partners. Nothing here draws a random number.
#include "breeding.hpp"

#include <algorithm>
#include <array>
#include <bit>

#include <boost/unordered/unordered_flat_map.hpp>

#include "day_clock.hpp"
#include "fatal.hpp"
#include "world.hpp"

namespace qm {

namespace {

// A hive's parents all lie within HIVE_RANGE of it, so their offsets from the hive fit a small
// grid: each cell of it names the parent standing there (its position in the list, plus one).
class ListGrid {
public:
    static constexpr int HALF_I = 2 * HIVE_RANGE;
    static constexpr int HALF_J = HIVE_RANGE;

    void place(int di, int dj, std::uint32_t k) { slots_[slot(di, dj)] = k + 1; }
    void clear(int di, int dj) { slots_[slot(di, dj)] = 0; }
    // The parent at this offset, plus one; 0 for none or off the grid.
    std::uint32_t at(int di, int dj) const {
        if (di < -HALF_I || di > HALF_I || dj < -HALF_J || dj > HALF_J) return 0;
        return slots_[slot(di, dj)];
    }

private:
    static std::size_t slot(int di, int dj) {
        return static_cast<std::size_t>((dj + HALF_J) * (2 * HALF_I + 1) + di + HALF_I);
    }
    std::array<std::uint32_t, (2 * HALF_I + 1) * (2 * HALF_J + 1)> slots_{};
};

// Walking a ring of radius d: start d steps south-west, then d steps in each of these directions
// (E, NE, NW, W, SW, SE) comes back round to the start.
constexpr std::array<std::size_t, 6> RING_WALK{3, 2, 1, 0, 5, 4};
constexpr std::size_t SOUTH_WEST = 5;

struct Offset {
    int di;
    int dj;
};

// The partners of each parent: every other parent at the smallest distance, in list order. The
// list's cells are unique, so a ring search outward from each parent finds the same set as a scan
// of the whole list, at a fraction of its cost in a dense garden.
void choose_partners(HiveList& list, const std::vector<Offset>& offsets, ListGrid& grid) {
    for (std::size_t k = 0; k < offsets.size(); ++k) grid.place(offsets[k].di, offsets[k].dj, static_cast<std::uint32_t>(k));
    list.partner_begin.assign(1, 0);
    for (const Offset& from : offsets) {
        const std::size_t first = list.partner_index.size();
        for (int d = 1; d <= 2 * HIVE_RANGE && list.partner_index.size() == first; ++d) {
            int di = from.di + d * NEIGHBOUR_OFFSETS[SOUTH_WEST][0];
            int dj = from.dj + d * NEIGHBOUR_OFFSETS[SOUTH_WEST][1];
            for (const std::size_t dir : RING_WALK) {
                for (int step = 0; step < d; ++step) {
                    if (const std::uint32_t found = grid.at(di, dj)) list.partner_index.push_back(found - 1);
                    di += NEIGHBOUR_OFFSETS[dir][0];
                    dj += NEIGHBOUR_OFFSETS[dir][1];
                }
            }
        }
        std::sort(list.partner_index.begin() + static_cast<std::ptrdiff_t>(first), list.partner_index.end());
        list.partner_begin.push_back(static_cast<std::uint32_t>(list.partner_index.size()));
    }
    for (const Offset& o : offsets) grid.clear(o.di, o.dj);
}

}  // namespace

bool open_tonight(const Flower& flower, Open which) {
    if (flower.stage == FlowerStage::Flower) return true;
    return which == Open::ByNightfall && flower.stage == FlowerStage::Bud && flower.next_stage <= DAY_END;
}

NightPlan plan_night(const World& world, Open which) {
    NightPlan plan;
    for (const auto& [c, tile] : world.tiles()) {
        const Flower* flower = flower_on(tile);
        if (flower && open_tonight(*flower, which)) plan.open.push_back({c, *flower});
    }

    // Each hive looks only at the cells of its range, not at every open flower of the field.
    boost::unordered_flat_map<Cell, std::uint32_t, CellHash> open_at;
    open_at.reserve(plan.open.size());
    for (std::size_t k = 0; k < plan.open.size(); ++k) open_at.emplace(plan.open[k].position, static_cast<std::uint32_t>(k));

    ListGrid grid;
    std::vector<Offset> offsets;
    plan.hives.reserve(world.hive_ranges().size());
    for (const auto& [hive_cell, range] : world.hive_ranges()) {
        const auto stored = world.tiles().find(hive_cell);
        if (stored == world.tiles().end()) fatal(NO_ENTRY_MESSAGE);
        const auto* hive = std::get_if<Hive>(&stored->second);
        if (!hive) fatal("There's not a hive here!");
        HiveList& list = plan.hives.emplace_back(HiveList{hive_cell, hive->hive, {}, {}, {}});
        if (!open_at.empty()) {
            for_each_in_hexagon(hive->hive.position, HIVE_RANGE, [&](Cell c) {
                if (const auto found = open_at.find(c); found != open_at.end()) list.parents.push_back(found->second);
            });
        }
        // The night takes them in the order of the open flowers.
        std::ranges::sort(list.parents);
        if (!list.breeds()) continue;
        offsets.clear();
        for (const std::uint32_t k : list.parents) {
            const Cell at = plan.open[k].position;
            offsets.push_back({as_i16(wrap_sub(at.i, hive->hive.position.i)), as_i16(wrap_sub(at.j, hive->hive.position.j))});
        }
        choose_partners(list, offsets, grid);
    }
    return plan;
}

std::vector<bool> breeding_parents(const NightPlan& plan) {
    std::vector<bool> breeds(plan.open.size(), false);
    for (const HiveList& list : plan.hives) {
        if (!list.breeds()) continue;
        for (const std::uint32_t k : list.parents) breeds[k] = true;
    }
    return breeds;
}

std::uint32_t most_seeds(std::uint16_t level) { return static_cast<std::uint32_t>(std::bit_width(level)); }

}  // namespace qm
