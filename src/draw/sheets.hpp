// The art contract between the game, the sheet generator and the tests: every sprite sheet with
// its cell grid, anchor and tint (listed in sheets.def), the rows and cells inside the sheets, and
// where the touch controls sit on the screen. The generator paints to these numbers; the game cuts
// and places sprites by them. No SDL here, so the generator and CMake's list share it freely.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace qm {

// Whether the day tint darkens a sheet; the controls and the title card keep their colours.
enum class DayTint : bool { None, Applies };

// One enumerator per sheet, in load order.
enum class SheetId : std::size_t {
#define QM_SHEET(name, ...) name,
#include "sheets.def"
#undef QM_SHEET
};

struct SheetSpec {
    std::string_view name;  // file stem under assets/
    int cell_w, cell_h;
    int columns, rows;
    int anchor_x, anchor_y;  // the pixel of a cell that lands on the point it is drawn at
    DayTint tint;

    constexpr int width() const { return cell_w * columns; }
    constexpr int height() const { return cell_h * rows; }
};

inline constexpr std::array SHEETS{
#define QM_SHEET(name, cell_w, cell_h, columns, rows, anchor_x, anchor_y, tint) \
    SheetSpec{#name, cell_w, cell_h, columns, rows, anchor_x, anchor_y, tint},
#include "sheets.def"
#undef QM_SHEET
};
inline constexpr std::size_t SHEET_COUNT = SHEETS.size();

constexpr const SheetSpec& sheet_spec(SheetId id) { return SHEETS[std::to_underlying(id)]; }

// ---- what the cells and rows hold ----

// The cells of the ground sheet.
enum class GroundCell : std::uint32_t { Grass, Dry, Wet, Water, Mark, Backdrop };
// Rows of the plant sheet; its columns are the three wind frames.
enum class PlantRow : std::uint32_t { TallGrass, Seed, Sprout, Stem, Hive };
// Rows of the flower sheet, drawn over a stem in the flower's colour; columns as the plants.
enum class FlowerRow : std::uint32_t { Bud, Blossom };
// A flower's head sits on top of its stem at this height of its cell, centred on the anchor's x
// in the still frame (column 0).
inline constexpr int FLOWER_HEAD_Y = 20;
// Rows of the button sheet; column 0 shows the button up, column 1 held.
enum class ButtonRow : std::uint32_t { Close, Run, Can, Shovel, Hoe, Smoker, Harvest, Split };
// Columns of the corner sheet: the full-screen switch and the colour collection's button.
enum class TopButtonColumn : std::uint32_t { FullScreen, Collection };
// Rows of the full-screen switch.
enum class TopButtonRow : std::uint32_t { Enter, Leave };
// Rows of the collection's button: lit while its panel is open.
enum class CollectionButtonRow : std::uint32_t { Closed, Open };
// The gardener's facing sectors: the rows of her sheet and of the arm sheet, the columns (two
// wide: at rest, in use) of the tool sheet.
enum class Facing : std::uint32_t { East, North, West, South };
// The four tools: the rows of the tool sheet.
enum class ToolKind : std::uint32_t { WateringCan, Shovel, Hoe, Smoker };

// The shed button that hands a tool out; the tools follow each other on the sheet as they do here.
constexpr ButtonRow button_row(ToolKind tool) {
    return static_cast<ButtonRow>(std::to_underlying(ButtonRow::Can) + std::to_underlying(tool));
}

// ---- the touch controls on the screen, in logical pixels ----

struct ScreenRect {
    int x, y, w, h;
    constexpr bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The default button grid hangs from (W - 96, H - 43), near the bottom-right corner.
inline constexpr int BUTTON_GRID_FROM_RIGHT = 96;
inline constexpr int BUTTON_GRID_FROM_BOTTOM = 43;
// The move pad is centred on (98, H - 76), its picture's anchor on that point.
inline constexpr int MOVE_PAD_CENTRE_X = 98;
inline constexpr int MOVE_PAD_CENTRE_FROM_BOTTOM = 76;
// The full-screen switch, top left under the clock.
inline constexpr ScreenRect FULLSCREEN_BUTTON{0, 32, 32, 32};
// The colour collection's button, right under the full-screen switch.
inline constexpr ScreenRect COLLECTION_BUTTON{0, 64, 32, 32};

// Where the move pad's picture goes on a screen `screen_h` pixels high.
constexpr ScreenRect move_pad_rect(int screen_h) {
    const SheetSpec& pad = sheet_spec(SheetId::move_pad);
    return {MOVE_PAD_CENTRE_X - pad.anchor_x, screen_h - MOVE_PAD_CENTRE_FROM_BOTTOM - pad.anchor_y, pad.cell_w,
            pad.cell_h};
}

}  // namespace qm
