// Marks drawn over the whole field, after the plants, the hives and the gardener, so nothing on the
// field hides them: the outline of the tile she will act on, the planner's partners, the outline
// and faint fill of hive ranges, every flower's genome labels, and the can's charges.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "draw_error.hpp"
#include "hex_geometry.hpp"

namespace qm {

class DrawContext;
class TextCache;
class World;
struct Lily;

// Outline colours: the aim when the tool would act there, when it would not, and a partner.
inline constexpr std::uint32_t AIM_READY = 0xFFFFFFFF;
inline constexpr std::uint32_t AIM_IDLE = 0xFFB4B4B4;
inline constexpr std::uint32_t PARTNER_MARK = 0xFFFF60FF;
inline constexpr std::uint32_t RANGE_OUTLINE = 0xFFFFE060;

inline constexpr std::uint32_t OWN_TILE_MARK = 0xFFFFFFFF;

// A hexagon's outline round a cell, two pixels wide over a dark shadow.
DrawResult draw_cell_outline(DrawContext& ctx, Cell c, std::uint32_t colour);
// A faint one-pixel outline: the tile the gardener stands on, drawn on the ground under her.
DrawResult draw_faint_outline(DrawContext& ctx, Cell c);
// The tile the gardener aims at, outlined in full when her tool would act there.
DrawResult draw_aim(DrawContext& ctx, const Lily& lily, const World& world);
// Each cell outlined, with a heart dot in its middle.
DrawResult draw_partner_marks(DrawContext& ctx, std::span<const Cell> cells);
// The range of a hive at `centre`: its outer edge, and a faint fill.
DrawResult draw_range_outline(DrawContext& ctx, Cell centre);
// The ranges the gardener's selection shows: every hive's while she carries one (and the one it
// would have at her aim), the aimed hive's otherwise.
DrawResult draw_selected_ranges(DrawContext& ctx, const Lily& lily, const World& world);
// The buds and open flowers on the screen whose genome labels show: the selected one first, then
// every other whose label would not run into one already shown. The list is the draw context's,
// filled afresh at each call.
const std::vector<Cell>& genome_labels_shown(DrawContext& ctx, const World& world, std::optional<Cell> selected);
// Their labels.
DrawResult draw_every_genome(DrawContext& ctx, const World& world, std::optional<Cell> selected);
// The can's charges as a number beside its meter.
DrawResult draw_can_charges(DrawContext& ctx, TextCache& texts, const Lily& lily);

}  // namespace qm
