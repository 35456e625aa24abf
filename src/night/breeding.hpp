// The night's rules in one place, read from the field without a single random draw: which open
// flowers each hive pairs, each one's nearest partners, and how many seeds it may leave. The night
// makes its draws over this plan; the forecast and the planner read the same plan and never touch
// the generator, so what they show is what the night will do.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bees.hpp"
#include "flowers.hpp"
#include "hex_geometry.hpp"

namespace qm {

class World;

// Which plants count as open tonight: those open now (the night itself), or also the buds sure to
// open before the day ends (a growing bud's hour is already fixed; a sprout's is still to be drawn).
enum class Open { Now, ByNightfall };

bool open_tonight(const Flower& flower, Open which);

struct Parent {
    Cell position;
    Flower flower;
};

// One hive's bees and the open flowers they reach.
struct HiveList {
    Cell hive_cell;  // the key of its range
    BeeHive hive;
    // Indices into NightPlan::open, in that order. A list of one is kept: the night still draws
    // its seed count before dropping it.
    std::vector<std::uint32_t> parents;
    // For each parent of a list that breeds, its nearest partners as positions in `parents`, in
    // list order: partners_of(k). Left empty by a plan made without them.
    std::vector<std::uint32_t> partner_begin;
    std::vector<std::uint32_t> partner_index;

    bool breeds() const { return parents.size() >= 2; }
    std::span<const std::uint32_t> partners_of(std::size_t k) const {
        return std::span<const std::uint32_t>(partner_index).subspan(partner_begin[k], partner_begin[k + 1] - partner_begin[k]);
    }
};

struct NightPlan {
    std::vector<Parent> open;     // in the order of the world's tile map
    std::vector<HiveList> hives;  // every hive, in the order of the world's ranges
};

// Whether the plan pairs every parent (the night does) or leaves it to nearest_partners (the
// forecast counts seeds, and the planner asks about one flower).
enum class Partners { All, OnRequest };

// The plan of tonight. A range whose cell holds no hive stops the program as the night does.
NightPlan plan_night(const World& world, Open which = Open::Now, Partners partners = Partners::All);

// The nearest partners of parent k of a list that breeds, as positions in list.parents, in list
// order: the same rule the night pairs by.
std::vector<std::uint32_t> nearest_partners(const NightPlan& plan, const HiveList& list, std::size_t k);

// For each entry of plan.open: whether some list that breeds holds it.
std::vector<bool> breeding_parents(const NightPlan& plan);
// The flowers that breed tonight: those some hive's list pairs with a partner. The forecast says
// how many will and the morning report how many did, both by this count, whether or not their
// seeds find soil to fall on.
std::size_t count_breeding(const NightPlan& plan);

// The most seeds one flower can leave for a hive of this level (the fewest is one): the bit
// length of the largest draw in [1, level].
std::uint32_t most_seeds(std::uint16_t level);

}  // namespace qm
