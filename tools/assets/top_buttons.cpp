// top_buttons.png: the buttons in the corner. Column 0 is the full-screen switch: row 0 enters
// full screen (corners pointing out), row 1 leaves it (corners pointing in). Column 1 opens the
// colour collection: three blossoms in the pigments of the genome labels, lit in row 1 while the
// collection is open.
#include "sheets.hpp"

#include <cmath>

namespace qm::art {

namespace {

const Rgba INK = rgb(244, 244, 240);

// The dark, see-through square every corner button sits on.
Picture backing() {
    Picture p = empty_cell(SheetId::top_buttons);
    p.part(0, 0);
    p.fill_rect(3, 2, 26, 28, rgb(24, 28, 34, 170));
    p.fill_rect(2, 3, 28, 26, rgb(24, 28, 34, 170));
    return p;
}

Picture corner_button(bool leave) {
    Picture p = backing();
    // One L-shaped bracket per corner; leaving full screen turns them inside out.
    for (int cy = 0; cy < 2; ++cy)
        for (int cx = 0; cx < 2; ++cx) {
            const int sx = cx ? -1 : 1, sy = cy ? -1 : 1;
            const int ox = cx ? 24 : 7, oy = cy ? 24 : 7;  // the bracket's corner
            const int x = leave ? ox + sx * 5 : ox, y = leave ? oy + sy * 5 : oy;
            const int hx = leave ? -sx : sx, hy = leave ? -sy : sy;
            for (int k = 0; k < 6; ++k) {
                for (int t = 0; t < 2; ++t) {
                    p.put(x + hx * k, y + hy * t, INK);
                    p.put(x + hx * t, y + hy * k, INK);
                }
            }
        }
    return p;
}

// Cyan, magenta and yellow blossoms, overlapping like the pigments they stand for.
Picture collection_button(bool lit) {
    Picture p = backing();
    if (lit) {
        p.part(0, 0);
        for (int k = 0; k < 26; ++k) {
            p.put(3 + k, 2, INK);
            p.put(3 + k, 29, INK);
            p.put(2, 3 + k, INK);
            p.put(29, 3 + k, INK);
        }
    }
    const Rgba pigments[3] = {rgb(40, 220, 230), rgb(236, 60, 200), rgb(250, 226, 40)};
    const Vec2 centres[3] = {{11.5, 12.5}, {20.5, 12.5}, {16.0, 20.0}};
    Picture blossoms(32, 32);
    for (int k = 0; k < 3; ++k) {
        blossoms.part(0.45, 0.25);
        for (int petal = 0; petal < 5; ++petal) {
            const double a = (petal * 72.0 - 90.0) * 3.14159265358979 / 180.0;
            blossoms.fill_ellipse({centres[k].x + 3.0 * std::cos(a), centres[k].y + 3.0 * std::sin(a)}, 2.4, 2.4,
                                  pigments[k]);
        }
        blossoms.fill_ellipse(centres[k], 1.4, 1.4, rgb(255, 240, 190));
    }
    blossoms.bevel();
    blossoms.outline(CLEAR, 0.45);
    p.blend_over(blossoms, 0, 0);
    return p;
}

}  // namespace

Picture paint_top_buttons_sheet() {
    Picture sheet = empty_sheet(SheetId::top_buttons);
    const int full_screen = static_cast<int>(TopButtonColumn::FullScreen);
    paste_cell(sheet, SheetId::top_buttons, full_screen, static_cast<int>(TopButtonRow::Enter), corner_button(false));
    paste_cell(sheet, SheetId::top_buttons, full_screen, static_cast<int>(TopButtonRow::Leave), corner_button(true));
    const int collection = static_cast<int>(TopButtonColumn::Collection);
    paste_cell(sheet, SheetId::top_buttons, collection, static_cast<int>(CollectionButtonRow::Closed), collection_button(false));
    paste_cell(sheet, SheetId::top_buttons, collection, static_cast<int>(CollectionButtonRow::Open), collection_button(true));
    return sheet;
}

}  // namespace qm::art
