// top_buttons.png: the full-screen switch in the corner: row 0 enters full screen (corners
// pointing out), row 1 leaves it (corners pointing in).
#include "sheets.hpp"

namespace qm {

namespace {

Picture corner_button(bool leave) {
    Picture p = empty_cell(SheetId::top_buttons);
    p.part(0, 0);
    p.fill_rect(3, 2, 26, 28, rgb(24, 28, 34, 170));
    p.fill_rect(2, 3, 28, 26, rgb(24, 28, 34, 170));
    const Rgba ink = rgb(244, 244, 240);
    // One L-shaped bracket per corner; leaving full screen turns them inside out.
    for (int cy = 0; cy < 2; ++cy)
        for (int cx = 0; cx < 2; ++cx) {
            const int sx = cx ? -1 : 1, sy = cy ? -1 : 1;
            const int ox = cx ? 24 : 7, oy = cy ? 24 : 7;  // the bracket's corner
            const int x = leave ? ox + sx * 5 : ox, y = leave ? oy + sy * 5 : oy;
            const int hx = leave ? -sx : sx, hy = leave ? -sy : sy;
            for (int k = 0; k < 6; ++k) {
                for (int t = 0; t < 2; ++t) {
                    p.put(x + hx * k, y + hy * t, ink);
                    p.put(x + hx * t, y + hy * k, ink);
                }
            }
        }
    return p;
}

}  // namespace

Picture paint_top_buttons_sheet() {
    Picture sheet = empty_sheet(SheetId::top_buttons);
    paste_cell(sheet, SheetId::top_buttons, 0, static_cast<int>(TopButtonRow::Enter), corner_button(false));
    paste_cell(sheet, SheetId::top_buttons, 0, static_cast<int>(TopButtonRow::Leave), corner_button(true));
    return sheet;
}

}  // namespace qm
