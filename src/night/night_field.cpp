// The seeds' search across the field, and the patches of soil the forecast measures with it.
#include "night_field.hpp"

#include <span>

#include "random.hpp"

namespace qm {

template <typename StepAt, typename Order, typename Admit>
std::optional<std::size_t> NightField::breadth_first(std::uint32_t start, StepAt step, Order order, Admit admit) {
    queue_.assign(1, start);
    for (std::size_t head = 0; head < queue_.size(); ++head) {
        const std::uint32_t at = queue_[head];
        const Step s = step(at);
        if (s == Step::Stop) return head;
        if (s == Step::Pass) continue;
        std::array<std::uint32_t, 6> around = neighbours(at);
        order(around);
        for (const std::uint32_t next : around) {
            if (admit(next)) queue_.push_back(next);
        }
    }
    return std::nullopt;
}

std::optional<Cell> NightField::find_place(Cell from) {
    const std::uint32_t start = number(from);
    // A patch found full once stays full: nothing is sown into it and its rim is not soil. The
    // search would cross it all again, shuffling the neighbours of each flower, and those draws
    // are still made.
    if (spots_[start].walled_in != 0) {
        skip_shuffles(NEIGHBOURS.size(), spots_[start].walled_in);
        return std::nullopt;
    }
    ++search_;
    spots_[start].seen = search_;
    std::uint32_t flowered = 0;
    const std::optional<std::size_t> stop = breadth_first(
        start,
        [&](std::uint32_t at) {
            if (spots_[at].kind == Kind::Empty) return Step::Stop;
            if (spots_[at].kind == Kind::Other) return Step::Pass;
            ++flowered;
            return Step::Spread;
        },
        [](std::array<std::uint32_t, 6>& around) { shuffle(std::span<std::uint32_t>(around)); },
        [&](std::uint32_t next) {
            if (spots_[next].seen == search_) return false;
            spots_[next].seen = search_;
            return true;
        });
    if (stop) return spots_[queue_[*stop]].cell;
    for (const std::uint32_t at : queue_) {
        if (spots_[at].kind == Kind::Flowered) spots_[at].walled_in = flowered;
    }
    return std::nullopt;
}

void NightField::sown(Cell place, bool flower) {
    if (flower) spots_[number(place)].kind = Kind::Flowered;
}

NightField::Patch NightField::patch_of(Cell from, std::size_t bound) {
    const std::uint32_t start = number(from);
    // The forecast's searches each claim their cells for good: a cell's first search is its patch.
    if (spots_[start].seen != 0) return {spots_[start].seen - std::size_t{1}};
    const std::uint32_t search = ++search_;
    spots_[start].seen = search;
    // On a bared field every soil cell is empty, and each seed falls on the nearest: the patch fills
    // in the order of the search with all of its soil crossed.
    const std::optional<std::size_t> stop = breadth_first(
        start, [&](std::uint32_t) { return queue_.size() > bound ? Step::Stop : Step::Spread; },
        [](std::array<std::uint32_t, 6>&) {},
        [&](std::uint32_t next) {
            if (spots_[next].kind == Kind::Other || spots_[next].seen != 0) return false;
            spots_[next].seen = search;
            return true;
        });
    return {search - std::size_t{1}, true, queue_.size(), !stop};
}

std::uint32_t NightField::number(Cell c) {
    const auto [found, added] = numbers_.try_emplace(c, static_cast<std::uint32_t>(spots_.size()));
    if (added) {
        const auto* soil = std::get_if<Soil>(&world_.get_tile(c));
        const Kind kind = !soil ? Kind::Other : soil->flower ? Kind::Flowered : Kind::Empty;
        spots_.push_back(Spot{c, kind});
    }
    return found->second;
}

std::array<std::uint32_t, 6> NightField::neighbours(std::uint32_t at) {
    for (std::size_t k = 0; k < NEIGHBOURS.size(); ++k) {
        if (spots_[at].around[k] == UNKNOWN) {
            const std::uint32_t next = number(spots_[at].cell + NEIGHBOURS[k]);
            spots_[at].around[k] = next;
        }
    }
    return spots_[at].around;
}

}  // namespace qm
