// plants.png: what grows or stands on a tile, one row per kind (tall grass, seed, sprout, stem,
// beehive) and one column per wind frame.
#include "sheets.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qm {

namespace {

constexpr double FOOT_X = 16.0, FOOT_Y = 46.5;

const Rgba STEM = rgb(72, 150, 56);
const Rgba LEAF = rgb(98, 178, 66);
const Rgba LEAF_DARK = rgb(62, 128, 46);
const Rgba MOUND = rgb(120, 80, 48);

// A curved blade from its base up to its tip, thinning as it goes.
void blade(Picture& p, Vec2 base, double height, double lean, Rgba colour, double width = 1.15) {
    constexpr int STEPS = 6;
    Vec2 prev = base;
    for (int s = 1; s <= STEPS; ++s) {
        const double t = static_cast<double>(s) / STEPS;
        const Vec2 next{base.x + lean * t * t, base.y - height * t};
        p.fill_capsule(prev, next, width * (1.0 - 0.55 * t), colour);
        prev = next;
    }
}

// The little heap of earth a seed or a young plant sits in.
void mound(Picture& p, double rx) {
    p.part(0.25, 0.2);
    p.fill_ellipse({FOOT_X, FOOT_Y + 0.5}, rx, rx * 0.45, MOUND);
}

void leaf(Picture& p, Vec2 at, double angle, double length, Rgba colour) {
    const Affine saved = p.transform();
    p.set_transform(Affine::translate(at.x, at.y).after(Affine::rotate(angle)));
    p.part(0.3, 0.25);
    p.fill_ellipse({length * 0.5, 0}, length * 0.5, length * 0.22, colour);
    p.set_transform(saved);
}

Picture tall_grass(int frame) {
    Picture p(TALL_W, TALL_H);
    const double sway = wind_sway(frame);
    ArtRng rng(0x96A55);
    struct Blade { Vec2 base; double h, lean; int shade; bool seed; };
    std::vector<Blade> blades;
    for (int k = 0; k < 17; ++k) {
        const double bx = 5.5 + rng.below(21);
        const double by = 36.0 + rng.below(20);
        const double edge = std::abs(bx - FOOT_X) / 13.0;
        if (std::abs(by - FOOT_Y) > 11.0 * (1.0 - 0.45 * edge)) { --k; continue; }
        const double h = 12.0 + rng.below(10) - 3.0 * edge;
        const double lean = (bx - FOOT_X) * 0.2 + (rng.below(5) - 2);
        blades.push_back({{bx, by}, h, lean, rng.below(3), rng.chance(30)});
    }
    std::sort(blades.begin(), blades.end(), [](const Blade& a, const Blade& b) { return a.base.y < b.base.y; });
    const Rgba shades[3] = {rgb(58, 118, 42), rgb(86, 150, 56), rgb(124, 178, 68)};
    for (const Blade& b : blades) {
        // Taller blades bend further in the gust.
        const double lean = b.lean + sway * 1.6 * b.h / 18.0;
        p.part(0.35, 0.0);
        blade(p, b.base, b.h, lean, shades[b.shade]);
        // Light tips catch the sun.
        p.part(0, 0);
        const Vec2 tip{b.base.x + lean, b.base.y - b.h};
        p.fill_capsule({tip.x - lean * 0.12, tip.y + 2.2}, tip, 0.6, rgb(188, 204, 100));
        if (b.seed) {
            p.part(0.3, 0.2);
            p.fill_ellipse({tip.x, tip.y + 0.5}, 1.2, 2.0, rgb(196, 170, 96));
        }
    }
    p.bevel();
    p.outline(rgb(34, 70, 30));
    return p;
}

Picture seed(int) {
    Picture p(TALL_W, TALL_H);
    mound(p, 6.0);
    p.part(0.45, 0.3);
    p.fill_ellipse({FOOT_X - 0.5, FOOT_Y - 1.5}, 2.6, 1.9, rgb(226, 192, 118));
    p.part(0, 0);
    p.put(14, 44, rgb(250, 232, 180));
    p.bevel();
    p.outline(rgb(60, 36, 20));
    return p;
}

Picture sprout(int frame) {
    Picture p(TALL_W, TALL_H);
    const double sway = wind_sway(frame) * 0.6;
    mound(p, 5.0);
    p.part(0.0, 0.0);
    const Vec2 top{FOOT_X + sway, FOOT_Y - 10.0};
    p.fill_capsule({FOOT_X, FOOT_Y - 1}, top, 0.75, STEM);
    leaf(p, {top.x + 0.3, top.y + 1.0}, -30.0 - sway * 6, 6.5, LEAF);
    leaf(p, {top.x - 0.3, top.y + 2.0}, 205.0 - sway * 6, 5.5, LEAF_DARK);
    p.bevel();
    p.outline(rgb(30, 66, 26));
    return p;
}

Picture stem(int frame) {
    Picture p(TALL_W, TALL_H);
    const double sway = wind_sway(frame);
    mound(p, 5.0);
    // The stem bends gradually, so its top (and the head drawn over it) moves the most.
    p.part(0.0, 0.0);
    Vec2 prev{FOOT_X, FOOT_Y - 1};
    const double height = FOOT_Y - (FLOWER_HEAD_Y + 5.0);
    for (int s = 1; s <= 6; ++s) {
        const double t = s / 6.0;
        const Vec2 next{FOOT_X + sway * t * t, FOOT_Y - 1 - height * t};
        p.fill_capsule(prev, next, 0.8, STEM);
        prev = next;
    }
    auto stem_at = [&](double t) { return Vec2{FOOT_X + sway * t * t, FOOT_Y - 1 - height * t}; };
    leaf(p, stem_at(0.25), 200.0 - sway * 5, 8.0, LEAF_DARK);
    leaf(p, stem_at(0.45), -25.0 - sway * 5, 8.5, LEAF);
    leaf(p, stem_at(0.7), 215.0 - sway * 5, 5.5, LEAF);
    // The calyx that holds the bud or flower.
    p.part(0.3, 0.2);
    const Vec2 top = stem_at(1.0);
    p.fill_polygon({{top.x - 3.2, top.y - 1.2}, {top.x + 3.2, top.y - 1.2}, {top.x + 1.0, top.y + 1.8}, {top.x - 1.0, top.y + 1.8}}, LEAF);
    p.bevel();
    p.outline(rgb(30, 66, 26));
    return p;
}

// A bee: a yellow body with a dark stripe and a pale wing, two or three pixels.
void bee(Picture& p, int x, int y, bool wings_up) {
    p.put(x, y, rgb(250, 206, 48));
    p.put(x + 1, y, rgb(40, 30, 20));
    p.put(x + 2, y, rgb(250, 206, 48));
    p.put(x + 1, wings_up ? y - 1 : y + 1, rgb(236, 246, 255));
}

Picture hive(int frame) {
    Picture p(TALL_W, TALL_H);
    paint_skep(p, Affine::translate(FOOT_X, FOOT_Y));
    // A dark board stuck in the top of the skep: the game writes the hive's level on it in
    // yellow, which then reads over lawn, soil and the yellow range marks alike.
    Picture sign(TALL_W, TALL_H);
    sign.part(0.25, 0.3);
    sign.fill_rect(9, 12, 14, 11, rgb(86, 56, 34));
    sign.bevel();
    sign.outline(rgb(46, 28, 16));
    p.blend_over(sign, 0, 0);
    // A few bees around the entrance, clear of the board; they drift with the frames.
    struct BeePos { int x, y; };
    const BeePos bees[3][3] = {{{4, 26}, {25, 31}, {3, 19}},
                               {{6, 24}, {26, 28}, {4, 17}},
                               {{8, 23}, {24, 25}, {5, 18}}};
    for (int k = 0; k < 3; ++k) bee(p, bees[frame][k].x, bees[frame][k].y, (frame + k) % 2 == 0);
    return p;
}

}  // namespace

void paint_skep(Picture& target, const Affine& place) {
    // Shaded and outlined on its own, so the outline does not run into what lies beneath.
    Picture p(target.width(), target.height());
    p.set_transform(place);
    const Rgba straw = rgb(216, 166, 72), board = rgb(140, 92, 52);
    p.part(0.3, 0.3);
    p.fill_polygon({{-13, -1}, {13, -1}, {12, 2}, {-12, 2}}, board);
    // Coils of straw, widest at the bottom, so the dome reads as a skep at any size.
    const double ys[5] = {-3.5, -8.5, -13.5, -18.0, -21.8};
    const double ws[5] = {11.5, 11.0, 9.8, 7.6, 4.6};
    for (int k = 0; k < 5; ++k) {
        p.part(0.45, 0.35);
        p.fill_capsule({-ws[k] + 2.6, ys[k]}, {ws[k] - 2.6, ys[k]}, 2.9, k % 2 ? straw : scaled(straw, 0.94));
    }
    p.part(0.0, 0.0);
    p.fill_ellipse({0, -24.0}, 2.2, 1.4, scaled(straw, 1.1));
    // The entrance.
    p.part(0, 0);
    p.fill_ellipse({0.0, -2.2}, 3.2, 2.6, rgb(52, 30, 16));
    p.bevel();
    p.outline(rgb(84, 50, 22));
    target.blend_over(p, 0, 0);
}

Picture paint_plants_sheet() {
    constexpr SheetId ID = SheetId::plants;
    Picture sheet = empty_sheet(ID);
    // In the order of PlantRow.
    Picture (*const rows[])(int) = {tall_grass, seed, sprout, stem, hive};
    static_assert(std::size(rows) == sheet_spec(ID).rows);
    for (int r = 0; r < sheet_spec(ID).rows; ++r)
        for (int f = 0; f < sheet_spec(ID).columns; ++f) paste_cell(sheet, ID, f, r, rows[r](f));
    return sheet;
}

}  // namespace qm
