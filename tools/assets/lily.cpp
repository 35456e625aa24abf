// lily.png: the gardener's body without arms, one row per facing (east, north, west, south) and
// five columns: standing, then the four frames of her walk (contact, passing, contact, passing).
#include "sheets.hpp"

#include <cmath>

#include "palette.hpp"

namespace qm::art {

namespace {

constexpr double AXIS = 15.0;  // her body's middle; the arms hang either side of it

enum class View { Side, Back, Front };

struct Leg {
    Vec2 foot;
    Vec2 knee;  // for a straight leg, halfway
};

Leg straight(Vec2 hip, Vec2 foot) { return {foot, {(hip.x + foot.x) / 2, (hip.y + foot.y) / 2}}; }

void draw_leg(Picture& p, Vec2 hip, const Leg& leg, double shade, double toe) {
    p.part(0.2, 0.25);
    const Rgba denim = scaled(LILY_DENIM, shade);
    p.fill_capsule(hip, leg.knee, 1.9, denim);
    p.fill_capsule(leg.knee, {leg.foot.x, leg.foot.y - 1.0}, 1.8, denim);
    p.part(0.3, 0.2);
    p.fill_ellipse({leg.foot.x + toe, leg.foot.y}, 2.4 + std::abs(toe) * 0.3, 1.5, scaled(LILY_BOOT, shade));
}

// Feet for each walk frame. Side view: the near leg is her right one. Front and back: index 0
// is the leg on the viewer's left.
void legs_side(Picture& p, int frame, double bob) {
    const Vec2 hip{AXIS, 32.0 + bob};
    Leg near_leg = straight(hip, {16.0, 45.0}), far_leg = straight(hip, {14.0, 45.0});
    switch (frame) {
        case 1: near_leg = straight(hip, {19.5, 45.0}); far_leg = straight(hip, {10.5, 44.6}); break;
        case 2: near_leg = straight(hip, {15.2, 45.0}); far_leg = {{14.0, 42.2}, {17.8, 38.6}}; break;
        case 3: far_leg = straight(hip, {19.5, 45.0}); near_leg = straight(hip, {10.5, 44.6}); break;
        case 4: far_leg = straight(hip, {15.2, 45.0}); near_leg = {{14.0, 42.2}, {17.8, 38.6}}; break;
        default: break;
    }
    draw_leg(p, hip, far_leg, 0.78, 1.1);
    draw_leg(p, hip, near_leg, 1.0, 1.1);
}

void legs_front(Picture& p, int frame, double bob, bool from_behind) {
    const Vec2 hip_l{AXIS - 2.3, 32.0 + bob}, hip_r{AXIS + 2.3, 32.0 + bob};
    Vec2 fl{AXIS - 2.5, 45.0}, fr{AXIS + 2.5, 45.0};
    Leg left = straight(hip_l, fl), right = straight(hip_r, fr);
    // The leg stepping toward the viewer lands lower, the one going away rises.
    const double toward = from_behind ? -1.0 : 1.0;
    switch (frame) {
        case 1: left = straight(hip_l, {fl.x - 0.2, 45.0 + 0.8 * toward}); right = straight(hip_r, {fr.x + 0.2, 45.0 - 1.6 * toward}); break;
        case 2: right = {{fr.x, 42.0}, {fr.x + 0.6, 38.5}}; break;
        case 3: right = straight(hip_r, {fr.x + 0.2, 45.0 + 0.8 * toward}); left = straight(hip_l, {fl.x - 0.2, 45.0 - 1.6 * toward}); break;
        case 4: left = {{fl.x, 42.0}, {fl.x - 0.6, 38.5}}; break;
        default: break;
    }
    // The foot further from the viewer goes behind.
    const bool left_behind = (left.foot.y < right.foot.y);
    if (left_behind) {
        draw_leg(p, hip_l, left, 0.9, 0);
        draw_leg(p, hip_r, right, 1.0, 0);
    } else {
        draw_leg(p, hip_r, right, 0.9, 0);
        draw_leg(p, hip_l, left, 1.0, 0);
    }
}

void torso(Picture& p, View view, double b) {
    if (view == View::Side) {
        p.part(0.3, 0.25);
        p.fill_polygon({{12.2, 20.6 + b}, {17.8, 20.6 + b}, {18.8, 23 + b}, {18.4, 32.6 + b}, {11.6, 32.6 + b}, {11.2, 23 + b}}, LILY_SHIRT);
        p.part(0.25, 0.25);
        p.fill_polygon({{14.0, 26.0 + b}, {18.7, 25.5 + b}, {18.6, 33.4 + b}, {11.4, 33.4 + b}, {11.5, 29.5 + b}}, LILY_DENIM);
        p.part(0, 0);
        p.fill_capsule({16.5, 26 + b}, {14.8, 21.5 + b}, 0.55, scaled(LILY_DENIM, 0.85));
        // The near shoulder, where the front arm joins.
        p.part(0.35, 0.0);
        p.fill_ellipse({14.0, 22.3 + b}, 2.1, 1.8, LILY_SHIRT);
        return;
    }
    p.part(0.3, 0.25);
    p.fill_polygon({{11.0, 20.6 + b}, {19.0, 20.6 + b}, {20.2, 23 + b}, {19.6, 32.6 + b}, {10.4, 32.6 + b}, {9.8, 23 + b}}, LILY_SHIRT);
    p.part(0.25, 0.25);
    if (view == View::Front) {
        p.fill_polygon({{11.4, 25.0 + b}, {18.6, 25.0 + b}, {19.4, 33.4 + b}, {10.6, 33.4 + b}}, LILY_DENIM);
        p.part(0, 0);
        p.fill_capsule({11.9, 25 + b}, {11.9, 21.2 + b}, 0.55, LILY_DENIM);
        p.fill_capsule({18.1, 25 + b}, {18.1, 21.2 + b}, 0.55, LILY_DENIM);
        p.fill_rect(13, static_cast<int>(27 + b), 4, 2, scaled(LILY_DENIM, 0.82));
        // An open collar: a V of skin edged in white, so the shirt reads under her chin.
        p.fill_polygon({{12.6, 20.4 + b}, {17.4, 20.4 + b}, {15.0, 23.8 + b}}, rgb(250, 244, 232));
        p.fill_polygon({{13.6, 20.4 + b}, {16.4, 20.4 + b}, {15.0, 22.6 + b}}, LILY_SKIN);
        p.put(12, static_cast<int>(25 + b), rgb(250, 220, 90));
        p.put(17, static_cast<int>(25 + b), rgb(250, 220, 90));
    } else {
        p.fill_polygon({{10.8, 28.0 + b}, {19.2, 28.0 + b}, {19.4, 33.4 + b}, {10.6, 33.4 + b}}, LILY_DENIM);
        p.part(0, 0);
        // Straps cross on her back.
        p.fill_capsule({12.0, 28 + b}, {18.0, 21.2 + b}, 0.6, scaled(LILY_DENIM, 0.9));
        p.fill_capsule({18.0, 28 + b}, {12.0, 21.2 + b}, 0.6, LILY_DENIM);
    }
}

void head(Picture& p, View view, double b) {
    const double hx = view == View::Side ? AXIS + 0.6 : AXIS;
    // Hair behind the head, and the two braids that make her Lily from any side.
    p.part(0.3, 0.3);
    if (view == View::Side) {
        p.fill_ellipse({hx - 1.2, 13.6 + b}, 4.8, 4.9, LILY_HAIR);
        p.fill_capsule({hx - 4.6, 15.5 + b}, {hx - 5.0, 21.5 + b}, 1.3, LILY_HAIR);
    } else {
        p.fill_ellipse({hx, 13.8 + b}, 5.4, 5.2, LILY_HAIR);
        p.fill_capsule({hx - 5.0, 15.5 + b}, {hx - 5.6, 21.6 + b}, 1.3, LILY_HAIR);
        p.fill_capsule({hx + 5.0, 15.5 + b}, {hx + 5.6, 21.6 + b}, 1.3, LILY_HAIR);
    }
    // The neck closes the gap between chin and collar.
    p.part(0.0, 0.3);
    p.fill_rect(static_cast<int>(hx) - 1 - (view == View::Side ? 1 : 0), static_cast<int>(18.0 + b), 3, 3,
                view == View::Back ? scaled(LILY_SKIN, 0.85) : LILY_SKIN);
    if (view != View::Back) {
        p.part(0.35, 0.2);
        p.fill_ellipse({hx + (view == View::Side ? 0.6 : 0.0), 14.8 + b}, 4.5, 4.4, LILY_SKIN);
        if (view == View::Side) p.fill_ellipse({hx + 4.3, 15.8 + b}, 1.1, 1.0, LILY_SKIN);  // nose
        // Fringe under the brim.
        p.part(0.0, 0.0);
        if (view == View::Side) p.fill_polygon({{hx - 3.5, 10.0 + b}, {hx + 3.8, 10.0 + b}, {hx + 2.0, 12.6 + b}, {hx - 3.0, 13.6 + b}}, LILY_HAIR);
        else p.fill_polygon({{hx - 4.6, 10.0 + b}, {hx + 4.6, 10.0 + b}, {hx + 4.2, 12.4 + b}, {hx + 1.0, 11.8 + b}, {hx - 4.4, 12.8 + b}}, LILY_HAIR);
    }
    // The straw hat: crown, band, and the wide brim in front of both.
    p.part(0.5, 0.3);
    p.fill_ellipse({hx, 7.6 + b}, 4.4, 3.4, LILY_STRAW);
    p.part(0.0, 0.0);
    p.fill_rect(static_cast<int>(hx - 4), static_cast<int>(8.2 + b), 8, 1, LILY_BAND);
    p.part(0.45, 0.35);
    const double brim_x = view == View::Side ? hx + 1.0 : hx;
    p.fill_ellipse({brim_x, 10.4 + b}, view == View::Side ? 8.0 : 8.4, 1.9, LILY_STRAW);
}

void face(Picture& p, View view, double b) {
    const int y = static_cast<int>(14.0 + b) + 1;
    if (view == View::Front) {
        p.put(12, y, LILY_EYE);
        p.put(12, y + 1, LILY_EYE);
        p.put(17, y, LILY_EYE);
        p.put(17, y + 1, LILY_EYE);
        p.put(11, y + 2, LILY_BLUSH);
        p.put(18, y + 2, LILY_BLUSH);
        p.put(14, y + 3, scaled(LILY_SKIN, 0.75));
        p.put(15, y + 3, scaled(LILY_SKIN, 0.75));
    } else if (view == View::Side) {
        p.put(18, y, LILY_EYE);
        p.put(18, y + 1, LILY_EYE);
        p.put(17, y + 2, LILY_BLUSH);
    }
}

Picture body(View view, int frame) {
    Picture p(TALL_W, TALL_H);
    const double b = frame % 2;  // down a pixel on the contact frames, where the arms go too
    if (view == View::Side) legs_side(p, frame, b);
    else legs_front(p, frame, b, view == View::Back);
    torso(p, view, b);
    head(p, view, b);
    p.bevel();
    face(p, view, b);
    p.outline(CLEAR, LILY_OUTLINE);
    // A soft shadow on the hex centre under her boots, so she is seen to stand on her own tile
    // and not on the one her head and hat reach into.
    Picture with_shadow(TALL_W, TALL_H);
    with_shadow.fill_ellipse({16.0, 46.0}, 7.0, 1.9, rgb(16, 24, 8, 130));
    with_shadow.blend_over(p, 0, 0);
    return with_shadow;
}

}  // namespace

Picture paint_lily_sheet() {
    constexpr SheetId ID = SheetId::lily;
    Picture sheet = empty_sheet(ID);
    for (int f = 0; f < sheet_spec(ID).columns; ++f) {
        const Picture east = body(View::Side, f);
        Picture west = east;
        west.mirror(AXIS);
        paste_cell(sheet, ID, f, static_cast<int>(FacingRow::East), east);
        paste_cell(sheet, ID, f, static_cast<int>(FacingRow::North), body(View::Back, f));
        paste_cell(sheet, ID, f, static_cast<int>(FacingRow::West), west);
        paste_cell(sheet, ID, f, static_cast<int>(FacingRow::South), body(View::Front, f));
    }
    return sheet;
}

}  // namespace qm::art
