// flowers.png: the bud and the open blossom that sit on a stem, one column per wind frame. They
// are drawn in light greys: the game colours them with the flower's genome, so white shows the
// colour true and the greys become its shading.
#include "sheets.hpp"

#include <cmath>

namespace qm {

namespace {

const Rgba PETAL = rgb(238, 238, 238);
const Rgba EDGE = rgb(132, 132, 132);

Picture bud(int frame) {
    Picture p(TALL_W, TALL_H);
    const double hx = 16.0 + wind_sway(frame), hy = FLOWER_HEAD_Y;
    p.part(0.6, 0.18);
    p.fill_ellipse({hx, hy + 0.5}, 3.3, 4.0, PETAL);
    p.fill_polygon({{hx - 2.6, hy - 1.5}, {hx + 2.6, hy - 1.5}, {hx + 0.6, hy - 6.2}, {hx - 0.2, hy - 6.2}}, PETAL);
    p.bevel();
    // The fold between the closed petals.
    p.part(0, 0);
    for (int y = static_cast<int>(hy) - 3; y <= static_cast<int>(hy) + 3; ++y)
        p.put(static_cast<int>(hx) + (y < hy ? 0 : 1), y, rgb(212, 212, 212));
    p.outline(lighter(EDGE, 0.2));
    return p;
}

Picture blossom(int frame) {
    Picture p(TALL_W, TALL_H);
    const double hx = 16.0 + wind_sway(frame), hy = FLOWER_HEAD_Y;
    // Six petals around the heart, squashed a little: the flower faces the viewer from above.
    for (int k = 0; k < 6; ++k) {
        const double a = (k * 60.0 + 30.0 + wind_sway(frame) * 4.0) * 3.14159265358979 / 180.0;
        const Vec2 c{hx + 4.1 * std::cos(a), hy + 3.5 * std::sin(a)};
        const Affine saved = p.transform();
        p.set_transform(Affine::translate(c.x, c.y).after(Affine::rotate(k * 60.0 + 30.0)));
        p.part(0.55, 0.22);
        p.fill_ellipse({0, 0}, 3.4, 2.5, k >= 3 ? PETAL : rgb(248, 248, 248));
        p.set_transform(saved);
    }
    p.part(0.5, 0.3);
    p.fill_ellipse({hx, hy}, 2.2, 2.0, rgb(176, 176, 176));
    p.bevel();
    p.part(0, 0);
    p.put(static_cast<int>(hx) - 1, static_cast<int>(hy) - 1, rgb(255, 255, 255));
    p.outline(EDGE);
    return p;
}

}  // namespace

Picture paint_flowers_sheet() {
    constexpr SheetId ID = SheetId::flowers;
    Picture sheet = empty_sheet(ID);
    for (int f = 0; f < sheet_spec(ID).columns; ++f) {
        paste_cell(sheet, ID, f, static_cast<int>(FlowerRow::Bud), bud(f));
        paste_cell(sheet, ID, f, static_cast<int>(FlowerRow::Blossom), blossom(f));
    }
    return sheet;
}

}  // namespace qm
