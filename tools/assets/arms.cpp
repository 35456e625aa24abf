// arms.png: the gardener's arms, drawn apart from her body so the tool arm can sit in front of
// or behind her. One row per facing (east, north, west, south); columns: hanging (and holding
// the tool), swung back, swung forward. The top edge's middle is the shoulder.
#include "sheets.hpp"

#include "palette.hpp"

namespace qm::art {

namespace {

constexpr double SHOULDER_X = sheet_spec(SheetId::arms).anchor_x;

// hand: where the hand ends up; sleeve: how far down the shirt comes.
Picture arm(Vec2 hand, double sleeve_t, double hand_r) {
    Picture p = empty_cell(SheetId::arms);
    const Vec2 shoulder{SHOULDER_X, 1.9};
    const Vec2 elbow{shoulder.x + (hand.x - shoulder.x) * sleeve_t, shoulder.y + (hand.y - shoulder.y) * sleeve_t};
    p.part(0.2, 0.25);
    p.fill_capsule(elbow, {hand.x + (elbow.x - hand.x) * 0.3, hand.y + (elbow.y - hand.y) * 0.3}, 1.25, LILY_SKIN);
    p.part(0.35, 0.3);
    p.fill_capsule(shoulder, elbow, 1.75, LILY_SHIRT);
    p.part(0.4, 0.25);
    p.fill_ellipse(hand, hand_r, hand_r * 0.95, LILY_SKIN);
    p.bevel();
    p.outline(CLEAR, LILY_OUTLINE);
    return p;
}

}  // namespace

Picture paint_arms_sheet() {
    constexpr SheetId ID = SheetId::arms;
    Picture sheet = empty_sheet(ID);
    // Side view: the arm swings along her path. Seen from the front or the back it swings
    // toward or away from the viewer, which shows as a shorter arm.
    const Picture east[3] = {arm({8.6, 9.8}, 0.55, 1.7), arm({4.6, 8.8}, 0.6, 1.6), arm({12.4, 8.6}, 0.6, 1.7)};
    const Picture north[3] = {arm({8.4, 9.8}, 0.55, 1.7), arm({8.0, 10.4}, 0.6, 1.8), arm({8.6, 7.6}, 0.7, 1.4)};
    const Picture south[3] = {arm({8.6, 9.8}, 0.55, 1.7), arm({8.4, 7.6}, 0.7, 1.4), arm({8.2, 10.6}, 0.55, 1.9)};
    for (int c = 0; c < sheet_spec(ID).columns; ++c) {
        Picture west = east[c];
        west.mirror(SHOULDER_X);
        paste_cell(sheet, ID, c, static_cast<int>(FacingRow::East), east[c]);
        paste_cell(sheet, ID, c, static_cast<int>(FacingRow::North), north[c]);
        paste_cell(sheet, ID, c, static_cast<int>(FacingRow::West), west);
        paste_cell(sheet, ID, c, static_cast<int>(FacingRow::South), south[c]);
    }
    return sheet;
}

}  // namespace qm::art
