// Every sprite sheet the game loads with the function that paints it, and the motifs shared
// between sheets.
#pragma once

#include <span>
#include <string_view>

#include "../../src/draw/sheets.hpp"
#include "paint.hpp"

namespace qm::art {

// Geometry shared with the game: the sheet table, anchors and row enums live in the game's
// sheets.hpp; these are the generator's short names for them.
inline constexpr const SheetSpec& GROUND_SHEET = sheet_spec(SheetId::ground);
inline constexpr const SheetSpec& TALL_SHEET = sheet_spec(SheetId::plants);  // plants, flowers, the gardener
inline constexpr int GROUND_CELL = GROUND_SHEET.cell_w;       // ground cells are square
inline constexpr int GROUND_ANCHOR_X = GROUND_SHEET.anchor_x;  // hex centre inside a ground cell
inline constexpr int GROUND_ANCHOR_Y = GROUND_SHEET.anchor_y;
inline constexpr int LATTICE_DX = 32;       // neighbouring cells in a row
inline constexpr int LATTICE_DY = 22;       // between row centres; odd rows shift by 16
inline constexpr int TALL_W = TALL_SHEET.cell_w;
inline constexpr int TALL_H = TALL_SHEET.cell_h;
inline constexpr int TALL_ANCHOR_Y = TALL_SHEET.anchor_y;  // their feet stand on the hex centre
inline constexpr int GROUND_CELLS = GROUND_SHEET.columns;
inline constexpr int INTRO_W = sheet_spec(SheetId::intro).cell_w;  // the title card
inline constexpr int INTRO_H = sheet_spec(SheetId::intro).cell_h;

// The wind frames lean the top of a flower's stem (and so its head, FLOWER_HEAD_Y) by this many
// pixels to the right.
constexpr double wind_sway(int frame) { return frame == 0 ? 0.0 : frame == 1 ? 1.0 : 2.0; }

// Ground cells as plain numbers, for pixel arithmetic.
inline constexpr int GROUND_GRASS = static_cast<int>(GroundCell::Grass), GROUND_DRY = static_cast<int>(GroundCell::Dry),
                     GROUND_WET = static_cast<int>(GroundCell::Wet), GROUND_WATER = static_cast<int>(GroundCell::Water),
                     GROUND_MARK = static_cast<int>(GroundCell::Mark),
                     GROUND_BACKDROP = static_cast<int>(GroundCell::Backdrop);

// A sheet of the table with the function that paints it.
struct SheetInfo : SheetSpec {
    Picture (*paint)();
};

// A transparent picture the size of a whole sheet, or of one of its cells.
Picture empty_sheet(SheetId id);
Picture empty_cell(SheetId id);
// Pastes a cell's picture into its place on the sheet.
void paste_cell(Picture& sheet, SheetId id, int column, int row, const Picture& cell);

// One painter per sheet: paint_ground_sheet(), paint_plants_sheet(), ...
#define QM_SHEET(name, ...) Picture paint_##name##_sheet();
#include "../../src/draw/sheets.def"
#undef QM_SHEET

// Every sheet in the order the game loads them.
std::span<const SheetInfo> all_sheets();

// Whether pixel (x, y) of a ground cell belongs to its hexagon. The hexagons overlap by a pixel
// on the 32 × 22 lattice so that the field shows no seams.
bool in_ground_hex(int x, int y);

// Motifs shared between sheets. `place` maps the motif's own coordinates (origin at its foot or
// at the hand that holds it) into the picture; each is shaded and outlined on its own.
void paint_skep(Picture& target, const Affine& place);
// tool: 0 watering can, 1 shovel, 2 hoe, 3 smoker; in_use tips it into its working pose.
void paint_tool(Picture& target, int tool, const Affine& place, bool in_use);

}  // namespace qm::art
