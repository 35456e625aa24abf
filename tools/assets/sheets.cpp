// The table of sprite sheets: names, cell grids and painters, in the order the game loads them.
#include "sheets.hpp"

#include <array>

namespace qm {

std::span<const SheetInfo> all_sheets() {
    static const std::array<SheetInfo, 11> sheets{{
        {"ground", GROUND_CELL, GROUND_CELL, GROUND_CELLS, 1, paint_ground_sheet},
        {"plants", TALL_W, TALL_H, 3, 5, paint_plants_sheet},
        {"flowers", TALL_W, TALL_H, 3, 2, paint_flowers_sheet},
        {"lily", TALL_W, TALL_H, 5, 4, paint_lily_sheet},
        {"arms", 16, 16, 3, 4, paint_arms_sheet},
        {"tools", 32, 32, 8, 4, paint_tools_sheet},
        {"shed", 36, 74, 1, 1, paint_shed_sheet},
        {"move_pad", 164, 121, 1, 1, paint_move_pad_sheet},
        {"buttons", 64, 64, 2, 8, paint_buttons_sheet},
        {"top_buttons", 32, 32, 2, 2, paint_top_buttons_sheet},
        {"intro", INTRO_W, INTRO_H, 1, 1, paint_intro_sheet},
    }};
    return sheets;
}

}  // namespace qm
