// The table of sprite sheets with their painters, in the order the game loads them.
#include "sheets.hpp"

#include <array>

namespace qm::art {

std::span<const SheetInfo> all_sheets() {
    static const std::array<SheetInfo, SHEET_COUNT> sheets{{
#define QM_SHEET(name, ...) {sheet_spec(SheetId::name), paint_##name##_sheet},
#include "../../src/draw/sheets.def"
#undef QM_SHEET
    }};
    return sheets;
}

Picture empty_sheet(SheetId id) { return Picture(sheet_spec(id).width(), sheet_spec(id).height()); }

Picture empty_cell(SheetId id) { return Picture(sheet_spec(id).cell_w, sheet_spec(id).cell_h); }

void paste_cell(Picture& sheet, SheetId id, int column, int row, const Picture& cell) {
    sheet.paste(cell, sheet_spec(id).cell_w * column, sheet_spec(id).cell_h * row);
}

}  // namespace qm::art
