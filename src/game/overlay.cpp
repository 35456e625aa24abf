// The cards' table and their drawing: the time-flies mark in the top-right corner, the end-day
// card and the pause and help card, which reads its rows from the action table.
#include "overlay.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "garden_cards.hpp"
#include "graphics.hpp"
#include "keys.hpp"
#include "notices.hpp"
#include "panel.hpp"
#include "speaker_mark.hpp"

namespace qm {

namespace {

constexpr int PAD = 8;         // text to the card's frame
constexpr int COLUMN_GAP = 10;
constexpr int TITLE_GAP = 4;   // between the title's rule and the first line

using DrawCard = DrawResult (*)(DrawContext&, const OverlayView&);

struct CardRow {
    Card card;
    DrawCard draw;
};

// "Enter, Space": the keys of an action, each name once.
std::string key_names(const ActionKeys& row) {
    std::string text;
    std::vector<std::string_view> seen;
    for (const Key& key : row.key_list()) {
        if (std::find(seen.begin(), seen.end(), key.name) != seen.end()) continue;
        text += (seen.empty() ? "" : ", ") + std::string(key.name);
        seen.push_back(key.name);
    }
    return text;
}

std::string keyboard_words(const ActionKeys& row) {
    std::string text = key_names(row);
    if (!row.key_words.empty()) text += " (" + std::string(row.key_words) + ")";
    return text;
}

// The title in honey over a rule of light wood; returns the top of what follows.
DrawResult draw_title(DrawContext& ctx, const SDL_Rect& card, const std::string& title, int& below) {
    TTF_Font* font = ctx.medium_font.get();
    const int x = card.x + card.w / 2 - text_width(font, title) / 2;
    QM_TRY(draw_text(ctx, font, HONEY, title, x, card.y + PAD));
    const int rule_y = card.y + PAD + TTF_FontHeight(font) + 1;
    QM_TRY(fill_rect(ctx, SDL_Rect{card.x + PAD, rule_y, card.w - 2 * PAD, 1}, LIGHT_WOOD));
    below = rule_y + 1 + TITLE_GAP;
    return {};
}

// ---- the pause and help card ----

// The card's table: a head line, then one line per action.
std::vector<std::array<std::string, 4>> help_lines() {
    std::vector<std::array<std::string, 4>> lines{{"", "Keyboard", "Mouse, touch", "Gamepad"}};
    for (const ActionKeys& row : action_table()) {
        lines.push_back({std::string(row.does), keyboard_words(row), std::string(row.pointer_words),
                         std::string(row.pad_words)});
    }
    return lines;
}

std::string resume_line() {
    return key_names(action_keys(Action::Pause)) + ", " + key_names(action_keys(Action::Help)) + " or " +
           std::string(action_keys(Action::Pause).pad_words) + " plays on";
}

}  // namespace

DrawResult draw_help_card(DrawContext& ctx) {
    TTF_Font* font = ctx.small_font.get();
    const int line_h = TTF_FontHeight(font);
    // The table follows the action table, which never changes: it is put together once.
    static const auto lines = help_lines();
    std::array<int, 4> widths{};
    for (const auto& line : lines) {
        for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], text_width(font, line[c]));
    }
    int table_w = 3 * COLUMN_GAP;
    for (const int w : widths) table_w += w;
    const int title_h = TTF_FontHeight(ctx.medium_font.get()) + 2 + TITLE_GAP;
    const int rows = static_cast<int>(lines.size()) + 2;  // the table, a gap and the line that resumes
    const SDL_Rect card = card_area(ctx, table_w + 2 * PAD, PAD + title_h + rows * line_h + PAD);
    QM_TRY(draw_panel(ctx, card));
    int y = 0;
    QM_TRY(draw_title(ctx, card, PAUSED_TITLE, y));
    for (std::size_t r = 0; r < lines.size(); ++r) {
        int x = card.x + PAD;
        for (std::size_t c = 0; c < lines[r].size(); ++c) {
            // The head line and the actions' names in honey, the ways to do them in white.
            const std::uint32_t colour = r == 0 || c == 0 ? HONEY : WHITE;
            if (!lines[r][c].empty()) QM_TRY(draw_text(ctx, font, colour, lines[r][c], x, y));
            x += widths[c] + COLUMN_GAP;
        }
        y += line_h;
    }
    const std::string resume = resume_line();
    return draw_text(ctx, font, WHITE, resume, card.x + card.w / 2 - text_width(font, resume) / 2, y + line_h);
}

// ---- the end-day card ----

namespace {

std::string end_day_answer() {
    const ActionKeys& yes = action_keys(Action::Choose);
    const ActionKeys& no = action_keys(Action::LeaveMenu);
    return key_names(yes) + " or " + std::string(yes.pad_words.substr(0, 1)) + ": end the day      " + key_names(no) +
           " or " + std::string(no.pad_words) + ": keep playing";
}

}  // namespace

DrawResult draw_end_day_card(DrawContext& ctx, const std::string& ending) {
    TTF_Font* font = ctx.small_font.get();
    const int line_h = TTF_FontHeight(font);
    const std::string answer = end_day_answer();
    const int inner_w = std::max({text_width(font, END_DAY_MEANING), text_width(font, answer), ending.empty() ? 0 : text_width(font, ending),
                                  text_width(ctx.medium_font.get(), END_DAY_TITLE)});
    const int title_h = TTF_FontHeight(ctx.medium_font.get()) + 2 + TITLE_GAP;
    const int lines = ending.empty() ? 3 : 4;
    const SDL_Rect card = card_area(ctx, inner_w + 2 * PAD, PAD + title_h + lines * line_h + PAD);
    QM_TRY(draw_panel(ctx, card));
    int y = 0;
    QM_TRY(draw_title(ctx, card, END_DAY_TITLE, y));
    const auto centred = [&](const std::string& text) { return card.x + card.w / 2 - text_width(font, text) / 2; };
    QM_TRY(draw_text(ctx, font, WHITE, END_DAY_MEANING, centred(END_DAY_MEANING), y));
    if (!ending.empty()) {
        y += line_h;
        QM_TRY(draw_text(ctx, font, WHITE, ending, centred(ending), y));
    }
    return draw_text(ctx, font, HONEY, answer, centred(answer), y + 2 * line_h);
}

namespace {

// ---- the finale's card ----

// In the upper part of the screen, below the notices, so the gardener stays in sight while the
// swarm flies.
DrawResult draw_finale_card(DrawContext& ctx, const OverlayView& view) {
    TTF_Font* font = ctx.small_font.get();
    const int line_h = TTF_FontHeight(font);
    const std::string when = "Completed on Day " + std::to_string(view.collection_completed);
    const int inner_w = std::max({text_width(font, FINALE_MEANING), text_width(font, FINALE_GOES_ON),
                                  text_width(ctx.medium_font.get(), when), text_width(ctx.medium_font.get(), FINALE_TITLE)});
    const int title_h = TTF_FontHeight(ctx.medium_font.get()) + 2 + TITLE_GAP;
    const int h = PAD + title_h + TTF_FontHeight(ctx.medium_font.get()) + 3 * line_h + PAD;
    SDL_Rect card = card_area(ctx, inner_w + 2 * PAD, h);
    card.y = std::max(0, std::min(notices_bottom(ctx), ctx.transform.height - h));
    QM_TRY(draw_panel(ctx, card));
    int y = 0;
    QM_TRY(draw_title(ctx, card, FINALE_TITLE, y));
    const auto centred = [&](TTF_Font* f, const std::string& text) { return card.x + card.w / 2 - text_width(f, text) / 2; };
    QM_TRY(draw_text(ctx, ctx.medium_font.get(), WHITE, when, centred(ctx.medium_font.get(), when), y));
    y += TTF_FontHeight(ctx.medium_font.get()) + line_h / 2;
    QM_TRY(draw_text(ctx, font, WHITE, FINALE_MEANING, centred(font, FINALE_MEANING), y));
    return draw_text(ctx, font, HONEY, FINALE_GOES_ON, centred(font, FINALE_GOES_ON), y + line_h);
}

// ---- the time-flies mark ----

// Two honey chevrons on a small panel under the frame time, like a player's fast-forward.
DrawResult draw_time_flies_mark(DrawContext& ctx) {
    constexpr int W = 34;
    constexpr int H = 20;
    constexpr int ARROW = 7;  // half the height of a chevron
    const SDL_Rect panel{ctx.transform.width - W - 2, TTF_FontHeight(ctx.medium_font.get()) + 2, W, H};
    QM_TRY(draw_panel(ctx, panel));
    const SDL_Color honey{static_cast<std::uint8_t>(HONEY & 0xFF), static_cast<std::uint8_t>((HONEY >> 8) & 0xFF),
                          static_cast<std::uint8_t>((HONEY >> 16) & 0xFF), 255};
    const int cy = panel.y + H / 2;
    for (const int left : {panel.x + 7, panel.x + 7 + ARROW + 2}) {
        for (int dx = 0; dx < ARROW; ++dx) {
            const int half = ARROW - 1 - dx;
            QM_TRY(fill_rect(ctx, SDL_Rect{left + dx, cy - half, 1, 2 * half + 1}, honey));
        }
    }
    return {};
}

// ---- the garden's cards (garden_cards.*) ----

DrawResult draw_field_marks_card(DrawContext& ctx, const OverlayView& view) {
    return view.garden ? draw_garden_marks(ctx, *view.garden) : DrawResult{};
}

DrawResult draw_forecast(DrawContext& ctx, const OverlayView& view) {
    return view.garden ? draw_forecast_card(ctx, *view.garden) : DrawResult{};
}

DrawResult draw_selection(DrawContext& ctx, const OverlayView& view) {
    return view.garden ? draw_selection_card(ctx, *view.garden) : DrawResult{};
}

DrawResult draw_morning(DrawContext& ctx, const OverlayView& view) {
    // It makes way for the collection, whose panel keeps the night's line.
    if (!view.garden || !view.garden->night || view.garden->collection_open) return {};
    return draw_morning_report(ctx, *view.garden->texts, *view.garden->night, view.garden->collection, *view.garden->kept);
}

constexpr std::array<CardRow, FIELD_CARDS> CARDS{{
    {Card::FieldMarks, draw_field_marks_card},
    {Card::Forecast, draw_forecast},
    {Card::Selection, draw_selection},
    {Card::Morning, draw_morning},
    {Card::Finale, draw_finale_card},
}};

// Rows stand in the enum's order, so a card finds its row by its value.
constexpr bool rows_in_card_order() {
    for (std::size_t k = 0; k < CARDS.size(); ++k) {
        if (std::to_underlying(CARDS[k].card) != k) return false;
    }
    return true;
}
static_assert(rows_in_card_order(), "CARDS lists the cards in the order of enum Card");

const CardRow& row_of(Card card) { return CARDS[std::to_underlying(card)]; }

}  // namespace

SDL_Rect card_area(DrawContext& ctx, int w, int h) {
    const int x = std::max(0, ctx.transform.width / 2 - w / 2);
    const int y = std::max(0, ctx.transform.height / 2 - h / 2);
    return {x, y, w, h};
}

void Overlay::open(Card card) {
    if (std::to_underlying(card) < FIELD_CARDS) open_.set(std::to_underlying(card));
}

void Overlay::close(Card card) {
    if (std::to_underlying(card) < FIELD_CARDS) open_.reset(std::to_underlying(card));
}

DrawResult Overlay::draw_marks(DrawContext& ctx, const OverlayView& view) const {
    return is_open(Card::FieldMarks) ? row_of(Card::FieldMarks).draw(ctx, view) : DrawResult{};
}

DrawResult Overlay::draw(DrawContext& ctx, const OverlayView& view) const {
    if (view.time_flies) QM_TRY(draw_time_flies_mark(ctx));
    if (view.speaker) QM_TRY(draw_speaker_mark(ctx, *view.speaker));
    for (const CardRow& row : CARDS) {
        // The field's marks have had their pass, under every panel and card.
        if (row.card != Card::FieldMarks && is_open(row.card)) QM_TRY(row.draw(ctx, view));
    }
    return {};
}

}  // namespace qm
