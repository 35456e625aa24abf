// The colour collection's panel: a swatch per genome with its allele pairs and the day it first
// opened (a silhouette while unseen), the count, the seeds left to take today, the milestones and
// the labels' legend. It takes the clicks and touches on it, and a highlight moved by the arrows
// or the d-pad picks the swatch whose seed Enter or A takes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include <SDL_rect.h>

#include "collection.hpp"
#include "draw_error.hpp"
#include "swatch_grid.hpp"  // the highlight's steps

namespace qm {

class DrawContext;
class Milestones;

// Where the panel puts genotype k's swatch card on a screen, the milestones' list (empty without
// them), and the panel itself.
struct CollectionLayout {
    SDL_Rect panel;
    std::array<SDL_Rect, GENOTYPES> swatches;
    SDL_Rect seeds;  // the seeds left today and the reminder, under the swatches
    SDL_Rect milestones;
    bool legend_on_one_line;
    bool seeds_on_one_line;
};
enum class WithMilestones : bool { No, Yes };
CollectionLayout collection_layout(DrawContext& ctx, WithMilestones with = WithMilestones::No);

// The swatch under a screen point, if any.
std::optional<std::size_t> swatch_at(const CollectionLayout& layout, int x, int y);

// "3 seeds to take today of colours seen in bloom", or when none is left, when the next come.
std::string seeds_left_text(std::uint32_t left);
// The reminder after it, or under it on a narrow screen: what a seed is planted with, and that
// what she carries goes at dawn.
inline constexpr const char* SEEDS_REMINDER = "plant with the shovel; carried plants are lost at dawn";

// The panel, centred on the screen; with the milestones, their list under the swatches; with a
// highlight, a ring around that swatch; and the line of what the last night did, above the legend.
DrawResult draw_collection(DrawContext& ctx, const Collection& collection, const Milestones* milestones = nullptr,
                           std::optional<std::size_t> highlight = std::nullopt, const std::string& last_night = {});

}  // namespace qm
