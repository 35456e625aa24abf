// The garden's cards: their texts from the forecast, the planner's table, a hive and the night's
// report.
#include "garden_cards.hpp"

#include <algorithm>
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

std::vector<std::string> forecast_lines(const Forecast& forecast, std::uint16_t now) {
    std::vector<std::string> lines{"Tonight"};
    if (forecast.breeding == 0) {
        lines.emplace_back("No flower will breed");
    } else {
        lines.push_back(count_text(forecast.breeding, "flower", "flowers") + " will breed");
        lines.push_back(seeds_range_text(forecast.seeds_least, forecast.seeds_most) + " to sow");
    }
    if (forecast.leaving > 0) lines.push_back(count_text(forecast.leaving, "plant leaves", "plants leave") + " unbred");
    if (const std::size_t dry = dry_buds_in_time(forecast, now); dry > 0) {
        lines.push_back(count_text(dry, "dry bud opens", "dry buds open") + " if watered");
    }
    if (forecast.growing > 0) lines.push_back(std::to_string(forecast.growing) + " more may still open");
    return lines;
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
    lines.push_back("A harvest: level " + std::to_string(next) + ", " + seeds_per_flower_text(next));
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

std::string chance_text(const Offspring& offspring) {
    if (offspring.denominator != 0) {
        if (offspring.numerator == offspring.denominator) return "certain";
        return std::to_string(offspring.numerator) + "/" + std::to_string(offspring.denominator);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f%%", offspring.chance * 100.0);
    return buf;
}

std::vector<CardRow> planner_rows(const FlowerOutlook& outlook, const std::array<std::uint8_t, 3>& genes,
                                  const Collection& collection) {
    std::vector<CardRow> rows;
    const std::uint32_t colour = genotype_colour(genes[0] + 3u * genes[1] + 9u * genes[2]);
    if (outlook.why != Barren::No) {
        rows.push_back({genome_label(genes) + ": no seed tonight", colour});
        rows.push_back({std::string("Why: ") + barren_text(outlook.why), std::nullopt});
        return rows;
    }
    rows.push_back({genome_label(genes) + ": " + seeds_range_text(outlook.seeds_least, outlook.seeds_most) + " tonight", colour});
    rows.push_back({"with " + count_text(outlook.partners.size(), "partner", "partners") + ", marked; its seeds:", std::nullopt});
    for (const Offspring& o : outlook.offspring) {
        const bool unseen = !collection.first_day(o.genotype).has_value();
        rows.push_back({genome_label(genes_of_genotype(o.genotype)) + "  " + chance_text(o), genotype_colour(o.genotype), unseen});
    }
    return rows;
}

std::vector<CardRow> morning_report_rows(const NightReport& night, const Collection& collection) {
    std::vector<CardRow> rows{{"Last night", std::nullopt}};
    if (night.sown == 0) {
        rows.push_back({"The bees sowed no seed", std::nullopt});
        rows.push_back({"The garden was sown again: " + count_text(night.sown_again, "seed", "seeds"), std::nullopt});
        return rows;
    }
    rows.push_back({count_text(night.bred, "flower", "flowers") + " bred", std::nullopt});
    rows.push_back({"The bees sowed " + count_text(night.sown, "seed", "seeds"), std::nullopt});
    std::vector<CardRow> unseen;
    for (std::size_t t = 0; t < GENOTYPES; ++t) {
        if (night.genomes[t] == 0 || collection.first_day(t)) continue;
        unseen.push_back({genome_label(genes_of_genotype(t)) + " x" + std::to_string(night.genomes[t]), genotype_colour(t), true});
    }
    rows.push_back({unseen.empty() ? "No new genome among them" : count_text(unseen.size(), "new genome", "new genomes") + " among them:",
                    std::nullopt});
    rows.insert(rows.end(), unseen.begin(), unseen.end());
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

std::vector<CardRow> text_rows(const std::vector<std::string>& lines) {
    std::vector<CardRow> rows;
    for (const std::string& line : lines) rows.push_back({line, std::nullopt});
    return rows;
}

std::expected<const TextLine*, DrawError> TextCache::line(DrawContext& ctx, TTF_Font* font, std::uint32_t colour,
                                                            const std::string& text) {
    for (Entry& e : entries_) {
        if (e.font == font && e.colour == colour && e.text == text) {
            e.used = true;
            return &e.line;
        }
    }
    auto made = make_text(ctx, font, colour, text);
    if (!made) return std::unexpected(std::move(made.error()));
    entries_.push_back(Entry{font, colour, text, std::move(*made), true});
    return &entries_.back().line;
}

void TextCache::end_frame() {
    std::erase_if(entries_, [](const Entry& e) { return !e.used; });
    for (Entry& e : entries_) e.used = false;
}

std::expected<CardSize, DrawError> card_size(DrawContext& ctx, TextCache& texts, const std::vector<CardRow>& rows,
                                             CardFont font) {
    TTF_Font* f = font_of(ctx, font);
    const bool swatches = std::ranges::any_of(rows, [](const CardRow& r) { return r.swatch.has_value(); });
    int w = 0;
    for (const CardRow& row : rows) {
        auto text = texts.line(ctx, f, WHITE, row.text);
        if (!text) return std::unexpected(std::move(text.error()));
        int row_w = (*text)->w + (swatches ? SWATCH_ROOM : 0);
        if (row.marked) {
            auto tag = texts.line(ctx, f, NEW_COLOUR, NEW_TAG);
            if (!tag) return std::unexpected(std::move(tag.error()));
            row_w += PAD + (*tag)->w;
        }
        w = std::max(w, row_w);
    }
    return CardSize{w + 2 * PAD, static_cast<int>(rows.size()) * row_height(ctx, font, swatches) + 2 * PAD - 2};
}

DrawResult draw_card(DrawContext& ctx, TextCache& texts, const std::vector<CardRow>& rows, CardFont font,
                     SDL_Point top_left) {
    const auto size = card_size(ctx, texts, rows, font);
    if (!size) return std::unexpected(size.error());
    QM_TRY(draw_panel(ctx, SDL_Rect{top_left.x, top_left.y, size->w, size->h}));
    TTF_Font* f = font_of(ctx, font);
    const bool swatches = std::ranges::any_of(rows, [](const CardRow& r) { return r.swatch.has_value(); });
    const int h = row_height(ctx, font, swatches);
    int y = top_left.y + PAD - 1;
    for (const CardRow& row : rows) {
        int x = top_left.x + PAD;
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
        y += h;
    }
    return {};
}

SDL_Point card_beside(const DrawContext& ctx, Cell c, CardSize size, int top) {
    constexpr int CLEAR = 24;  // half a cell and a little more, so the card leaves the tile in view
    const ScreenPoint p = ctx.transform.to_screen(centre_of(c));
    int x = p.x + CLEAR;
    if (x + size.w > ctx.transform.width) x = p.x - CLEAR - size.w;
    x = std::clamp(x, 0, std::max(0, ctx.transform.width - size.w));
    const int y = std::clamp(p.y - size.h / 2, top, std::max(top, ctx.transform.height - size.h));
    return {x, y};
}

std::optional<Cell> planned_cell(const World& world, const Lily& lily) {
    if (lily.in_building) return std::nullopt;
    const std::optional<Cell> aim = lily.target();
    if (!aim) return std::nullopt;
    const Flower* flower = flower_on(world.get_tile(*aim));
    return flower && shows_blossom(*flower) ? aim : std::nullopt;
}

namespace {

bool overlaps(SDL_Rect a, SDL_Rect b) { return SDL_HasIntersection(&a, &b) == SDL_TRUE; }

constexpr int EDGE = 2;  // between a card and the screen's edge

}  // namespace

DrawResult draw_garden_marks(DrawContext& ctx, const GardenPass& pass) {
    QM_TRY(draw_selected_ranges(ctx, pass.lily, pass.world));
    if (pass.genomes_shown) QM_TRY(draw_every_genome(ctx, pass.world));
    if (pass.outlook) QM_TRY(draw_partner_marks(ctx, pass.outlook->partners));
    QM_TRY(draw_aim(ctx, pass.lily, pass.world));
    return draw_can_charges(ctx, *pass.texts, pass.lily);
}

std::expected<SDL_Rect, DrawError> draw_forecast_card(DrawContext& ctx, const GardenPass& pass) {
    const std::vector<CardRow> rows = text_rows(forecast_lines(pass.forecast, pass.tick));
    const auto size = card_size(ctx, *pass.texts, rows, CardFont::Small);
    if (!size) return std::unexpected(size.error());
    const SDL_Rect where{ctx.transform.width - size->w - EDGE, notices_bottom(ctx) + EDGE, size->w, size->h};
    if (auto done = draw_card(ctx, *pass.texts, rows, CardFont::Small, SDL_Point{where.x, where.y}); !done) {
        return std::unexpected(std::move(done.error()));
    }
    return where;
}

DrawResult draw_selection_card(DrawContext& ctx, const GardenPass& pass, SDL_Rect keep_clear) {
    if (pass.lily.in_building || !pass.lily.target()) return {};
    const Cell aim = *pass.lily.target();
    std::vector<CardRow> rows;
    if (pass.outlook && planned_cell(pass.world, pass.lily)) {
        rows = planner_rows(*pass.outlook, flower_on(pass.world.get_tile(aim))->genes, pass.collection);
    } else if (const auto* hive = std::get_if<Hive>(&pass.world.get_tile(aim))) {
        rows = text_rows(hive_card_lines(hive->hive, flowers_feeding(pass.world, aim), pass.tick));
    } else {
        return {};
    }
    const auto size = card_size(ctx, *pass.texts, rows, CardFont::Small);
    if (!size) return std::unexpected(size.error());
    const int top = notices_bottom(ctx) + EDGE;
    SDL_Point at = card_beside(ctx, aim, *size, top);
    if (overlaps(SDL_Rect{at.x, at.y, size->w, size->h}, keep_clear)) {
        // Beside the forecast's left edge.
        at.x = std::max(0, keep_clear.x - EDGE - size->w);
    }
    return draw_card(ctx, *pass.texts, rows, CardFont::Small, at);
}

DrawResult draw_morning_report(DrawContext& ctx, TextCache& texts, const NightReport& night, const Collection& collection) {
    const std::vector<CardRow> rows = morning_report_rows(night, collection);
    const auto size = card_size(ctx, texts, rows, CardFont::Medium);
    if (!size) return std::unexpected(size.error());
    const int top = std::max(notices_bottom(ctx) + EDGE, ctx.transform.height / 2 - size->h / 2);
    return draw_card(ctx, texts, rows, CardFont::Medium, SDL_Point{ctx.transform.width / 2 - size->w / 2, top});
}

}  // namespace qm
