// The colour collection's panel. Swatches stand in three rows by the yellow gene, and in three
// groups of three by the magenta gene and then the cyan one.
#include "collection_panel.hpp"

#include <algorithm>
#include <cctype>
#include <string>

#include "fatal.hpp"
#include "graphics.hpp"
#include "milestones.hpp"
#include "notices.hpp"
#include "panel.hpp"

namespace qm {

namespace {

constexpr int PAD = 8;            // inside the panel's frame
constexpr int GROUP_GAP = 8;      // between the groups of three
constexpr int CARD = 2 * BLOSSOM_SIDE + 2;
constexpr int BLOSSOM_ZOOM = 2;
constexpr std::uint8_t SILHOUETTE_ALPHA = 70;
constexpr std::uint8_t UNSEEN_LABEL_ALPHA = 110;
constexpr const char* TITLE = "Colour collection";
constexpr const char* LEGEND_FIRST = "C, M, Y: cyan, magenta, yellow pigment;";
constexpr const char* LEGEND_SECOND = "a capital is a dominant allele, and each one darkens its colour";

constexpr SDL_Color PAPER{246, 236, 204, 255};
// The ring of the highlighted swatch: honey where Enter takes a seed, grey where it cannot.
constexpr SDL_Color RING_TAKES{255, 224, 32, 255};
constexpr SDL_Color RING_REFUSES{150, 150, 150, 255};
constexpr int RING = 2;
constexpr SDL_Color PAPER_EDGE{214, 194, 150, 255};

// The milestones: a rule, then three columns of four lines read down, the heading first.
constexpr int MILESTONE_COLUMNS = 3;
constexpr int MILESTONE_LINES = 4;
constexpr int RULE_GAP = 4;
constexpr int TICK_BOX = 9;
constexpr const char* MILESTONES_TITLE = "Milestones";
constexpr SDL_Color TICK{52, 140, 52, 255};
constexpr std::uint32_t DIM_TEXT = 0xFF9A9A9A;  // milestones after the next one

void check(int sdl_result) {
    if (sdl_result != 0) fatal(SDL_GetError());
}

struct Metrics {
    int label_w, label_h;  // one allele-pair label
    int small_h, medium_h;
    int cell_w, cell_h;
};

Metrics metrics(DrawContext& ctx) {
    Metrics m{};
    check(SDL_QueryTexture(ctx.genome_textures[0][0].get(), nullptr, nullptr, &m.label_w, &m.label_h));
    m.small_h = TTF_FontHeight(ctx.small_font.get());
    m.medium_h = TTF_FontHeight(ctx.medium_font.get());
    m.cell_w = std::max(3 * m.label_w, CARD) + 8;
    m.cell_h = CARD + 1 + m.label_h + m.small_h + 2;
    return m;
}

// The three allele pairs under a swatch, as the field's genome labels show them.
DrawResult draw_labels(DrawContext& ctx, const Metrics& m, std::size_t genotype, int centre_x, int top, bool seen) {
    const auto genes = genes_of_genotype(genotype);
    for (std::size_t k = 0; k < 3; ++k) {
        SDL_Texture* label = ctx.genome_textures[k][genes[k]].get();
        check(SDL_SetTextureAlphaMod(label, seen ? 255 : UNSEEN_LABEL_ALPHA));
        const int x = centre_x - 3 * m.label_w / 2 + static_cast<int>(k) * m.label_w;
        auto done = ctx.copy_whole(label, SDL_Rect{x, top, m.label_w, m.label_h});
        check(SDL_SetTextureAlphaMod(label, 255));
        if (!done) return done;
    }
    return {};
}

// On a narrow screen the panel reaches under the buttons of the top-left corner, drawn after it:
// the title then starts right of them, so they hide none of it.
int title_left(DrawContext& ctx, const SDL_Rect& panel) {
    int x = panel.x + PAD;
    const int h = TTF_FontHeight(ctx.medium_font.get());
    const int w = text_width(ctx.medium_font.get(), TITLE);
    for (const ScreenRect& button : {FULLSCREEN_BUTTON, COLLECTION_BUTTON}) {
        const bool covered = x < button.x + button.w && x + w > button.x && panel.y + PAD < button.y + button.h &&
                             panel.y + PAD + h > button.y;
        if (covered) x = button.x + button.w + 2;
    }
    return x;
}

// A tick in the box: a short stroke down and a long one up, two pixels thick.
DrawResult draw_tick(DrawContext& ctx, int x, int y) {
    constexpr std::array<std::array<int, 2>, 7> STROKE{{{1, 4}, {2, 5}, {3, 6}, {4, 5}, {5, 4}, {6, 3}, {7, 2}}};
    for (const auto& [dx, dy] : STROKE) QM_TRY(fill_rect(ctx, SDL_Rect{x + dx, y + dy - 1, 1, 2}, TICK));
    return {};
}

// "Milestones 3 of 10", then each in order of difficulty: a box, ticked once reached, its name,
// and the day it was reached at the right of its column. The first one not reached yet stands out
// in honey: the player's next step.
DrawResult draw_milestones(DrawContext& ctx, const Milestones& milestones, SDL_Rect area) {
    TTF_Font* font = ctx.small_font.get();
    const int line_h = TTF_FontHeight(font);
    QM_TRY(fill_rect(ctx, SDL_Rect{area.x, area.y + RULE_GAP / 2, area.w, 1}, LIGHT_WOOD));
    const int column_w = area.w / MILESTONE_COLUMNS;
    const auto place = [&](std::size_t slot) {
        return SDL_Point{area.x + static_cast<int>(slot) / MILESTONE_LINES * column_w,
                         area.y + RULE_GAP + static_cast<int>(slot) % MILESTONE_LINES * line_h};
    };
    const std::string count = std::to_string(milestones.reached()) + " of " + std::to_string(MILESTONE_COUNT);
    QM_TRY(draw_text(ctx, font, HONEY, MILESTONES_TITLE, place(0).x, place(0).y));
    QM_TRY(draw_text(ctx, font, WHITE, count, place(0).x + text_width(font, MILESTONES_TITLE) + 6, place(0).y));

    bool next_shown = false;
    for (std::size_t k = 0; k < MILESTONE_COUNT; ++k) {
        const MilestoneRow& row = MILESTONES[k];
        const SDL_Point at = place(k + 1);
        const SDL_Rect box{at.x, at.y + (line_h - TICK_BOX) / 2, TICK_BOX, TICK_BOX};
        QM_TRY(fill_rect(ctx, box, PAPER_EDGE));
        QM_TRY(fill_rect(ctx, SDL_Rect{box.x + 1, box.y + 1, box.w - 2, box.h - 2}, PAPER));
        const std::optional<std::uint64_t> day = milestones.reached_on(row.id);
        std::uint32_t colour = WHITE;
        if (day) {
            QM_TRY(draw_tick(ctx, box.x, box.y));
            const std::string when = "Day " + std::to_string(*day);
            QM_TRY(draw_text(ctx, font, WHITE, when, at.x + column_w - PAD - text_width(font, when), at.y));
        } else {
            colour = next_shown ? DIM_TEXT : HONEY;
            next_shown = true;
        }
        QM_TRY(draw_text(ctx, font, colour, row.name, box.x + TICK_BOX + 4, at.y));
    }
    return {};
}

}  // namespace

std::string seeds_left_text(std::uint32_t left) {
    if (left == 0) return "No seed left to take today: " + std::to_string(Collection::SEEDS_A_MORNING) + " more at dawn";
    return std::to_string(left) + (left == 1 ? " seed" : " seeds") + " to take today of colours seen in bloom";
}

namespace {

// The seeds' line, or its two halves on a narrow screen, the second then starting a sentence.
std::array<std::string, 2> seeds_lines(std::uint32_t left, bool one_line) {
    if (one_line) return {seeds_left_text(left) + "; " + SEEDS_REMINDER, ""};
    std::string reminder = SEEDS_REMINDER;
    reminder[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reminder[0])));
    return {seeds_left_text(left), reminder};
}

// The widest the seeds' lines can be, measured once for the context's fonts.
int seeds_width(DrawContext& ctx, bool one_line) {
    int& widest = ctx.scratch.seeds_widths[one_line ? 0 : 1];
    if (widest > 0) return widest;
    for (const std::uint32_t left : {std::uint32_t{0}, Collection::SEEDS_KEPT_MOST}) {
        for (const std::string& line : seeds_lines(left, one_line)) widest = std::max(widest, text_width(ctx.small_font.get(), line));
    }
    return widest;
}

// The seeds' lines for `left` seeds, written again only when that changes.
const std::array<std::string, 2>& kept_seeds_lines(DrawContext& ctx, std::uint32_t left, bool one_line) {
    auto& scratch = ctx.scratch;
    if (scratch.seeds_lines_for != std::pair{left, one_line}) {
        scratch.seeds_lines = seeds_lines(left, one_line);
        scratch.seeds_lines_for = std::pair{left, one_line};
    }
    return scratch.seeds_lines;
}

// The legend on one line.
const std::string& legend_line() {
    static const std::string line = std::string(LEGEND_FIRST) + " " + LEGEND_SECOND;
    return line;
}

}  // namespace

CollectionLayout collection_layout(DrawContext& ctx, WithMilestones with) {
    const Metrics m = metrics(ctx);
    const int grid_w = 9 * m.cell_w + 2 * GROUP_GAP;
    const int legend_w = text_width(ctx.small_font.get(), legend_line());
    const int room = ctx.transform.width - 2 * PAD;
    const bool one_line = legend_w <= room;
    const int legend_lines = one_line ? 1 : 2;
    const bool seeds_one_line = seeds_width(ctx, true) <= room;
    const int inner_w = std::max({grid_w, one_line ? legend_w : text_width(ctx.small_font.get(), LEGEND_SECOND),
                                  seeds_width(ctx, seeds_one_line)});
    const int panel_w = inner_w + 2 * PAD;
    const int seeds_h = (seeds_one_line ? 1 : 2) * m.small_h;
    const int milestones_h = with == WithMilestones::Yes ? RULE_GAP + MILESTONE_LINES * m.small_h + RULE_GAP : 0;
    // One line above the legend for what the last night did.
    const int panel_h = PAD + m.medium_h + 2 + 3 * m.cell_h + seeds_h + milestones_h + (legend_lines + 1) * m.small_h + PAD;

    // Centred, but below the notices while the screen is tall enough for both.
    const int centred = ctx.transform.height / 2 - panel_h / 2;
    const int top = std::max(centred, std::min(notices_bottom(ctx), ctx.transform.height - panel_h));
    CollectionLayout layout{};
    layout.panel = SDL_Rect{ctx.transform.width / 2 - panel_w / 2, top, panel_w, panel_h};
    layout.legend_on_one_line = one_line;
    layout.seeds_on_one_line = seeds_one_line;
    // A legend wider than the grid spreads the swatches out to its width.
    const int cell_w = std::max(m.cell_w, (inner_w - 2 * GROUP_GAP) / 9);
    const int spread_w = 9 * cell_w + 2 * GROUP_GAP;
    const int grid_x = layout.panel.x + (panel_w - spread_w) / 2;
    const int grid_y = layout.panel.y + PAD + m.medium_h + 2;
    layout.seeds = SDL_Rect{layout.panel.x + PAD, grid_y + 3 * m.cell_h, inner_w, seeds_h};
    layout.milestones = SDL_Rect{layout.panel.x + PAD, layout.seeds.y + seeds_h, inner_w, milestones_h};
    for (std::size_t k = 0; k < GENOTYPES; ++k) {
        const int column = static_cast<int>(k % 9);
        const int row = static_cast<int>(k / 9);
        const int cell_x = grid_x + column * cell_w + (column / 3) * GROUP_GAP;
        layout.swatches[k] = SDL_Rect{cell_x + (cell_w - CARD) / 2, grid_y + row * m.cell_h, CARD, CARD};
    }
    return layout;
}

std::optional<std::size_t> swatch_at(const CollectionLayout& layout, int x, int y) {
    const SDL_Point p{x, y};
    for (std::size_t k = 0; k < GENOTYPES; ++k) {
        if (SDL_PointInRect(&p, &layout.swatches[k]) == SDL_TRUE) return k;
    }
    return std::nullopt;
}

DrawResult draw_collection(DrawContext& ctx, const Collection& collection, const Milestones* milestones,
                           std::optional<std::size_t> highlight, const std::string& last_night) {
    const Metrics m = metrics(ctx);
    const CollectionLayout layout = collection_layout(ctx, milestones ? WithMilestones::Yes : WithMilestones::No);
    const SDL_Rect& panel = layout.panel;
    if (auto done = draw_panel(ctx, panel); !done) return done;

    const int top = panel.y + PAD;
    if (auto done = draw_text(ctx, ctx.medium_font.get(), WHITE, TITLE, title_left(ctx, panel), top); !done) return done;
    const std::string count = collection_count_text(collection.seen());
    const int count_x = panel.x + panel.w - PAD - text_width(ctx.medium_font.get(), count);
    if (auto done = draw_text(ctx, ctx.medium_font.get(), WHITE, count, count_x, top); !done) return done;

    for (std::size_t k = 0; k < GENOTYPES; ++k) {
        const SDL_Rect& card = layout.swatches[k];
        const std::optional<std::uint64_t> day = collection.first_day(k);
        if (auto done = fill_rect(ctx, card, PAPER_EDGE); !done) return done;
        if (auto done = fill_rect(ctx, SDL_Rect{card.x + 1, card.y + 1, card.w - 2, card.h - 2}, PAPER); !done) return done;
        const SDL_Point centre{card.x + card.w / 2, card.y + card.h / 2};
        auto blossom = day ? draw_blossom(ctx, genotype_colour(k), 255, centre, BLOSSOM_ZOOM)
                           : draw_blossom(ctx, 0, SILHOUETTE_ALPHA, centre, BLOSSOM_ZOOM);
        if (!blossom) return blossom;
        const int labels_top = card.y + card.h + 1;
        if (auto done = draw_labels(ctx, m, k, centre.x, labels_top, day.has_value()); !done) return done;
        if (day) {
            const std::string when = "Day " + std::to_string(*day);
            const int x = centre.x - text_width(ctx.small_font.get(), when) / 2;
            if (auto done = draw_text(ctx, ctx.small_font.get(), WHITE, when, x, labels_top + m.label_h); !done) return done;
        }
    }
    if (highlight && *highlight < GENOTYPES) {
        const SDL_Rect& card = layout.swatches[*highlight];
        const SDL_Color ring = collection.can_take(*highlight) ? RING_TAKES : RING_REFUSES;
        const SDL_Rect outer{card.x - RING - 1, card.y - RING - 1, card.w + 2 * (RING + 1), card.h + 2 * (RING + 1)};
        QM_TRY(fill_rect(ctx, SDL_Rect{outer.x, outer.y, outer.w, RING}, ring));
        QM_TRY(fill_rect(ctx, SDL_Rect{outer.x, outer.y + outer.h - RING, outer.w, RING}, ring));
        QM_TRY(fill_rect(ctx, SDL_Rect{outer.x, outer.y, RING, outer.h}, ring));
        QM_TRY(fill_rect(ctx, SDL_Rect{outer.x + outer.w - RING, outer.y, RING, outer.h}, ring));
    }

    TTF_Font* small = ctx.small_font.get();
    const std::uint32_t seeds_colour = collection.seeds_left() > 0 ? HONEY : WHITE;
    const auto& seeds = kept_seeds_lines(ctx, collection.seeds_left(), layout.seeds_on_one_line);
    QM_TRY(draw_text(ctx, small, seeds_colour, seeds[0], layout.seeds.x, layout.seeds.y));
    if (!seeds[1].empty()) QM_TRY(draw_text(ctx, small, WHITE, seeds[1], layout.seeds.x, layout.seeds.y + m.small_h));

    if (milestones) QM_TRY(draw_milestones(ctx, *milestones, layout.milestones));

    const int legend_y = panel.y + panel.h - PAD - (layout.legend_on_one_line ? 1 : 2) * m.small_h;
    if (!last_night.empty()) QM_TRY(draw_text(ctx, ctx.small_font.get(), HONEY, last_night, panel.x + PAD, legend_y - m.small_h));
    if (layout.legend_on_one_line) {
        return draw_text(ctx, ctx.small_font.get(), WHITE, legend_line(), panel.x + PAD, legend_y);
    }
    if (auto done = draw_text(ctx, ctx.small_font.get(), WHITE, LEGEND_FIRST, panel.x + PAD, legend_y); !done) return done;
    return draw_text(ctx, ctx.small_font.get(), WHITE, LEGEND_SECOND, panel.x + PAD, legend_y + m.small_h);
}

}  // namespace qm
