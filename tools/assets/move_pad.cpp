// move_pad.png: the see-through hexagonal pad of the touch controls. Its sensitive area is the
// hexagon 64 pixels to each side of the centre and 44 up and down; the rim sits just outside.
#include "sheets.hpp"

#include <array>
#include <cmath>

namespace qm {

namespace {

// The pad's centre is its anchor: the point the game centres on (98, H - 76).
constexpr double CX = sheet_spec(SheetId::move_pad).anchor_x, CY = sheet_spec(SheetId::move_pad).anchor_y;

// The hexagon with points left and right, half width w and half height h around the centre.
std::array<Vec2, 6> pad_hex(double w, double h) {
    return {Vec2{CX - w, CY}, {CX - w / 2, CY - h}, {CX + w / 2, CY - h}, {CX + w, CY}, {CX + w / 2, CY + h}, {CX - w / 2, CY + h}};
}

}  // namespace

Picture paint_move_pad_sheet() {
    Picture p = empty_sheet(SheetId::move_pad);
    const auto outer = pad_hex(76, 52), rim = pad_hex(72, 49), inner = pad_hex(66, 45);
    p.part(0, 0);
    p.fill_polygon(outer, rgb(20, 24, 30, 150));
    p.fill_polygon(rim, rgb(236, 240, 244, 190));
    p.fill_polygon(inner, rgb(30, 40, 52, 96));
    // Arrows toward the six neighbours, where the finger pushes the gardener: each points along
    // its neighbour's direction on screen (32 pixels across, or 16 across and 22 down). A head
    // on a shaft, because a bare triangle this small reads as pointing sideways on the slants;
    // a dark edge lets it read over any ground.
    const Vec2 towards[6] = {{-32, 0}, {-16, -22}, {16, -22}, {32, 0}, {16, 22}, {-16, 22}};
    Picture arrows(p.width(), p.height());
    for (const Vec2 t : towards) {
        const double len = std::hypot(t.x, t.y);
        const Vec2 dir{t.x / len, t.y / len}, side{-dir.y * 5.0, dir.x * 5.0};
        // The tips stop short of the inner rim: further out across than on the slants.
        const double reach = t.y == 0 ? 58.0 : 47.0;
        const Vec2 tip{CX + dir.x * reach, CY + dir.y * reach};
        const Vec2 back{tip.x - dir.x * 8.0, tip.y - dir.y * 8.0};
        const Rgba light = rgb(244, 246, 250, 220);
        arrows.fill_polygon({tip, {back.x + side.x, back.y + side.y}, {back.x - side.x, back.y - side.y}}, light);
        arrows.fill_capsule({back.x + dir.x, back.y + dir.y}, {back.x - dir.x * 7.0, back.y - dir.y * 7.0}, 1.6, light);
    }
    arrows.outline(rgb(24, 30, 40, 200));
    p.blend_over(arrows, 0, 0);
    p.fill_ring({CX, CY}, 20.0, 15.0, 2.0, rgb(240, 244, 248, 110));
    p.fill_ellipse({CX, CY}, 4.0, 3.0, rgb(240, 244, 248, 120));
    return p;
}

}  // namespace qm
