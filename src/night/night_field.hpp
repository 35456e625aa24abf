// Where the night's seeds land, written once: a seed searches breadth first from its parent across
// flowered soil for the nearest empty soil, equally near cells in a random order, and every tile
// that is not soil stops it. The night searches by it; the forecast measures by the same search
// the patches of soil each parent's seeds can ever reach.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include <boost/unordered/unordered_flat_map.hpp>

#include "hex_geometry.hpp"
#include "world.hpp"

namespace qm {

// What the night knows of the field around the seeds. A tile's kind does not change overnight (seeds
// only fall on soil), so each cell is read from the world once, when a search first reaches it, and
// its flower is tracked here as seeds fall. Cells are numbered, and each remembers its neighbours'
// numbers, so a search that crosses a region again does so without a single look-up.
class NightField {
public:
    explicit NightField(const World& world) : world_(world) {}
    // Room for this many cells up front, for a field about to be searched far and wide.
    void reserve(std::size_t cells) {
        numbers_.reserve(cells);
        spots_.reserve(cells);
        queue_.reserve(cells);
    }

    // The nearest empty soil from `from`, searching outward across flowered soil, equally near
    // cells in a random order; none when the flowers there are walled in by other tiles.
    std::optional<Cell> find_place(Cell from);
    // A seed fell on a place find_place gave.
    void sown(Cell place, bool flower);

    // The connected soil around a parent, flowered or not: where its seeds can fall once the night
    // has bared the field. Patches are numbered from 0 in the order they are first asked about; a
    // new one is measured by the seeds' search, in its order, until it holds more than `bound`
    // cells. A parent in the unmeasured part of a patch starts a patch of its own.
    struct Patch {
        std::size_t number = 0;
        bool is_new = false;
        std::size_t cells = 0;  // a new patch: the cells counted
        bool measured = true;   // a new patch: all of it counted
    };
    Patch patch_of(Cell from, std::size_t bound);

private:
    enum class Kind : std::uint8_t { Other, Empty, Flowered };
    // What a search does at a cell taken from its queue.
    enum class Step { Stop, Pass, Spread };
    static constexpr std::uint32_t UNKNOWN = std::numeric_limits<std::uint32_t>::max();

    struct Spot {
        Cell cell;
        Kind kind;
        std::uint32_t seen = 0;       // the search that queued it: the night's last, the forecast's first
        std::uint32_t walled_in = 0;  // flowers of its patch, once a search found the patch full
        std::array<std::uint32_t, 6> around{UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN, UNKNOWN};
    };

    std::uint32_t number(Cell c);
    std::array<std::uint32_t, 6> neighbours(std::uint32_t at);

    // The one search: breadth first from `start` (queued already), `step` deciding at each cell
    // taken from the queue, `order` arranging its neighbours, `admit` queuing a neighbour or not.
    // The position in the queue where the search stopped, if it did.
    template <typename StepAt, typename Order, typename Admit>
    std::optional<std::size_t> breadth_first(std::uint32_t start, StepAt step, Order order, Admit admit);

    const World& world_;
    boost::unordered_flat_map<Cell, std::uint32_t, CellHash> numbers_;
    std::vector<Spot> spots_;
    std::vector<std::uint32_t> queue_;
    std::uint32_t search_ = 0;
};

}  // namespace qm
