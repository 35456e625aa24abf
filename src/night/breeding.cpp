// The plan of the night: open flowers, each hive's list of parents and each parent's nearest
// partners. Nothing here draws a random number.
#include "breeding.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <utility>

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

std::uint32_t row_major(Cell c) { return std::uint32_t{c.j} << 16 | c.i; }

struct Offset {
    int di;
    int dj;
};

std::vector<Offset> list_offsets(const NightPlan& plan, const HiveList& list) {
    std::vector<Offset> offsets;
    offsets.reserve(list.parents.size());
    for (const std::uint32_t k : list.parents) {
        const Cell at = plan.open[k].position;
        offsets.push_back({as_i16(wrap_sub(at.i, list.hive.position.i)), as_i16(wrap_sub(at.j, list.hive.position.j))});
    }
    return offsets;
}

// The partners of one parent: every other parent at the smallest distance, appended in list
// order. The list's cells are unique, so a ring search outward from the parent finds the same set
// as a scan of the whole list, at a fraction of its cost in a dense garden.
void append_partners(const ListGrid& grid, Offset from, std::vector<std::uint32_t>& out) {
    const std::size_t first = out.size();
    for (int d = 1; d <= 2 * HIVE_RANGE && out.size() == first; ++d) {
        int di = from.di + d * NEIGHBOUR_OFFSETS[SOUTH_WEST][0];
        int dj = from.dj + d * NEIGHBOUR_OFFSETS[SOUTH_WEST][1];
        for (const std::size_t dir : RING_WALK) {
            for (int step = 0; step < d; ++step) {
                if (const std::uint32_t found = grid.at(di, dj)) out.push_back(found - 1);
                di += NEIGHBOUR_OFFSETS[dir][0];
                dj += NEIGHBOUR_OFFSETS[dir][1];
            }
        }
    }
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
}

void place_all(ListGrid& grid, const std::vector<Offset>& offsets) {
    for (std::size_t k = 0; k < offsets.size(); ++k) grid.place(offsets[k].di, offsets[k].dj, static_cast<std::uint32_t>(k));
}

void choose_partners(HiveList& list, const std::vector<Offset>& offsets, ListGrid& grid) {
    place_all(grid, offsets);
    list.partner_begin.assign(1, 0);
    for (const Offset& from : offsets) {
        append_partners(grid, from, list.partner_index);
        list.partner_begin.push_back(static_cast<std::uint32_t>(list.partner_index.size()));
    }
    for (const Offset& o : offsets) grid.clear(o.di, o.dj);
}

}  // namespace

bool open_tonight(const Flower& flower, Open which) {
    if (flower.stage == FlowerStage::Flower) return true;
    return which == Open::ByNightfall && flower.stage == FlowerStage::Bud && flower.next_stage <= DAY_END;
}

NightPlan plan_night(const World& world, Open which, Partners partners) {
    NightPlan plan;
    for (const auto& [c, tile] : world.tiles()) {
        const Flower* flower = flower_on(tile);
        if (flower && open_tonight(*flower, which)) plan.open.push_back({c, *flower});
    }

    // Each hive looks only at the rows of its range: the open flowers sorted by row, then column,
    // give each row's stretch to a binary search, with no hash look-up per cell.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> by_cell;  // (row << 16 | column, index)
    by_cell.reserve(plan.open.size());
    for (std::size_t k = 0; k < plan.open.size(); ++k) by_cell.emplace_back(row_major(plan.open[k].position), static_cast<std::uint32_t>(k));
    std::ranges::sort(by_cell);

    ListGrid grid;
    std::vector<std::uint64_t> marks((plan.open.size() + 63) / 64, 0);
    plan.hives.reserve(world.hive_ranges().size());
    for (const auto& [hive_cell, range] : world.hive_ranges()) {
        const auto stored = world.tiles().find(hive_cell);
        if (stored == world.tiles().end()) fatal(NO_ENTRY_MESSAGE);
        const auto* hive = std::get_if<Hive>(&stored->second);
        if (!hive) fatal("There's not a hive here!");
        HiveList& list = plan.hives.emplace_back(HiveList{hive_cell, hive->hive, {}, {}, {}});
        const Cell centre = hive->hive.position;
        for (int dj = -HIVE_RANGE; dj <= HIVE_RANGE; ++dj) {
            const auto j = static_cast<std::uint16_t>(centre.j + dj);
            const int reach = 2 * HIVE_RANGE - std::abs(dj);
            const auto first = static_cast<std::uint16_t>(centre.i - reach);
            const auto last = static_cast<std::uint16_t>(centre.i + reach);
            // A stretch that runs over the edge of the columns is two stretches.
            const auto take = [&](std::uint16_t from, std::uint16_t to) {
                const std::uint32_t end = std::uint32_t{j} << 16 | to;
                auto at = std::ranges::lower_bound(by_cell, std::pair{std::uint32_t{j} << 16 | from, std::uint32_t{0}});
                for (; at != by_cell.end() && at->first <= end; ++at) {
                    if (distance(plan.open[at->second].position, centre) <= HIVE_RANGE) list.parents.push_back(at->second);
                }
            };
            if (first <= last) {
                take(first, last);
            } else {
                take(first, 0xFFFF);
                take(0, last);
            }
        }
        // The night takes them in the order of the open flowers: marked in a bitmap, read back in
        // order, which costs less than sorting them.
        for (const std::uint32_t k : list.parents) marks[k / 64] |= std::uint64_t{1} << (k % 64);
        list.parents.clear();
        for (std::size_t w = 0; w < marks.size(); ++w) {
            for (; marks[w] != 0; marks[w] &= marks[w] - 1) {
                list.parents.push_back(static_cast<std::uint32_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(marks[w]))));
            }
        }
        if (list.breeds() && partners == Partners::All) choose_partners(list, list_offsets(plan, list), grid);
    }
    return plan;
}

std::vector<std::uint32_t> nearest_partners(const NightPlan& plan, const HiveList& list, std::size_t k) {
    const std::vector<Offset> offsets = list_offsets(plan, list);
    ListGrid grid;
    place_all(grid, offsets);
    std::vector<std::uint32_t> partners;
    append_partners(grid, offsets[k], partners);
    return partners;
}

std::vector<bool> breeding_parents(const NightPlan& plan) {
    std::vector<bool> breeds(plan.open.size(), false);
    for (const HiveList& list : plan.hives) {
        if (!list.breeds()) continue;
        for (const std::uint32_t k : list.parents) breeds[k] = true;
    }
    return breeds;
}

std::size_t count_breeding(const NightPlan& plan) {
    const std::vector<bool> breeds = breeding_parents(plan);
    return static_cast<std::size_t>(std::ranges::count(breeds, true));
}

std::uint32_t most_seeds(std::uint16_t level) { return static_cast<std::uint32_t>(std::bit_width(level)); }

}  // namespace qm
