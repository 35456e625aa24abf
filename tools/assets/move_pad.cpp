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
    // Arrows toward the six neighbours, where the finger pushes the gardener.
    for (int k = 0; k < 6; ++k) {
        const double a = k * 60.0 * 3.14159265358979 / 180.0;
        const Vec2 dir{std::cos(a), std::sin(a) * 44.0 / 55.4};
        const Vec2 tip{CX + dir.x * 58.0, CY + dir.y * 58.0};
        const Vec2 side{-dir.y * 7.0, dir.x * 7.0};
        const Vec2 back{CX + dir.x * 47.0, CY + dir.y * 47.0};
        p.fill_polygon({tip, {back.x + side.x, back.y + side.y}, {back.x - side.x, back.y - side.y}}, rgb(240, 244, 248, 150));
    }
    p.fill_ring({CX, CY}, 20.0, 15.0, 2.0, rgb(240, 244, 248, 110));
    p.fill_ellipse({CX, CY}, 4.0, 3.0, rgb(240, 244, 248, 120));
    return p;
}

}  // namespace qm
