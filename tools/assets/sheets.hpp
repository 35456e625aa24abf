// Every sprite sheet the game loads, with its cell grid and the function that paints it.
#pragma once

#include <span>
#include <string_view>

#include "paint.hpp"

namespace qm {

// Geometry shared by the sheets and the game's drawing code.
inline constexpr int GROUND_CELL = 32;      // ground cells are 32 × 32
inline constexpr int GROUND_ANCHOR_X = 16;  // hex centre inside a ground cell
inline constexpr int GROUND_ANCHOR_Y = 14;
inline constexpr int LATTICE_DX = 32;       // neighbouring cells in a row
inline constexpr int LATTICE_DY = 22;       // between row centres; odd rows shift by 16
inline constexpr int TALL_W = 32;           // plants, flowers and the gardener
inline constexpr int TALL_H = 64;
inline constexpr int TALL_ANCHOR_Y = 46;    // their feet stand on the hex centre
inline constexpr int GROUND_CELLS = 6;
inline constexpr int INTRO_W = 480;      // the title card
inline constexpr int INTRO_H = 240;

// A flower's head sits on top of its stem; the wind frames lean the top of the stem (and so
// the head) by this many pixels to the right.
inline constexpr int FLOWER_HEAD_Y = 20;
constexpr double wind_sway(int frame) { return frame == 0 ? 0.0 : frame == 1 ? 1.0 : 2.0; }

// Ground cells.
inline constexpr int GROUND_GRASS = 0, GROUND_DRY = 1, GROUND_WET = 2, GROUND_WATER = 3, GROUND_MARK = 4,
                     GROUND_BACKDROP = 5;

struct SheetInfo {
    std::string_view name;  // file name without ".png"
    int cell_w, cell_h;
    int columns, rows;      // for single pictures, one cell of the whole size
    Picture (*paint)();
};

Picture paint_ground_sheet();
Picture paint_plants_sheet();
Picture paint_flowers_sheet();
Picture paint_lily_sheet();
Picture paint_arms_sheet();
Picture paint_tools_sheet();
Picture paint_shed_sheet();
Picture paint_move_pad_sheet();
Picture paint_buttons_sheet();
Picture paint_top_buttons_sheet();
Picture paint_intro_sheet();

// The eleven sheets in the order the game loads them.
std::span<const SheetInfo> all_sheets();

// Whether pixel (x, y) of a ground cell belongs to its hexagon. The hexagons overlap by a pixel
// on the 32 × 22 lattice so that the field shows no seams.
bool in_ground_hex(int x, int y);

// Motifs shared between sheets. `place` maps the motif's own coordinates (origin at its foot or
// at the hand that holds it) into the picture; each is shaded and outlined on its own.
void paint_skep(Picture& target, const Affine& place);
// tool: 0 watering can, 1 shovel, 2 hoe, 3 smoker; in_use tips it into its working pose.
void paint_tool(Picture& target, int tool, const Affine& place, bool in_use);

// A 720 × 360 scene of the sheets put together the way the game draws them, for looking at.
Picture paint_preview();

}  // namespace qm
