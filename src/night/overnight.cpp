// The night between two days: the field is cleared, and each hive's bees pair the open flowers in
// its range with their nearest neighbours and sow the seeds on the nearest free soil.
#include "world.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <vector>

#include "breeding.hpp"
#include "random.hpp"

namespace qm {

namespace {

// What the night knows of the field around the seeds. A tile's kind does not change overnight (seeds
// only fall on soil), so each cell is read from the world once, when a search first reaches it, and
// its flower is tracked here as seeds fall. Cells are numbered, and each remembers its neighbours'
// numbers, so a search that crosses a region again does so without a single look-up.
class NightField {
public:
    explicit NightField(const World& world) : world_(world) {}

    // The nearest empty soil from `from`, searching outward across flowered soil, equally near
    // cells in a random order; none when the flowers there are walled in by other tiles.
    std::optional<Cell> find_place(Cell from) {
        const std::uint32_t start = number(from);
        // A patch found full once stays full: nothing is sown into it and its rim is not soil. The
        // search would cross it all again, shuffling the neighbours of each flower, and those draws
        // are still made.
        if (spots_[start].walled_in != 0) {
            skip_shuffles(NEIGHBOURS.size(), spots_[start].walled_in);
            return std::nullopt;
        }
        ++search_;
        queue_.assign(1, start);
        spots_[start].seen = search_;
        std::uint32_t flowered = 0;
        for (std::size_t head = 0; head < queue_.size(); ++head) {
            const std::uint32_t at = queue_[head];
            if (spots_[at].kind == Kind::Empty) return spots_[at].cell;
            if (spots_[at].kind == Kind::Other) continue;
            ++flowered;
            std::array<std::uint32_t, 6> around = neighbours(at);
            shuffle(std::span<std::uint32_t>(around));
            for (const std::uint32_t next : around) {
                if (spots_[next].seen == search_) continue;
                spots_[next].seen = search_;
                queue_.push_back(next);
            }
        }
        for (const std::uint32_t at : queue_) {
            if (spots_[at].kind == Kind::Flowered) spots_[at].walled_in = flowered;
        }
        return std::nullopt;
    }

    // A seed fell on a place find_place gave.
    void sown(Cell place, bool flower) {
        if (flower) spots_[number(place)].kind = Kind::Flowered;
    }

private:
    enum class Kind : std::uint8_t { Other, Empty, Flowered };
    static constexpr std::uint32_t UNKNOWN = std::numeric_limits<std::uint32_t>::max();

    struct Spot {
        Cell cell;
        Kind kind;
        std::uint32_t seen = 0;       // the last search that queued it
        std::uint32_t walled_in = 0;  // flowers of its patch, once a search found the patch full
        std::array<std::uint32_t, 6> around{UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN};
    };

    std::uint32_t number(Cell c) {
        const auto [found, added] = numbers_.try_emplace(c, static_cast<std::uint32_t>(spots_.size()));
        if (added) {
            const auto* soil = std::get_if<Soil>(&world_.get_tile(c));
            const Kind kind = !soil ? Kind::Other : soil->flower ? Kind::Flowered : Kind::Empty;
            spots_.push_back(Spot{c, kind});
        }
        return found->second;
    }

    std::array<std::uint32_t, 6> neighbours(std::uint32_t at) {
        for (std::size_t k = 0; k < NEIGHBOURS.size(); ++k) {
            if (spots_[at].around[k] == UNKNOWN) {
                const std::uint32_t next = number(spots_[at].cell + NEIGHBOURS[k]);
                spots_[at].around[k] = next;
            }
        }
        return spots_[at].around;
    }

    const World& world_;
    boost::unordered_flat_map<Cell, std::uint32_t, CellHash> numbers_;
    std::vector<Spot> spots_;
    std::vector<std::uint32_t> queue_;
    std::uint32_t search_ = 0;
};

}  // namespace

NightReport World::overnight() {
    // The plan is read before the field is cleared; clearing changes no order of the maps.
    const NightPlan plan = plan_night(*this, Open::Now);
    ++revision_;

    // Everything leaves the field; only the open flowers, in the plan, are remembered as parents.
    for (auto& [c, tile] : tiles_) {
        auto* soil = std::get_if<Soil>(&tile);
        if (!soil) continue;
        soil->flower.reset();
        soil->watered = false;
    }

    for (auto& [hive_cell, range] : hive_ranges_) range.clear();

    // The seed counts are drawn hive by hive in list order, lists of one included, and every list
    // is complete before the first seed falls, so tonight's seeds never parent tonight.
    std::vector<std::vector<std::uint8_t>> seeds(plan.hives.size());
    for (std::size_t h = 0; h < plan.hives.size(); ++h) {
        for (std::size_t k = 0; k < plan.hives[h].parents.size(); ++k) {
            seeds[h].push_back(static_cast<std::uint8_t>(sprouts_for_flower(plan.hives[h].hive)));
        }
    }

    NightReport report;
    report.bred = count_breeding(plan);
    NightField field(*this);
    for (std::size_t h = 0; h < plan.hives.size(); ++h) {
        const HiveList& list = plan.hives[h];
        if (!list.breeds()) continue;
        for (std::size_t a = 0; a < list.parents.size(); ++a) {
            const Parent& parent = plan.open[list.parents[a]];
            const std::span<const std::uint32_t> partners = list.partners_of(a);
            for (std::uint8_t seed = 0; seed < seeds[h][a]; ++seed) {
                const std::optional<Cell> place = field.find_place(parent.position);
                if (!place) {
                    ++report.lost;
                    continue;
                }
                Soil sown;
                if (!partners.empty()) {
                    const auto pick = static_cast<std::size_t>(rand_below64(partners.size()));
                    sown.flower = mate(parent.flower, plan.open[list.parents[partners[pick]]].flower);
                    ++report.sown;
                    ++report.genomes[genotype_of(*sown.flower)];
                }
                set_tile(*place, sown);
                field.sown(*place, sown.flower.has_value());
            }
        }
    }
    return report;
}

NightReport World::new_day() {
    NightReport report = overnight();
    // A night that leaves no flower is followed by the first day's sowing, so a dry day never
    // ends the game.
    if (flower_count() == 0) report.sown_again = sow_garden(Sowing::Again);
    return report;
}

}  // namespace qm
