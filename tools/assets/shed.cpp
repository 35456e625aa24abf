// shed.png: the garden shed where the gardener picks her tool. Its front faces the viewer and
// the door opens at the bottom, where she walks in; the bottom 16 rows are its ground area.
#include "sheets.hpp"

namespace qm {

Picture paint_shed_sheet() {
    Picture p = empty_sheet(SheetId::shed);
    const Rgba plank = rgb(176, 116, 66), plank_dark = rgb(138, 86, 48), plank_light = rgb(200, 144, 88);
    const Rgba shingle = rgb(178, 70, 52), trim = rgb(236, 226, 200);
    // The walls: the front with its gable under the roof.
    p.part(0.0, 0.3);
    p.fill_rect(3, 30, 30, 42, plank);
    p.fill_polygon({{3, 31}, {33, 31}, {18, 12}}, plank);
    for (int x = 6; x < 33; x += 5) {
        p.part(0, 0);
        for (int y = 14; y < 72; ++y)
            if (p.get(x, y).a) p.put(x, y, plank_dark);
        for (int y = 14; y < 72; ++y)
            if (p.get(x + 1, y).a) p.put(x + 1, y, plank_light);
    }
    // The roof: two shingled slopes meeting at the ridge, with a light trim along the eaves.
    for (int side = 0; side < 2; ++side) {
        const double m = side ? -1.0 : 1.0;  // mirror for the right slope
        auto X = [&](double x) { return side ? 36.0 - x : x; };
        (void)m;
        p.part(0.35, 0.3);
        p.fill_polygon({{X(1.0), 35.0}, {X(18.0), 4.0}, {X(18.0), 10.5}, {X(6.0), 35.0}}, shingle);
        p.part(0, 0);
        for (int k = 1; k < 6; ++k) {
            const double t = k / 6.0;
            const Vec2 a{X(1.0 + 17.0 * t), 35.0 - 31.0 * t}, b{X(6.0 + 12.0 * t), 35.0 - 24.5 * t};
            p.line(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x), static_cast<int>(b.y),
                   scaled(shingle, 0.72));
        }
        p.part(0.0, 0.0);
        p.fill_polygon({{X(5.2), 35.0}, {X(18.0), 9.8}, {X(18.0), 12.0}, {X(6.6), 35.0}}, trim);
    }
    p.part(0.4, 0.3);
    p.fill_ellipse({18.0, 5.5}, 2.2, 2.0, scaled(shingle, 0.9));
    // A round window in the gable.
    p.part(0.0, 0.0);
    p.fill_ellipse({18.0, 22.5}, 3.6, 3.4, trim);
    p.part(0.5, 0.2);
    p.fill_ellipse({18.0, 22.5}, 2.5, 2.3, rgb(142, 196, 226));
    p.part(0, 0);
    p.fill_rect(17, 20, 2, 6, trim);
    p.fill_rect(16, 22, 4, 1, trim);
    // A small window beside the door, and the door itself: a framed door with a Z brace.
    p.part(0.0, 0.0);
    p.fill_rect(5, 42, 7, 7, trim);
    p.part(0.5, 0.2);
    p.fill_rect(6, 43, 5, 5, rgb(142, 196, 226));
    p.part(0, 0);
    p.fill_rect(8, 43, 1, 5, trim);
    p.fill_rect(26, 44, 5, 3, rgb(196, 80, 64));  // a flower box under no window: a sign
    p.fill_rect(27, 41, 1, 3, rgb(86, 160, 70));
    p.fill_rect(29, 40, 1, 4, rgb(86, 160, 70));
    p.put(27, 40, rgb(248, 210, 80));
    p.put(29, 39, rgb(248, 120, 160));
    p.part(0.0, 0.0);
    p.fill_rect(11, 47, 14, 26, trim);
    const Rgba door = rgb(72, 128, 92);
    p.part(0.3, 0.3);
    p.fill_rect(12, 48, 12, 25, door);
    p.part(0, 0);
    p.line(13, 50, 22, 50, scaled(door, 0.75));
    p.line(13, 70, 22, 70, scaled(door, 0.75));
    p.line(13, 69, 22, 51, scaled(door, 0.75));
    p.fill_rect(21, 60, 2, 2, rgb(246, 214, 96));
    // The stone footing.
    p.part(0.3, 0.3);
    p.fill_rect(2, 72, 32, 2, rgb(150, 146, 140));
    p.bevel();
    p.outline(CLEAR, 0.35);
    return p;
}

}  // namespace qm
