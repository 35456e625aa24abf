// tools.png: the four tools in the gardener's hand, one row per tool (watering can, shovel, hoe,
// smoker); for each facing (east, north, west, south) two 32 × 32 cells: at rest and in use.
// Each cell is centred on the hand. The same shapes make the tool buttons' icons.
#include "sheets.hpp"

namespace qm {

namespace {

const Rgba WOOD = rgb(164, 108, 58);
const Rgba STEEL = rgb(184, 192, 204);
const Rgba CAN = rgb(86, 170, 206);
const Rgba TIN = rgb(196, 150, 96);
const Rgba LEATHER = rgb(150, 74, 50);

// The shapes are laid out with the hand at the origin, the tool pointing east (+x).
void can_shape(Picture& p) {
    // An arched handle over the back of the can, gripped at its top.
    p.part(0.0, 0.0);
    const Rgba handle = scaled(CAN, 0.82);
    p.fill_capsule({-5.6, 4.6}, {-4.6, 0.2}, 1.0, handle);
    p.fill_capsule({-4.6, 0.2}, {-1.0, -1.4}, 1.0, handle);
    p.fill_capsule({-1.0, -1.4}, {1.6, 4.0}, 1.0, handle);
    p.part(0.3, 0.3);
    p.fill_polygon({{4.0, 9.6}, {4.6, 7.0}, {11.6, 0.0}, {12.8, 1.2}, {6.4, 11.0}}, CAN);  // spout
    p.part(0.45, 0.3);
    p.fill_ellipse({12.6, 0.3}, 1.5, 2.3, scaled(CAN, 1.12));  // the rose
    p.part(0.45, 0.35);
    p.fill_polygon({{-6.0, 4.2}, {5.0, 4.2}, {6.4, 12.6}, {-7.0, 12.6}}, CAN);
    p.part(0.0, 0.0);
    p.fill_polygon({{-6.4, 7.4}, {5.5, 7.4}, {5.7, 8.5}, {-6.6, 8.5}}, scaled(CAN, 0.78));  // the seam
}

void shovel_shape(Picture& p) {
    p.part(0.35, 0.2);
    p.fill_capsule({-2.6, -6.5}, {4.6, 7.4}, 1.15, WOOD);
    p.part(0.3, 0.3);
    p.fill_ring({-3.2, -8.4}, 2.6, 2.2, 1.1, scaled(WOOD, 0.9));  // the D grip
    p.part(0.55, 0.3);
    p.fill_polygon({{2.2, 7.4}, {7.4, 4.6}, {10.6, 10.2}, {9.6, 14.2}, {5.2, 12.4}}, STEEL);
}

void hoe_shape(Picture& p) {
    p.part(0.35, 0.2);
    p.fill_capsule({-3.4, -10.5}, {6.0, 9.2}, 1.05, WOOD);
    p.part(0.0, 0.0);
    p.fill_capsule({5.2, 8.6}, {6.6, 11.0}, 0.9, scaled(STEEL, 0.7));  // the neck
    p.part(0.55, 0.3);
    p.fill_polygon({{5.6, 10.4}, {12.6, 10.0}, {13.0, 12.8}, {6.0, 13.4}}, STEEL);
}

void smoker_shape(Picture& p) {
    // A tin can of smouldering straw with a pointed lid and a spout, and the bellows on its back.
    p.part(0.35, 0.3);
    p.fill_polygon({{-9.4, 2.6}, {-4.4, 1.6}, {-4.4, 11.4}, {-8.4, 10.4}}, LEATHER);
    p.part(0.0, 0.0);
    p.fill_capsule({-8.0, 1.8}, {-1.2, -0.6}, 0.9, WOOD);  // the bellows' handle in the hand
    p.part(0.5, 0.35);
    p.fill_polygon({{-4.0, 3.4}, {3.6, 3.4}, {3.6, 13.4}, {-4.0, 13.4}}, TIN);
    p.part(0.45, 0.3);
    p.fill_polygon({{-4.4, 3.6}, {4.0, 3.6}, {1.8, -0.4}, {-2.2, -0.4}}, scaled(TIN, 0.95));
    p.fill_polygon({{-1.6, 0.2}, {1.6, 0.2}, {4.8, -3.4}, {3.6, -4.4}}, scaled(TIN, 0.88));
    p.part(0.0, 0.0);
    p.fill_polygon({{-4.0, 7.4}, {3.6, 7.4}, {3.6, 8.4}, {-4.0, 8.4}}, scaled(TIN, 0.68));
}

// Where the working end is, in the tool's own coordinates: water and smoke come out there.
Vec2 spout_of(int tool) { return tool == 0 ? Vec2{13.4, -0.4} : tool == 3 ? Vec2{4.6, -4.4} : Vec2{8.0, 12.5}; }

void tool_shape(Picture& p, int tool) {
    switch (tool) {
        case 0: can_shape(p); break;
        case 1: shovel_shape(p); break;
        case 2: hoe_shape(p); break;
        default: smoker_shape(p); break;
    }
}

// How far each tool tips when it is used: the can pours, the shovel and the hoe strike,
// the smoker stays level and puffs.
constexpr double WORK_ANGLE[4] = {38.0, -36.0, -50.0, 0.0};

}  // namespace

void paint_tool(Picture& target, int tool, const Affine& place, bool in_use) {
    Picture p(target.width(), target.height());
    const Affine pose = in_use ? place.after(Affine::rotate(WORK_ANGLE[tool])) : place;
    p.set_transform(pose);
    tool_shape(p, tool);
    p.set_transform({});
    p.bevel();
    p.outline(CLEAR, 0.3);
    if (!in_use && tool == 3) {
        // A smoker is never quite out: a wisp tells it from a can at a glance.
        const Vec2 end = pose.apply(spout_of(tool));
        const double s = place.scale();
        const double dir = place.a < 0 ? -1.0 : 1.0;
        Picture fx(target.width(), target.height());
        fx.part(0.4, 0.2);
        fx.fill_ellipse({end.x + dir * s * 1.2, end.y - s * 2.0}, 1.5 * s, 1.3 * s, rgb(220, 222, 228));
        fx.bevel();
        fx.outline(CLEAR, 0.45);
        p.blend_over(fx, 0, 0);
    }
    if (in_use) {
        // What the work throws off falls straight, whatever the tool's tilt.
        const Vec2 end = pose.apply(spout_of(tool));
        const double s = place.scale();
        const double dir = place.a < 0 ? -1.0 : 1.0;
        Picture fx(target.width(), target.height());
        if (tool == 0) {
            fx.part(0.5, 0.0);
            for (int k = 0; k < 3; ++k)
                fx.fill_ellipse({end.x + dir * s * (0.8 + 1.6 * k), end.y + s * (2.6 + 2.4 * k)}, 0.8 * s, 1.2 * s, rgb(150, 206, 250));
        } else if (tool == 3) {
            fx.part(0.45, 0.2);
            fx.fill_ellipse({end.x + dir * s * 2.0, end.y - s * 2.6}, 2.6 * s, 2.3 * s, rgb(206, 208, 214));
            fx.part(0.45, 0.2);
            fx.fill_ellipse({end.x + dir * s * 5.4, end.y - s * 5.4}, 2.2 * s, 2.0 * s, rgb(224, 226, 230));
            fx.part(0.45, 0.2);
            fx.fill_ellipse({end.x + dir * s * 6.4, end.y - s * 9.2}, 1.6 * s, 1.5 * s, rgb(240, 240, 244));
        } else {
            fx.part(0.3, 0.0);
            fx.fill_ellipse({end.x + dir * s * 2.5, end.y - s * 1.0}, 1.2 * s, 1.0 * s, rgb(132, 90, 56));
            fx.fill_ellipse({end.x + dir * s * 0.2, end.y - s * 3.2}, 0.9 * s, 0.8 * s, rgb(150, 104, 64));
        }
        fx.bevel();
        fx.outline(CLEAR, 0.45);
        p.blend_over(fx, 0, 0);
    }
    target.blend_over(p, 0, 0);
}

Picture paint_tools_sheet() {
    constexpr SheetId ID = SheetId::tools;
    const SheetSpec& spec = sheet_spec(ID);
    Picture sheet = empty_sheet(ID);
    for (int tool = 0; tool < spec.rows; ++tool)
        for (int facing = 0; facing < spec.columns / 2; ++facing)
            for (int use = 0; use < 2; ++use) {
                Picture cell = empty_cell(ID);
                // East as drawn; west mirrored; seen from behind or in front the tool points to
                // her right hand's side and looks shorter.
                const double sx = facing == 0 ? 1.0 : facing == 2 ? -1.0 : facing == 1 ? 0.72 : -0.72;
                paint_tool(cell, tool, Affine::translate(spec.anchor_x, spec.anchor_y).after(Affine::scaling(sx, 1.0)),
                           use == 1);
                paste_cell(sheet, ID, 2 * facing + use, tool, cell);
            }
    return sheet;
}

}  // namespace qm
