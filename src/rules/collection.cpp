// The colour collection's record and its seeds.
#include "collection.hpp"

#include <algorithm>

namespace qm {

bool Collection::record(std::size_t genotype, std::uint64_t day) {
    if (first_day_.at(genotype) != 0) return false;
    first_day_[genotype] = day;
    return true;
}

std::optional<std::uint64_t> Collection::first_day(std::size_t genotype) const {
    const std::uint64_t day = first_day_.at(genotype);
    return day == 0 ? std::nullopt : std::optional(day);
}

std::size_t Collection::seen() const {
    return static_cast<std::size_t>(std::count_if(first_day_.begin(), first_day_.end(), [](auto d) { return d != 0; }));
}

void Collection::grant_seeds() { seeds_ = std::min(seeds_ + SEEDS_A_MORNING, SEEDS_KEPT_MOST); }

bool Collection::can_take(std::size_t genotype) const {
    return genotype < GENOTYPES && seeds_ > 0 && first_day_[genotype] != 0;
}

std::optional<Flower> Collection::take_seed(std::size_t genotype) {
    if (!can_take(genotype)) return std::nullopt;
    --seeds_;
    // Its hour long passed, as a dug-up seed's may be: planted, it sprouts one to two hours later.
    return Flower{0, genes_of_genotype(genotype), FlowerStage::Seed};
}

std::string collection_count_text(std::size_t seen) { return std::to_string(seen) + " of " + std::to_string(GENOTYPES); }

}  // namespace qm
