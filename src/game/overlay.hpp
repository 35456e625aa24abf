// The cards drawn over the field: one home that knows which are open and draws them, in one
// order, in a pass of its own after the field, the controls, the clock, the frame time and the
// notices. Today: the time-flies and speaker marks, the marks over the field, tonight's forecast,
// the planner or the hive card, the morning report and the finale's card; after them the card
// that holds the game (pause and help, the end of the day), which is a screen of its own.
//
// Adding a card that holds the game (the clock, the world and the gardener stand still under it
// and only its keys are heard) is one screen in game_screens.cpp: a `CardScreen` that answers
// the frame's commands and draws its picture with the panel toolkit (panel.*: `draw_panel`,
// `draw_text`, `fill_rect`, `card_area`). It goes up with `Screens::hold` where the day's screen
// hears it asked for. Its keys are its own: the screen answers `CardKeys::key` and `button`
// (controls.hpp) from rows of the action table (keys.*). Its name in `Card` (after `Finale`)
// says which card is up.
//
// A card that lies over the field while play goes on is a value in `Card` before `EndDay` (the
// enum's order is the drawing order) and its row in CARDS (overlay.cpp); what it reads goes into
// `OverlayView`.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
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
    // The cards that hold the game, each a screen of its own; the name tells the controls its keys.
    EndDay,
    Help,
    None,
};

// The cards the overlay keeps: those before the first that holds the game.
inline constexpr std::size_t FIELD_CARDS = std::to_underlying(Card::EndDay);

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
    bool is_open(Card card) const { return std::to_underlying(card) < FIELD_CARDS && open_.test(std::to_underlying(card)); }
    // Only the cards over the field: a card that holds the game goes up as a screen.
    void open(Card card);
    void close(Card card);
    void toggle(Card card) { is_open(card) ? close(card) : open(card); }

    // The marks over the field, in a pass of their own under the panels, the notices and the cards.
    DrawResult draw_marks(DrawContext& ctx, const OverlayView& view) const;
    // The time-flies mark, the speaker mark, then every other open card in the table's order.
    DrawResult draw(DrawContext& ctx, const OverlayView& view) const;

private:
    std::bitset<FIELD_CARDS> open_;
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

// The pictures of the cards that hold the game. The end-day card's `ending` says what ending now
// costs, left out when empty.
DrawResult draw_help_card(DrawContext& ctx);
DrawResult draw_end_day_card(DrawContext& ctx, const std::string& ending);

}  // namespace qm
