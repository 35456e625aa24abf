// The garden's cards: their texts from the forecast, the planner's table, a hive and the night's
// report.
#include "garden_cards.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "collection.hpp"
#include "fatal.hpp"
#include "panel.hpp"
#include "day_clock.hpp"
#include "field_marks.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "notices.hpp"
#include "world.hpp"

namespace qm {

std::string count_text(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string seeds_range_text(std::size_t least, std::size_t most) {
    if (least == most) return count_text(most, "seed", "seeds");
    return std::to_string(least) + " to " + std::to_string(most) + " seeds";
}

std::string expected_seeds_text(const Forecast& forecast) {
    if (forecast.seeds_least == forecast.seeds_most) return count_text(forecast.seeds_most, "seed", "seeds");
    const auto about = std::clamp(static_cast<std::size_t>(std::lround(forecast.seeds_expected)), forecast.seeds_least, forecast.seeds_most);
    return "about " + count_text(about, "seed", "seeds") + ", " + std::to_string(forecast.seeds_least) + " to " +
           std::to_string(forecast.seeds_most);
}

std::vector<std::string> forecast_lines(const Forecast& forecast, std::uint16_t now) {
    std::vector<std::string> lines{"Tonight"};
    if (forecast.breeding == 0) {
        lines.emplace_back("No flower will breed");
    } else {
        lines.push_back(count_text(forecast.breeding, "flower", "flowers") + " will breed");
        lines.push_back(expected_seeds_text(forecast));
    }
    // Which seeds find room is drawn at night; that some will not is worth a line of its own.
    if (const auto lost = static_cast<std::size_t>(std::lround(forecast.seeds_lost)); lost > 0) {
        lines.push_back("The soil in reach is full: about " + count_text(lost, "seed finds", "seeds find") + " no place");
        lines.push_back("Till more soil within " + std::to_string(HIVE_RANGE) + " cells of a hive");
    }
    if (forecast.leaving > 0) lines.push_back(count_text(forecast.leaving, "plant leaves", "plants leave") + " unbred");
    if (const std::size_t dry = dry_buds_in_time(forecast, now); dry > 0) {
        lines.push_back(count_text(dry, "dry bud opens", "dry buds open") + " if watered");
    }
    if (forecast.growing > 0) lines.push_back(std::to_string(forecast.growing) + " more may still open");
    return lines;
}

std::string ending_now_text(const Forecast& now, const Forecast& by_nightfall) {
    std::string text = now.breeding == 0 ? std::string("If it ends now, no flower breeds")
                                         : "If it ends now: " + count_text(now.breeding, "flower breeds", "flowers breed") + ", " +
                                               seeds_range_text(now.seeds_least, now.seeds_most) + " to sow";
    if (by_nightfall.breeding > now.breeding) {
        text += " (" + std::to_string(by_nightfall.breeding) + " by nightfall)";
    }
    return text;
}

Forecast forecast_if_ended_now(const World& world) {
    return forecast_night(world, plan_night(world, Open::Now, Partners::OnRequest));
}

std::string seeds_per_flower_text(std::uint16_t level) {
    return "each flower leaves " + seeds_range_text(1, most_seeds(level));
}

std::uint32_t flowers_feeding(const World& world, Cell hive_cell) {
    const auto range = world.hive_ranges().find(hive_cell);
    if (range == world.hive_ranges().end()) return 0;
    return static_cast<std::uint32_t>(std::ranges::count_if(range->second, [&](Cell c) {
        const Flower* flower = flower_on(world.get_tile(c));
        return flower && flower->stage == FlowerStage::Flower;
    }));
}

std::vector<std::string> hive_card_lines(const BeeHive& hive, std::uint32_t in_bloom, std::uint16_t now) {
    std::vector<std::string> lines;
    lines.push_back("Hive, level " + std::to_string(hive.level) + ": " + seeds_per_flower_text(hive.level));
    lines.push_back("Honey " + std::to_string(honey_percent(hive.honey)) + "%, from " +
                    count_text(in_bloom, "open flower", "open flowers"));
    const auto next = static_cast<std::uint16_t>(hive.level == 0xFFFF ? hive.level : hive.level + 1);
    char average[64];
    std::snprintf(average, sizeof average, "A harvest: level %u, %.1f seeds a flower on average (now %.1f)",
                  static_cast<unsigned>(next), mean_seeds(next), mean_seeds(hive.level));
    lines.emplace_back(average);
    if (hive.honey >= HONEY_MAX) {
        lines.emplace_back("Full: harvest it with the smoker");
    } else if (in_bloom == 0) {
        lines.emplace_back("No open flower fills it");
    } else {
        // Honey comes one unit a frame for each open flower, and a frame is a tick of the clock.
        const std::uint32_t ticks = (HONEY_MAX - hive.honey + in_bloom - 1) / in_bloom;
        const std::uint32_t ready = std::uint32_t{now} + ticks;
        if (ready <= DAY_END) {
            lines.push_back("Full at about " + clock_text(static_cast<std::uint16_t>(ready)));
        } else {
            const std::uint32_t by_night = hive.honey + in_bloom * (DAY_END - std::min<std::uint32_t>(now, DAY_END));
            lines.push_back("Not full today: " + std::to_string(honey_percent(by_night)) + "% by 7:00 pm");
        }
    }
    return lines;
}

std::optional<std::string> empty_hands_text(const World& world, Cell at) {
    const Tile& tile = world.get_tile(at);
    const char* what = nullptr;
    if (std::holds_alternative<Lawn>(tile) || std::holds_alternative<TallGrass>(tile)) {
        what = "the hoe tills it";
    } else if (std::holds_alternative<Water>(tile)) {
        what = "the watering can fills here";
    } else if (std::holds_alternative<Hive>(tile)) {
        what = "the smoker works the hive";
    } else if (const auto* soil = std::get_if<Soil>(&tile)) {
        if (soil->flower) what = "the shovel digs the plant up";
        else if (!soil->watered) what = "the watering can waters it";
        else return std::nullopt;  // wet, bare soil wants nothing until something is planted
    }
    if (!what) return std::nullopt;
    return std::string("Empty hands: ") + what + " (tools in the shed)";
}

std::size_t full_hives(const World& world) {
    std::size_t full = 0;
    for (const auto& [at, range] : world.hive_ranges()) {
        if (const auto* hive = std::get_if<Hive>(&world.get_tile(at)); hive && hive->hive.honey >= HONEY_MAX) ++full;
    }
    return full;
}

std::optional<std::string> time_flies_stop(const World& world, std::uint16_t tick, std::size_t full_before,
                                           std::size_t dry_buds) {
    if (full_hives(world) > full_before) return "A hive is full: harvest it with the smoker";
    if (tick != SIX_PM) return std::nullopt;
    if (dry_buds > 0) return "6:00 pm: " + count_text(dry_buds, "dry bud opens", "dry buds open") + " only if watered now";
    return std::string("6:00 pm: an hour of daylight left");
}

std::string chance_text(const Offspring& offspring) {
    if (offspring.denominator != 0) {
        if (offspring.numerator == offspring.denominator) return "certain";
        return std::to_string(offspring.numerator) + "/" + std::to_string(offspring.denominator);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f%%", offspring.chance * 100.0);
    return buf;
}

namespace {
// A dozen swatches at most on a card.
constexpr std::size_t SWATCHES_SHOWN = 12;
}  // namespace

std::vector<CardLine> planner_rows(const FlowerOutlook& outlook, const std::array<std::uint8_t, 3>& genes,
                                  const Collection& collection) {
    std::vector<CardLine> rows;
    const std::uint32_t colour = genotype_colour(genes[0] + 3u * genes[1] + 9u * genes[2]);
    if (outlook.why == Barren::TooLate) {
        rows.push_back({genome_label(genes) + ": opens at about " + clock_text(outlook.opens_at) + ", after nightfall: no seeds tonight",
                        colour});
        return rows;
    }
    if (outlook.why != Barren::No) {
        rows.push_back({genome_label(genes) + ": no seed tonight", colour});
        rows.push_back({std::string("Why: ") + barren_text(outlook.why), std::nullopt});
        return rows;
    }
    rows.push_back({genome_label(genes) + ": " + seeds_range_text(outlook.seeds_least, outlook.seeds_most) + " tonight", colour});
    rows.push_back({"with " + count_text(outlook.partners.size(), "partner", "partners") + ", marked; its seeds:", std::nullopt});
    // The likeliest dozen, so the card leaves the field around her in view; the rest counted.
    std::size_t shown = 0;
    std::size_t rarer = 0;
    std::size_t rarer_unseen = 0;
    for (const Offspring& o : outlook.offspring) {
        const bool unseen = !collection.first_day(o.genotype).has_value();
        if (shown++ >= SWATCHES_SHOWN) {
            ++rarer;
            rarer_unseen += unseen ? 1 : 0;
            continue;
        }
        rows.push_back({genome_label(genes_of_genotype(o.genotype)) + " " + chance_text(o), genotype_colour(o.genotype), unseen, true});
    }
    if (rarer > 0) {
        rows.push_back({"and " + count_text(rarer, "more genome", "more genomes") +
                            (rarer_unseen > 0 ? ", " + std::to_string(rarer_unseen) + " of them new" : std::string{}),
                        std::nullopt});
    }
    return rows;
}

std::string night_line(const NightReport& night, const Collection& collection) {
    if (night.sown == 0) return "Last night: no seed; the garden was sown again (" + count_text(night.sown_again, "seed", "seeds") + ")";
    std::size_t unseen = 0;
    for (std::size_t t = 0; t < GENOTYPES; ++t) if (night.genomes[t] != 0 && !collection.first_day(t)) ++unseen;
    return "Last night: " + count_text(night.bred, "flower", "flowers") + " bred, " + count_text(night.sown, "seed", "seeds") +
           " sown, " + count_text(unseen, "new genome", "new genomes");
}

std::vector<CardLine> morning_report_rows(const NightReport& night, const Collection& collection) {
    std::vector<CardLine> rows{{"Last night", std::nullopt}};
    // The flowers that bred, counted as the forecast counts those that will.
    if (night.bred > 0) rows.push_back({count_text(night.bred, "flower", "flowers") + " bred", std::nullopt});
    rows.push_back({night.sown == 0 ? std::string("The bees sowed no seed") : "The bees sowed " + count_text(night.sown, "seed", "seeds"),
                    std::nullopt});
    if (night.lost > 0) rows.push_back({count_text(night.lost, "seed", "seeds") + " found no place", std::nullopt});
    if (night.sown == 0) {
        rows.push_back({"The garden was sown again: " + count_text(night.sown_again, "seed", "seeds"), std::nullopt});
        return rows;
    }
    std::vector<CardLine> unseen;
    for (std::size_t t = 0; t < GENOTYPES; ++t) {
        if (night.genomes[t] == 0 || collection.first_day(t)) continue;
        unseen.push_back({genome_label(genes_of_genotype(t)) + " x" + std::to_string(night.genomes[t]), genotype_colour(t), true, true});
    }
    rows.push_back({unseen.empty() ? "No new genome among them" : count_text(unseen.size(), "new genome", "new genomes") + " among them:",
                    std::nullopt});
    // The collection shows the rest.
    const std::size_t more = unseen.size() > SWATCHES_SHOWN ? unseen.size() - SWATCHES_SHOWN : 0;
    rows.insert(rows.end(), unseen.begin(), unseen.begin() + static_cast<std::ptrdiff_t>(unseen.size() - more));
    if (more > 0) rows.push_back({"and " + std::to_string(more) + " more in the collection (C)", std::nullopt});
    return rows;
}

namespace {

constexpr int PAD = 6;
constexpr int SWATCH_ROOM = BLOSSOM_SIDE + 2;
constexpr const char* NEW_TAG = "new";
constexpr std::uint32_t NEW_COLOUR = 0xFF40E0FF;  // a warm yellow, read on the dark panel and the dawn

TTF_Font* font_of(DrawContext& ctx, CardFont font) {
    return font == CardFont::Small ? ctx.small_font.get() : ctx.medium_font.get();
}

int row_height(DrawContext& ctx, CardFont font, bool swatches) {
    return std::max(TTF_FontHeight(font_of(ctx, font)), swatches ? BLOSSOM_SIDE : 0) + 1;
}

}  // namespace

std::vector<CardLine> text_rows(const std::vector<std::string>& lines) {
    std::vector<CardLine> rows;
    for (const std::string& line : lines) rows.push_back({line, std::nullopt});
    return rows;
}

namespace {

constexpr int GRID_GAP = 10;
constexpr std::size_t GRID_COLUMNS = 3;

}  // namespace

std::expected<CardLayout, DrawError> lay_out_card(DrawContext& ctx, TextCache& texts, const std::vector<CardLine>& lines,
                                                  CardFont font) {
    TTF_Font* f = font_of(ctx, font);
    const bool swatches = std::ranges::any_of(lines, [](const CardLine& r) { return r.swatch.has_value(); });
    CardLayout layout;
    layout.line_h = row_height(ctx, font, swatches);
    std::vector<int> widths;
    int cell_w = 0;
    for (const CardLine& line : lines) {
        auto text = texts.line(ctx, f, WHITE, line.text);
        if (!text) return std::unexpected(std::move(text.error()));
        int w = (*text)->w + (swatches ? SWATCH_ROOM : 0);
        if (line.marked) {
            auto tag = texts.line(ctx, f, NEW_COLOUR, NEW_TAG);
            if (!tag) return std::unexpected(std::move(tag.error()));
            w += PAD + (*tag)->w;
        }
        widths.push_back(w);
        if (line.in_grid) cell_w = std::max(cell_w, w);
    }
    int y = PAD - 1;
    int w = 0;
    std::size_t column = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].in_grid) {
            layout.at.push_back({PAD + static_cast<int>(column) * (cell_w + GRID_GAP), y});
            w = std::max(w, layout.at.back().x - PAD + cell_w);
            const bool last = k + 1 == lines.size() || !lines[k + 1].in_grid;
            if (++column == GRID_COLUMNS || last) {
                column = 0;
                y += layout.line_h;
            }
        } else {
            layout.at.push_back({PAD, y});
            w = std::max(w, widths[k]);
            y += layout.line_h;
        }
    }
    layout.size = CardSize{w + 2 * PAD, y + PAD - 1};
    return layout;
}

DrawResult draw_card(DrawContext& ctx, TextCache& texts, const std::vector<CardLine>& rows, CardFont font,
                     const CardLayout& layout, SDL_Point top_left) {
    QM_TRY(draw_panel(ctx, SDL_Rect{top_left.x, top_left.y, layout.size.w, layout.size.h}));
    TTF_Font* f = font_of(ctx, font);
    const bool swatches = std::ranges::any_of(rows, [](const CardLine& r) { return r.swatch.has_value(); });
    const int h = layout.line_h;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const CardLine& row = rows[k];
        int x = top_left.x + layout.at[k].x;
        const int y = top_left.y + layout.at[k].y;
        if (row.swatch) QM_TRY(draw_blossom(ctx, *row.swatch, 255, SDL_Point{x + BLOSSOM_SIDE / 2, y + h / 2}, 1));
        if (swatches) x += SWATCH_ROOM;
        auto text = texts.line(ctx, f, WHITE, row.text);
        if (!text) return std::unexpected(std::move(text.error()));
        QM_TRY(put_text(ctx, **text, x, y + (h - (*text)->h) / 2));
        if (row.marked) {
            auto tag = texts.line(ctx, f, NEW_COLOUR, NEW_TAG);
            if (!tag) return std::unexpected(std::move(tag.error()));
            QM_TRY(put_text(ctx, **tag, x + (*text)->w + PAD, y + (h - (*tag)->h) / 2));
        }
    }
    return {};
}

SDL_Point card_beside(const DrawContext& ctx, Cell c, CardSize size, int top, const std::vector<SDL_Rect>& avoid) {
    constexpr int CLEAR = 28;  // from the tile's centre: the tile and a little more stay in view
    const ScreenPoint p = ctx.transform.to_screen(centre_of(c));
    const std::array<SDL_Point, 4> tries{{{p.x + CLEAR, p.y - size.h / 2},
                                          {p.x - CLEAR - size.w, p.y - size.h / 2},
                                          {p.x - size.w / 2, p.y + CLEAR},
                                          {p.x - size.w / 2, p.y - CLEAR - size.h}}};
    SDL_Point best{};
    long best_cover = -1;
    for (SDL_Point at : tries) {
        at.x = std::clamp(at.x, 0, std::max(0, ctx.transform.width - size.w));
        at.y = std::clamp(at.y, top, std::max(top, ctx.transform.height - size.h));
        const SDL_Rect card{at.x, at.y, size.w, size.h};
        long cover = 0;
        for (const SDL_Rect& place : avoid) {
            SDL_Rect both{};
            if (SDL_IntersectRect(&card, &place, &both) == SDL_TRUE) cover += long{both.w} * both.h;
        }
        if (best_cover < 0 || cover < best_cover) {
            best = at;
            best_cover = cover;
        }
    }
    return best;
}

std::optional<Cell> planned_cell(const World& world, const Lily& lily) {
    if (lily.in_building) return std::nullopt;
    const std::optional<Cell> aim = lily.target();
    if (!aim) return std::nullopt;
    const Flower* flower = flower_on(world.get_tile(*aim));
    return flower && shows_blossom(*flower) ? aim : std::nullopt;
}

namespace {

constexpr int EDGE = 2;  // between a card and the screen's edge

}  // namespace

DrawResult draw_garden_marks(DrawContext& ctx, const GardenPass& pass) {
    QM_TRY(draw_selected_ranges(ctx, pass.lily, pass.world));
    if (pass.genomes_shown) {
        QM_TRY(draw_every_genome(ctx, pass.world, pass.lily.in_building ? std::nullopt : pass.lily.target()));
    }
    if (pass.outlook) QM_TRY(draw_partner_marks(ctx, pass.outlook->partners));
    QM_TRY(draw_aim(ctx, pass.lily, pass.world));
    return draw_can_charges(ctx, *pass.texts, pass.lily);
}

namespace {

// Where the forecast goes: to the right, under the notices.
SDL_Rect forecast_place(DrawContext& ctx, CardSize size) {
    return SDL_Rect{ctx.transform.width - size.w - EDGE, notices_bottom(ctx) + EDGE, size.w, size.h};
}

std::bitset<GENOTYPES> genomes_seen(const Collection& collection) {
    std::bitset<GENOTYPES> seen;
    for (std::size_t t = 0; t < GENOTYPES; ++t) seen[t] = collection.first_day(t).has_value();
    return seen;
}

// The card with rows `make` gives, made and laid out now unless `same` says the kept one still
// holds.
template <typename Make>
std::expected<const KeptCard*, DrawError> kept_card(DrawContext& ctx, TextCache& texts, KeptCard& card, bool same,
                                                    CardFont font, Make&& make) {
    if (card.made && same) return &card;
    card.made = false;
    card.rows = make();
    auto layout = lay_out_card(ctx, texts, card.rows, font);
    if (!layout) return std::unexpected(std::move(layout.error()));
    card.layout = std::move(*layout);
    card.made = true;
    return &card;
}

std::expected<const KeptCard*, DrawError> forecast_card(DrawContext& ctx, const GardenPass& pass) {
    GardenCardsKept& kept = *pass.kept;
    const std::size_t dry = dry_buds_in_time(pass.forecast, pass.tick);
    const bool same = kept.forecast == pass.forecast && kept.dry_in_time == dry;
    kept.forecast = pass.forecast;
    kept.dry_in_time = dry;
    return kept_card(ctx, *pass.texts, kept.forecast_card, same, CardFont::Small,
                     [&] { return text_rows(forecast_lines(pass.forecast, pass.tick)); });
}

}  // namespace

DrawResult draw_forecast_card(DrawContext& ctx, const GardenPass& pass) {
    if (pass.collection_open || pass.night) return {};
    const auto card = forecast_card(ctx, pass);
    if (!card) return std::unexpected(card.error());
    const SDL_Rect where = forecast_place(ctx, (*card)->layout.size);
    return draw_card(ctx, *pass.texts, (*card)->rows, CardFont::Small, (*card)->layout, SDL_Point{where.x, where.y});
}

DrawResult draw_selection_card(DrawContext& ctx, const GardenPass& pass) {
    if (pass.collection_open || pass.lily.in_building || !pass.lily.target()) return {};
    GardenCardsKept& kept = *pass.kept;
    const Cell aim = *pass.lily.target();
    std::expected<const KeptCard*, DrawError> card;
    if (pass.outlook && planned_cell(pass.world, pass.lily)) {
        const std::array<std::uint8_t, 3>& genes = flower_on(pass.world.get_tile(aim))->genes;
        const std::bitset<GENOTYPES> seen = genomes_seen(pass.collection);
        const bool same = kept.planner && kept.outlook == *pass.outlook && kept.genes == genes && kept.seen == seen;
        if (!same) {
            kept.planner = true;
            kept.outlook = *pass.outlook;
            kept.genes = genes;
            kept.seen = seen;
        }
        card = kept_card(ctx, *pass.texts, kept.selection_card, same, CardFont::Small,
                         [&] { return planner_rows(*pass.outlook, genes, pass.collection); });
    } else if (const auto* hive = std::get_if<Hive>(&pass.world.get_tile(aim))) {
        const std::uint32_t in_bloom = flowers_feeding(pass.world, aim);
        const bool same = !kept.planner && kept.hive == hive->hive && kept.in_bloom == in_bloom && kept.tick == pass.tick;
        kept.planner = false;
        kept.hive = hive->hive;
        kept.in_bloom = in_bloom;
        kept.tick = pass.tick;
        card = kept_card(ctx, *pass.texts, kept.selection_card, same, CardFont::Small,
                         [&] { return text_rows(hive_card_lines(hive->hive, in_bloom, pass.tick)); });
    } else {
        return {};
    }
    if (!card) return std::unexpected(card.error());
    const auto forecast_size = forecast_card(ctx, pass);
    if (!forecast_size) return std::unexpected(forecast_size.error());
    const SDL_Rect forecast = forecast_place(ctx, (*forecast_size)->layout.size);
    // The card leaves in view the tile, her, the partners and the forecast.
    const auto around = [&](Fixed p) {
        const ScreenPoint s = ctx.transform.to_screen(p);
        return SDL_Rect{s.x - 18, s.y - 40, 36, 58};
    };
    std::vector<SDL_Rect>& avoid = kept.avoid;
    avoid.assign({forecast, forecast, around(centre_of(aim)), around(pass.lily.position)});
    if (pass.outlook) {
        for (const Cell c : pass.outlook->partners) avoid.push_back(around(centre_of(c)));
    }
    const KeptCard& made = **card;
    const SDL_Point at = card_beside(ctx, aim, made.layout.size, notices_bottom(ctx) + EDGE, avoid);
    return draw_card(ctx, *pass.texts, made.rows, CardFont::Small, made.layout, at);
}

DrawResult draw_morning_report(DrawContext& ctx, TextCache& texts, const NightReport& night, const Collection& collection,
                               GardenCardsKept& kept) {
    const std::bitset<GENOTYPES> seen = genomes_seen(collection);
    const bool same = kept.night == night && kept.night_seen == seen;
    kept.night = night;
    kept.night_seen = seen;
    const auto card = kept_card(ctx, texts, kept.morning_card, same, CardFont::Medium,
                                [&] { return morning_report_rows(night, collection); });
    if (!card) return std::unexpected(card.error());
    const KeptCard& made = **card;
    const int top = std::max(notices_bottom(ctx) + EDGE, ctx.transform.height / 2 - made.layout.size.h / 2);
    return draw_card(ctx, texts, made.rows, CardFont::Medium, made.layout,
                     SDL_Point{ctx.transform.width / 2 - made.layout.size.w / 2, top});
}

}  // namespace qm
