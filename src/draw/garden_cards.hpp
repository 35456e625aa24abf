// What the garden's cards say: tonight's forecast, the planner's table of a flower, the hive card
// and the morning report. Texts here, drawing in garden_cards.cpp; the cards are drawn in the pass
// over the field, the controls, the clock and the notices.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <vector>

#include <SDL_rect.h>

#include "bees.hpp"
#include "day_clock.hpp"
#include "draw_error.hpp"
#include "forecast.hpp"
#include "hex_geometry.hpp"
#include "panel.hpp"
#include "world.hpp"

namespace qm {

class Collection;
class DrawContext;
struct Lily;

// "1 seed", "3 seeds"
std::string count_text(std::size_t n, const char* one, const char* many);
// "1 to 3 seeds", or "2 seeds" when the range is one number.
std::string seeds_range_text(std::size_t least, std::size_t most);

// "about 34 seeds, 22 to 44": the seeds sown on average and their exact range; "3 seeds" when the
// range is one number.
std::string expected_seeds_text(const Forecast& forecast);
// The forecast's lines, title first: what tonight will bring, as the field stands at `now`.
std::vector<std::string> forecast_lines(const Forecast& forecast, std::uint16_t now);

// The end-day card's line: what the night brings if the day ends now, and how many more flowers
// would breed were the day let run to nightfall.
std::string ending_now_text(const Forecast& now, const Forecast& by_nightfall);
// Tonight's forecast with only the flowers open now.
Forecast forecast_if_ended_now(const World& world);

// "each flower leaves 1 to 2 seeds" (the hive of this level's bees, for each open flower in reach).
std::string seeds_per_flower_text(std::uint16_t level);
// The hive card's lines: its level and what it means, its honey, what a harvest will do and when
// it is ready, counting the open flowers that fill it now.
std::vector<std::string> hive_card_lines(const BeeHive& hive, std::uint32_t in_bloom, std::uint16_t now);
// Open flowers in the hive's range on `world`: its honey per frame.
std::uint32_t flowers_feeding(const World& world, Cell hive_cell);

// What the empty hands' use on a tile says: the tool that would work it, or nothing.
std::optional<std::string> empty_hands_text(const World& world, Cell at);

// What stops time flying, as its notice: a hive that has become full since `full_before` hives
// were, or 6:00 pm (with the dry buds that open only if watered now).
std::size_t full_hives(const World& world);
std::optional<std::string> time_flies_stop(const World& world, std::uint16_t tick, std::size_t full_before,
                                           std::size_t dry_buds);
inline constexpr std::uint16_t SIX_PM = DAY_END - TICKS_PER_HOUR;

// "1/4", or "12.5%" for a share that is not one fraction.
std::string chance_text(const Offspring& offspring);

// A row of a card: a line of text, with a blossom swatch in front when it names a genome.
struct CardLine {
    std::string text;
    std::optional<std::uint32_t> swatch;  // the blossom's colour
    bool marked = false;                  // a genome the collection has not seen yet: "new"
    bool in_grid = false;                 // one of a run of genomes laid out in columns
};

// The planner's card of the flower at `at` (its genome first), and the cells to mark on the field.
std::vector<CardLine> planner_rows(const FlowerOutlook& outlook, const std::array<std::uint8_t, 3>& genes,
                                  const Collection& collection);

// The morning report in one line: "Last night: 4 flowers bred, 9 seeds sown, 1 new genome".
std::string night_line(const NightReport& night, const Collection& collection);
// The morning report's rows: what the night did, new genomes among the seeds marked.
std::vector<CardLine> morning_report_rows(const NightReport& night, const Collection& collection);

// Drawing a card: a framed panel holding its rows, a blossom swatch in front of those that name a
// genome and a "new" tag behind those the collection lacks.
struct CardSize {
    int w = 0;
    int h = 0;
};
enum class CardFont { Small, Medium };
// Where each line of a card goes, relative to the card's corner, and the card's size: worked out
// once a frame, for placing the card and for drawing it.
struct CardLayout {
    std::vector<SDL_Point> at;
    CardSize size;
    int line_h = 0;
};
std::expected<CardLayout, DrawError> lay_out_card(DrawContext& ctx, TextCache& texts, const std::vector<CardLine>& rows,
                                                  CardFont font);
DrawResult draw_card(DrawContext& ctx, TextCache& texts, const std::vector<CardLine>& rows, CardFont font,
                     const CardLayout& layout, SDL_Point top_left);
// Plain lines as rows.
std::vector<CardLine> text_rows(const std::vector<std::string>& lines);
// Where a card of this size goes near the screen point of a cell: right of it, left of it, below or
// above, kept on the screen and below `top`, whichever covers least of the places in `avoid`.
SDL_Point card_beside(const DrawContext& ctx, Cell c, CardSize size, int top, const std::vector<SDL_Rect>& avoid);

// A card's rows and their layout as the last frame drew them.
struct KeptCard {
    std::vector<CardLine> rows;
    CardLayout layout;
    bool made = false;
};

// The garden's cards as the last frame drew them, with what each was made from. A card is made
// and laid out again only when that has changed, so a steady frame builds no text and allocates
// nothing for them.
struct GardenCardsKept {
    Forecast forecast;
    std::size_t dry_in_time = 0;
    KeptCard forecast_card;

    bool planner = false;  // the selection card is the planner's, else the hive card
    FlowerOutlook outlook;
    std::array<std::uint8_t, 3> genes{};
    BeeHive hive;
    std::uint32_t in_bloom = 0;
    std::uint16_t tick = 0;
    std::bitset<GENOTYPES> seen;  // the genomes the collection had then
    KeptCard selection_card;
    std::vector<SDL_Rect> avoid;  // what the selection card keeps clear of, filled each frame

    NightReport night;
    std::bitset<GENOTYPES> night_seen;
    KeptCard morning_card;
};

// What the garden's pass reads each frame; the loop fills it (`garden_pass`).
struct GardenPass {
    const World& world;
    const Lily& lily;
    const Collection& collection;
    const Forecast& forecast;
    const FlowerOutlook* outlook = nullptr;  // of the bud or flower she aims at
    std::uint16_t tick = 0;
    bool genomes_shown = false;
    const NightReport* night = nullptr;  // what the last night did, while the morning report is up
    TextCache* texts = nullptr;
    bool collection_open = false;  // the cards beside the field make way for the collection
    GardenCardsKept* kept = nullptr;
};

// The flower the planner shows: a bud or an open flower on the tile she aims at.
std::optional<Cell> planned_cell(const World& world, const Lily& lily);

// The field's layer of the pass: range outlines, every genome label (when shown), the planner's
// partners, the aim, and the can's number.
DrawResult draw_garden_marks(DrawContext& ctx, const GardenPass& pass);
// Tonight's forecast, kept to the right under the notices, clear of the clock, the frame time and
// the controls' corners; it makes way for the morning report while that is up.
DrawResult draw_forecast_card(DrawContext& ctx, const GardenPass& pass);
// The planner on a flower, or the hive card on a hive, beside the tile the gardener aims at and
// clear of the forecast.
DrawResult draw_selection_card(DrawContext& ctx, const GardenPass& pass);
// The morning report, in the middle of the field under the notices, in the larger font.
DrawResult draw_morning_report(DrawContext& ctx, TextCache& texts, const NightReport& night, const Collection& collection,
                               GardenCardsKept& kept);

}  // namespace qm
