// The application icon: a beehive and a flower on a hex of lawn. It is painted afresh at every
// size rather than scaled down, so the 16-pixel icon keeps whole outlines: the small sizes drop
// the shading and the straw coils and keep three shapes a player can tell apart at a glance.
#include "icon.hpp"

#include <cmath>

namespace qm {

namespace {

// The motifs are laid out on a 64-unit square.
constexpr double DESIGN = 64.0;

const Rgba LAWN = rgb(108, 184, 72);
const Rgba LAWN_EDGE = rgb(40, 96, 40);
const Rgba EARTH = rgb(134, 92, 54);
const Rgba STRAW = rgb(226, 172, 70);
const Rgba STRAW_EDGE = rgb(110, 64, 24);
const Rgba DOORWAY = rgb(52, 30, 16);
const Rgba PETAL = rgb(232, 60, 150);
const Rgba PETAL_EDGE = rgb(104, 20, 66);
const Rgba HEART = rgb(255, 216, 64);
const Rgba STEM = rgb(52, 132, 52);

// Paints one motif on a layer of its own and lays it on the icon, so its outline wraps it alone.
template <class Draw>
void layer(Picture& icon, const Affine& place, bool shaded, Rgba edge, Draw&& draw) {
    Picture p(icon.width(), icon.height());
    p.set_transform(place);
    draw(p);
    if (shaded) p.bevel();
    p.outline(edge);
    icon.blend_over(p, 0, 0);
}

// A pointy-topped hex of lawn, with the earth showing below its front edges.
void lawn(Picture& icon, const Affine& place, bool shaded) {
    layer(icon, place, shaded, LAWN_EDGE, [](Picture& p) {
        p.part(0.0, 0.0);
        p.fill_polygon({{4, 20}, {32, 6}, {60, 20}, {60, 46}, {32, 60}, {4, 46}}, EARTH);
        p.part(0.35, 0.15);
        p.fill_polygon({{4, 17}, {32, 3}, {60, 17}, {60, 41}, {32, 55}, {4, 41}}, LAWN);
    });
}

void skep(Picture& icon, const Affine& place, bool detailed) {
    layer(icon, place, detailed, STRAW_EDGE, [detailed](Picture& p) {
        p.part(0.4, 0.3);
        p.fill_ellipse({42, 38}, 16.5, 24.0, STRAW);
        // The dome stands on a flat board: its lower half is cut away below the base line.
        p.fill_polygon({{24, 38}, {60, 38}, {60, 64}, {24, 64}}, CLEAR);
        p.part(0.3, 0.3);
        p.fill_polygon({{25, 37}, {59, 37}, {58, 41}, {26, 41}}, scaled(STRAW, 0.7));
        p.part(0.0, 0.0);
        if (detailed) {
            // Coils of straw, narrowing toward the top.
            for (const double y : {31.0, 24.0, 18.0}) {
                const double half = 16.5 * std::sqrt(1.0 - ((y - 38.0) / 24.0) * ((y - 38.0) / 24.0)) - 1.5;
                p.fill_capsule({42 - half, y}, {42 + half, y}, 0.8, scaled(STRAW, 0.78));
            }
        }
        p.fill_ellipse({42, 36.5}, 4.5, 4.0, DOORWAY);
        p.fill_polygon({{37.5, 36.5}, {46.5, 36.5}, {46.5, 37}, {37.5, 37}}, DOORWAY);
    });
}

void flower(Picture& icon, const Affine& place, bool detailed) {
    layer(icon, place, false, STEM, [](Picture& p) {
        p.part(0.0, 0.0);
        p.fill_capsule({20, 47}, {20, 33}, 2.0, STEM);
        p.fill_ellipse({14, 43}, 5.0, 2.6, STEM);
    });
    layer(icon, place, detailed, PETAL_EDGE, [](Picture& p) {
        constexpr double PI = 3.14159265358979;
        for (int k = 0; k < 5; ++k) {
            const double a = (k * 72.0 - 90.0) * PI / 180.0;
            p.part(0.5, 0.25);
            p.fill_ellipse({20 + 7.5 * std::cos(a), 26 + 7.5 * std::sin(a)}, 6.5, 6.5, PETAL);
        }
        p.part(0.4, 0.3);
        p.fill_ellipse({20, 26}, 4.5, 4.5, HEART);
    });
}

}  // namespace

Picture paint_icon(int size) {
    Picture icon(size, size);
    const Affine place = Affine::scaling(size / DESIGN, size / DESIGN);
    // Below 48 pixels a bevel would eat whole shapes, and the coils would be noise.
    const bool detailed = size >= 48;
    lawn(icon, place, detailed);
    skep(icon, place, detailed);
    flower(icon, place, detailed);
    return icon;
}

}  // namespace qm
