// The colour collection's record: which of the 27 genomes have been seen in bloom during this run,
// on which day each first opened, and the seeds it hands out of the genomes seen. Kept in memory
// only; the panel that shows it and takes its clicks and keys is collection_panel.*.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "flowers.hpp"

namespace qm {

class Collection {
public:
    // Each morning, and at the start of play, a grant of seeds; what is not taken carries over, up
    // to a limit, so a day away from the panel is not lost but a week is not hoarded.
    static constexpr std::uint32_t SEEDS_A_MORNING = 3;
    static constexpr std::uint32_t SEEDS_KEPT_MOST = 6;

    // A flower of this genotype opened on `day`: true when it is the first of its kind.
    bool record(std::size_t genotype, std::uint64_t day);
    std::optional<std::uint64_t> first_day(std::size_t genotype) const;
    std::size_t seen() const;

    // The morning's grant.
    void grant_seeds();
    std::uint32_t seeds_left() const { return seeds_; }
    // Whether a seed of this genotype can be taken now: seen in bloom, and a seed left today.
    bool can_take(std::size_t genotype) const;
    // One seed of a genotype seen in bloom, for her to carry as she carries a seed she dug up;
    // nothing when it was never seen or no seed is left today.
    std::optional<Flower> take_seed(std::size_t genotype);

private:
    std::array<std::uint64_t, GENOTYPES> first_day_{};  // 0: not seen yet; days count from 1
    std::uint32_t seeds_ = 0;
};

// "9 of 27"
std::string collection_count_text(std::size_t seen);

}  // namespace qm
