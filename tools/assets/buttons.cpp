// buttons.png: the hexagonal touch buttons, one row per button (close or empty hands, run, the
// four tools, harvest, split) and two columns: up, and held down.
#include "sheets.hpp"

#include <array>

#include "palette.hpp"

namespace qm {

namespace {

// Where the game puts the button's centre: the sheet's anchor.
constexpr double CX = sheet_spec(SheetId::buttons).anchor_x, CY = sheet_spec(SheetId::buttons).anchor_y;

// A pointy-topped hexagon squashed like the field's, so the buttons fit their 32 × 44 grid.
std::array<Vec2, 6> button_hex(double dy, double inset) {
    const double w = 29.0 - inset, h = 26.5 - inset, s = 13.2 - inset * 0.5;
    const double y = CY + dy;
    return {Vec2{CX, y - h}, {CX + w, y - s}, {CX + w, y + s}, {CX, y + h}, {CX - w, y + s}, {CX - w, y - s}};
}

void icon(Picture& p, ButtonRow row, double dy) {
    const Affine at = Affine::translate(CX, CY + dy);
    switch (row) {
        case ButtonRow::Close: {  // close, or put the tool back: an open, empty hand
            Picture h(64, 64);
            h.set_transform(at);
            const Rgba skin = LILY_SKIN;
            // Thumb, then the four fingers fanned out, each its own part so the gaps show.
            const Vec2 fingers[5][2] = {{{-6.0, 5.0}, {-12.5, -1.0}}, {{-4.8, -1.0}, {-7.4, -12.0}},
                                        {{-1.5, -2.0}, {-2.0, -14.5}}, {{1.9, -2.0}, {3.0, -13.5}},
                                        {{5.0, -0.5}, {7.8, -9.5}}};
            for (const auto& f : fingers) {
                h.part(0.4, 0.3);
                h.fill_capsule(f[0], f[1], 2.2, skin);
            }
            h.part(0.35, 0.3);
            h.fill_ellipse({0.0, 4.5}, 7.6, 7.2, skin);
            h.bevel();
            h.outline(CLEAR, 0.4);
            p.blend_over(h, 0, 0);
            break;
        }
        case ButtonRow::Run: {  // run: two chevrons with speed lines
            Picture r(64, 64);
            r.set_transform(at);
            for (int k = 0; k < 2; ++k) {
                const double x0 = -8.0 + 9.0 * k;
                r.part(0.4, 0.3);
                r.fill_polygon({{x0 - 3, -11}, {x0 + 2, -11}, {x0 + 10, 0}, {x0 + 2, 11}, {x0 - 3, 11}, {x0 + 5, 0}}, rgb(72, 156, 84));
            }
            r.part(0, 0);
            for (int k = 0; k < 3; ++k) r.fill_capsule({-19.0, -6.0 + 6.0 * k}, {-13.0 + (k == 1 ? 2 : 0), -6.0 + 6.0 * k}, 1.0, rgb(72, 156, 84));
            r.bevel();
            r.outline(CLEAR, 0.35);
            p.blend_over(r, 0, 0);
            break;
        }
        case ButtonRow::Can:
        case ButtonRow::Shovel:
        case ButtonRow::Hoe:
        case ButtonRow::Smoker: {
            // The tools as she holds them, twice the size, centred on the face.
            const Vec2 centre[4] = {{-3.0, -5.5}, {-4.0, -2.5}, {-4.5, -1.0}, {0.0, -4.5}};
            const double size[4] = {1.85, 1.45, 1.25, 1.75};
            const int tool = static_cast<int>(row) - static_cast<int>(ButtonRow::Can);
            paint_tool(p, tool, at.after(Affine::scaling(size[tool], size[tool])).after(Affine::translate(centre[tool].x, centre[tool].y)), false);
            break;
        }
        case ButtonRow::Harvest: {  // harvest: a pot of honey with a drip
            Picture h(64, 64);
            h.set_transform(at);
            h.part(0.45, 0.3);
            h.fill_ellipse({0, 3}, 11.0, 10.0, rgb(236, 164, 40));
            h.part(0.3, 0.3);
            h.fill_polygon({{-8, -9}, {8, -9}, {9, -5}, {-9, -5}}, rgb(240, 230, 206));
            h.part(0.4, 0.3);
            h.fill_capsule({4.0, -5.0}, {4.0, 2.0}, 1.6, rgb(250, 200, 60));
            h.part(0.0, 0.0);
            h.fill_ellipse({-4.5, -1.0}, 2.0, 3.0, rgb(252, 214, 120));
            h.bevel();
            h.outline(CLEAR, 0.35);
            p.blend_over(h, 0, 0);
            break;
        }
        case ButtonRow::Split: {  // split: two small hives with a parting line between them
            paint_skep(p, at.after(Affine::translate(-9.5, 11.0)).after(Affine::scaling(0.72, 0.72)));
            paint_skep(p, at.after(Affine::translate(9.5, 11.0)).after(Affine::scaling(0.72, 0.72)));
            Picture a(64, 64);
            a.set_transform(at);
            a.part(0.3, 0.3);
            a.fill_polygon({{-3, -16}, {3, -16}, {0, -11}}, rgb(80, 80, 80));
            a.fill_polygon({{-1, -11}, {1, -11}, {1, 12}, {-1, 12}}, rgb(250, 250, 250));
            a.outline(CLEAR, 0.3);
            p.blend_over(a, 0, 0);
            break;
        }
    }
}

Picture button(ButtonRow row, bool held) {
    Picture p = empty_cell(SheetId::buttons);
    const Rgba face = held ? rgb(214, 196, 150) : rgb(242, 226, 182);
    const Rgba side = rgb(150, 110, 70);
    const double press = held ? 2.0 : 0.0;
    p.part(0, 0);
    // The button's edge below its face; pressed, the face sinks onto it.
    p.fill_polygon(button_hex(2.0, 0.0), side);
    p.fill_polygon(button_hex(press, 0.0), rgb(120, 84, 50));
    p.part(held ? 0.0 : 0.5, held ? 0.0 : 0.0);
    p.fill_polygon(button_hex(press, 1.6), face);
    p.bevel();
    if (held) {
        // A shadow along the top edge inside the rim, as if the face had gone down.
        p.part(0, 0);
        const auto inner = button_hex(press, 1.6);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (p.get(x, y) == face && p.get(x, y - 2) != face) p.put(x, y, scaled(face, 0.85));
        (void)inner;
    }
    p.outline(rgb(58, 40, 26));
    icon(p, row, press - 1.0);
    return p;
}

}  // namespace

Picture paint_buttons_sheet() {
    constexpr SheetId ID = SheetId::buttons;
    Picture sheet = empty_sheet(ID);
    for (int row = 0; row < sheet_spec(ID).rows; ++row) {
        paste_cell(sheet, ID, 0, row, button(static_cast<ButtonRow>(row), false));
        paste_cell(sheet, ID, 1, row, button(static_cast<ButtonRow>(row), true));
    }
    return sheet;
}

}  // namespace qm
