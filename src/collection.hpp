// The colour collection: which of the 27 genomes have been seen in bloom during this run and on
// which day each first opened, and the panel that shows them as swatches. Kept in memory only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <SDL_rect.h>

#include "draw_error.hpp"
#include "flowers.hpp"

namespace qm {

class DrawContext;
class Milestones;

class Collection {
public:
    // A flower of this genotype opened on `day`: true when it is the first of its kind.
    bool record(std::size_t genotype, std::uint64_t day);
    std::optional<std::uint64_t> first_day(std::size_t genotype) const;
    std::size_t seen() const;

    // The panel, centred on the screen: a swatch per genome with its allele pairs and the day it
    // first opened (a silhouette while unseen), the count, and the labels' legend; with the
    // milestones, their list under the swatches, each ticked with the day it was reached; and the
    // line of what the last night did, above the legend.
    DrawResult draw(DrawContext& ctx, const Milestones* milestones = nullptr, const std::string& last_night = {}) const;

private:
    std::array<std::uint64_t, GENOTYPES> first_day_{};  // 0: not seen yet; days count from 1
};

// "9 of 27"
std::string collection_count_text(std::size_t seen);

// Where the panel puts genotype k's swatch card on a screen, the milestones' list (empty without
// them), and the panel itself.
struct CollectionLayout {
    SDL_Rect panel;
    std::array<SDL_Rect, GENOTYPES> swatches;
    SDL_Rect milestones;
    bool legend_on_one_line;
};
enum class WithMilestones : bool { No, Yes };
CollectionLayout collection_layout(DrawContext& ctx, WithMilestones with = WithMilestones::No);

}  // namespace qm
