// The night between two days: the field is cleared, and each hive's bees pair the open flowers in
// its range with their nearest neighbours and sow the seeds on the nearest free soil.
#include "world.hpp"

#include <array>
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
    for (auto& [c, tile] : tiles_) {
        auto* soil = std::get_if<Soil>(&tile);
        if (!soil) continue;
        if (soil->flower && soil->flower->stage == FlowerStage::Flower) open.push_back({c, *soil->flower});
        soil->flower.reset();
        soil->watered = false;
    }

    for (auto& [hive_cell, range] : hive_ranges_) range.clear();

    // Every list is complete before the first seed falls, so tonight's seeds never parent tonight.
    std::vector<std::vector<Parent>> lists;
    for (const auto& [hive_cell, range] : hive_ranges_) {
        const auto stored = tiles_.find(hive_cell);
        if (stored == tiles_.end()) fatal(NO_ENTRY_MESSAGE);
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

    NightField field(*this);
    for (const auto& list : lists) {
        for (std::size_t a = 0; a < list.size(); ++a) {
            const std::vector<std::size_t> partners = nearest_partners(list, a);
            for (std::uint8_t seed = 0; seed < list[a].seeds; ++seed) {
                const std::optional<Cell> place = field.find_place(list[a].position);
                if (!place) continue;
                Soil sown;
                if (!partners.empty()) {
                    const auto pick = static_cast<std::size_t>(rand_below64(partners.size()));
                    sown.flower = mate(list[a].flower, list[partners[pick]].flower);
                }
                set_tile(*place, sown);
                field.sown(*place, sown.flower.has_value());
            }
        }
    }
}

}  // namespace qm
