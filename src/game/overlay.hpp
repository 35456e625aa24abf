// The cards drawn over the field: one home that knows which are open and draws them, in one
// order, in a pass of its own after the field, the controls, the clock, the frame time and the
// notices. Today: the pause and help card, the end-day card, the time-flies and speaker marks, the marks over the field, tonight's forecast, the planner or
// the hive card and the morning report.
//
// Adding a card:
//   1. a value in `Card` (before `Count`); the enum's order is the drawing order, so a later card
//      lies over an earlier one;
//   2. one row in CARDS (overlay.cpp), at the same place: the card, whether it holds the game (the
//      clock, the world and the gardener stand still and its keys are the only ones heard), and
//      its draw function, which gets the draw context and an `OverlayView`;
//   3. what the card reads goes into `OverlayView`, filled by the loop (game.cpp, `day_frame`);
//   4. its key into the action table (keys.*) and, for a card that holds the game, its keys in
//      `Controls::card_key` / `card_button`;
//   5. draw it with the panel toolkit (panel.*): `draw_panel`, `draw_text`, `fill_rect`, `card_area`.
#pragma once

#include <bitset>
#include <cstdint>
#include <utility>

#include <SDL_rect.h>

#include "draw_error.hpp"

namespace qm {

class DrawContext;

enum class Card : std::uint8_t {
    FieldMarks,  // the aim's outline, partners, range outlines, every genome label, the can's number
    Forecast,
    Selection,   // the planner on a flower, the hive card on a hive
    Morning,     // what the night did, until she moves or a key is pressed
    Finale,  // the collection complete; play goes on under it, and it leaves by itself
    EndDay,
    Help,
    Count,
    None = Count,
};

struct GardenPass;
struct Volume;

// What the cards may show of the game.
struct OverlayView {
    std::uint64_t day = 0;
    std::uint16_t tick = 0;
    bool time_flies = false;        // the mark in the top-right corner
    const Volume* speaker = nullptr;  // the speaker mark under it, while the volume has just changed
    const GardenPass* garden = nullptr;  // the field, tonight and the gardener, for the garden's cards
    std::uint64_t collection_completed = 0;  // the day of the 27th colour, 0 until then
};

// The cards of a day's play: open from the start of play on, each drawn when it has something to
// show.
inline constexpr Card DAY_CARDS[] = {Card::FieldMarks, Card::Forecast, Card::Selection};

class Overlay {
public:
    // The open card that holds the game, None when play goes on.
    Card modal() const;
    bool is_open(Card card) const { return card != Card::None && open_.test(std::to_underlying(card)); }
    // Opening a card that holds the game closes any other that does: one asks at a time.
    void open(Card card);
    void close(Card card);
    void toggle(Card card) { is_open(card) ? close(card) : open(card); }

    // The marks over the field, in a pass of their own under the panels, the notices and the cards.
    DrawResult draw_marks(DrawContext& ctx, const OverlayView& view) const;
    // The time-flies mark, the speaker mark, then every other open card in the table's order.
    DrawResult draw(DrawContext& ctx, const OverlayView& view) const;

private:
    std::bitset<static_cast<std::size_t>(Card::Count)> open_;
};

// The cards' words.
inline constexpr const char* PAUSED_TITLE = "Paused";
inline constexpr const char* END_DAY_TITLE = "End the day now?";
inline constexpr const char* FINALE_TITLE = "The collection is complete!";
inline constexpr const char* FINALE_MEANING = "All 27 colours have bloomed in your garden.";
inline constexpr const char* FINALE_GOES_ON = "The garden grows on: breed whatever you like.";
inline constexpr const char* END_DAY_MEANING = "Open flowers breed tonight; buds that have not opened leave the field.";

// A card of w × h centred on the screen, kept on it when the screen is smaller.
SDL_Rect card_area(DrawContext& ctx, int w, int h);

}  // namespace qm
