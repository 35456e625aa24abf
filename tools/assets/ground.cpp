// ground.png: the hexagonal floor tiles (lawn, dry and watered soil, water), the light mark that
// colour modulation turns into overlays and markers, and the backdrop behind carried things.
#include "sheets.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qm {

namespace {

// The hexagon's corners relative to the centre row: the top point reaches the cell's top edge,
// the bottom point one row further than a mirror image would, so that each row overlaps the
// next by a pixel and the lattice is closed.
constexpr double TOP_POINT = 14.0, TOP_SHOULDER = 8.0, BOTTOM_SHOULDER = 9.0, BOTTOM_POINT = 15.0;

bool edge_pixel(int x, int y) {
    return !in_ground_hex(x - 1, y) || !in_ground_hex(x + 1, y) || !in_ground_hex(x, y - 1) ||
           !in_ground_hex(x, y + 1);
}

// Pixels on the upper rim (what the row above does not cover) and on the lower rim.
bool upper_rim(int x, int y) { return in_ground_hex(x, y) && !in_ground_hex(x, y - 1); }

// A cell of lawn: green with a speckle of light and dark blades.
Picture grass_cell() {
    Picture p(GROUND_CELL, GROUND_CELL);
    const Rgba base = rgb(102, 166, 70), dark = rgb(78, 136, 56), deep = rgb(64, 118, 48), light = rgb(140, 196, 90);
    ArtRng rng(0x6A55);
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            if (!in_ground_hex(x, y)) continue;
            const int roll = rng.below(100);
            p.put(x, y, roll < 10 ? dark : roll < 16 ? light : base);
        }
    // Little tufts: a dark blade with a light tip, so the lawn has a grain without stripes.
    for (int k = 0; k < 6; ++k) {
        const int x = 2 + rng.below(28), y = 3 + rng.below(24);
        if (!in_ground_hex(x, y) || !in_ground_hex(x, y - 1)) continue;
        p.put(x, y, deep);
        p.put(x, y - 1, dark);
        p.put(x + 1, y, light);
    }
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x)
            if (upper_rim(x, y)) p.put(x, y, mix(p.get(x, y), dark, 0.45));
    return p;
}

// Tilled soil: furrows across the bed, a few pebbles and a dark rim where the bed meets the lawn.
Picture soil_cell(bool wet) {
    Picture p(GROUND_CELL, GROUND_CELL);
    const Rgba base = wet ? rgb(112, 72, 46) : rgb(170, 120, 74);
    const Rgba furrow = wet ? rgb(82, 50, 32) : rgb(128, 86, 52);
    const Rgba crest = wet ? rgb(136, 92, 62) : rgb(198, 150, 100);
    const Rgba rim = wet ? rgb(62, 38, 24) : rgb(104, 68, 40);
    const Rgba pebble = wet ? rgb(150, 138, 128) : rgb(206, 194, 170);
    ArtRng rng(wet ? 0x3E7u : 0xD21u);
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            if (!in_ground_hex(x, y)) continue;
            // Furrows slope a little, as if the hoe went along the row.
            const int phase = (y + x / 11) % 5;
            Rgba c = phase == 0 ? furrow : phase == 4 ? crest : base;
            if (rng.chance(9)) c = mix(c, furrow, 0.5);
            p.put(x, y, c);
        }
    for (int k = 0; k < 5; ++k) {
        const int x = 4 + rng.below(24), y = 5 + rng.below(20);
        if (!in_ground_hex(x, y) || edge_pixel(x, y)) continue;
        p.put(x, y, pebble);
        p.put(x + 1, y, scaled(pebble, 0.8));
    }
    if (wet) {
        // Damp glints and a small puddle tell watered beds from dry ones at a glance.
        const Rgba glint = rgb(150, 170, 200), puddle = rgb(78, 88, 120);
        p.part(0, 0);
        p.fill_ellipse({19.5, 19.0}, 5.2, 2.2, puddle);
        p.fill_ellipse({18.5, 18.4}, 2.6, 0.9, glint);
        p.fill_ellipse({9.5, 10.0}, 2.8, 1.3, puddle);
        p.put(9, 9, glint);
        for (int k = 0; k < 7; ++k) {
            const int x = 3 + rng.below(26), y = 4 + rng.below(22);
            if (in_ground_hex(x, y) && !edge_pixel(x, y)) p.put(x, y, glint);
        }
    }
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            if (!in_ground_hex(x, y)) continue;
            if (edge_pixel(x, y)) p.put(x, y, rim);
            else if (upper_rim(x, y - 1)) p.put(x, y, scaled(rim, 1.25));
        }
    return p;
}

// Open water: no rim, so a pond reads as one surface; short light crests and sparkles.
Picture water_cell() {
    Picture p(GROUND_CELL, GROUND_CELL);
    const Rgba base = rgb(62, 118, 196), deep = rgb(48, 96, 172), crest = rgb(132, 186, 236), foam = rgb(222, 240, 252);
    ArtRng rng(0x7A7E);
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            if (!in_ground_hex(x, y)) continue;
            const double wave = std::sin((x + 2.2 * y) * 0.45) + std::sin((x - 1.3 * y) * 0.31);
            p.put(x, y, wave < -1.1 ? deep : base);
        }
    for (int k = 0; k < 9; ++k) {
        const int x = 2 + rng.below(26), y = 2 + rng.below(26);
        const int len = 2 + rng.below(3);
        for (int d = 0; d < len; ++d)
            if (in_ground_hex(x + d, y)) p.put(x + d, y, crest);
        if (in_ground_hex(x + 1, y - 1) && len > 2) p.put(x + 1, y - 1, foam);
    }
    return p;
}

// The mark: six corner brackets and a small dot in the middle, white between dark edges, and
// nothing else. The game tints it: yellow for a hive's range, the tool's colour for the
// selected tile, untinted as the pad's knob. Tinting only multiplies, so a dark tint (the
// shovel's black, the hoe's olive) keeps nothing light: the dark edges carry those on dark
// soil and water, the white band carries the light tints on lawn and dry soil. The field shows
// through between the brackets, so a range of marks reads as a light lattice, not a flood.
Picture mark_cell() {
    constexpr double ARM = 4.0;  // how far a bracket reaches from its corner along each side
    const Vec2 corners[6] = {{15.5, 0.5}, {31.0, 5.5}, {31.0, 24.0}, {15.5, 29.0}, {0.5, 24.0}, {0.5, 5.5}};
    const Rgba edge = rgb(20, 20, 20, 235), band = rgb(255, 255, 255);
    Picture p(GROUND_CELL, GROUND_CELL);
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            if (!in_ground_hex(x, y)) continue;
            // Distance to the rim in pixels, up to 5.
            int depth = 0;
            for (int r = 1; r <= 5; ++r) {
                bool all = true;
                for (int dy = -r; dy <= r && all; ++dy)
                    for (int dx = -r; dx <= r && all; ++dx)
                        if (std::abs(dx) + std::abs(dy) <= r && !in_ground_hex(x + dx, y + dy)) all = false;
                if (!all) break;
                depth = r;
            }
            double near = 99.0;
            for (const Vec2 c : corners) near = std::min(near, std::hypot(x + 0.5 - c.x, y + 0.5 - c.y));
            // Inset by one pixel so neighbouring marks keep a gap between their brackets.
            if (depth == 0 || depth > 4 || near > ARM + depth) continue;
            p.put(x, y, depth == 1 || depth == 4 ? edge : band);
        }
    // The dot: a white diamond edged in dark, where a finger's knob or the eye lands.
    for (int y = 0; y < GROUND_CELL; ++y)
        for (int x = 0; x < GROUND_CELL; ++x) {
            const int d = std::abs(x - GROUND_ANCHOR_X) + std::abs(y - GROUND_ANCHOR_Y);
            if (d <= 1) p.put(x, y, band);
            else if (d == 2) p.put(x, y, edge);
        }
    return p;
}

// The backdrop behind what the gardener carries: a light bubble with a soft rim, tinted by the
// game with the carried flower's colour or hive yellow. Carried things rise from the cell's
// centre, so the bubble sits high in the cell, behind their lower half.
Picture backdrop_cell() {
    Picture p(GROUND_CELL, GROUND_CELL);
    p.part(0, 0);
    p.fill_ellipse({16.0, 10.0}, 13.0, 9.5, rgb(226, 226, 226, 255));
    p.fill_ellipse({16.0, 10.0}, 11.6, 8.2, rgb(252, 252, 252, 170));
    p.fill_ellipse({11.0, 5.5}, 3.5, 2.0, rgb(255, 255, 255, 220));
    p.outline(rgb(150, 150, 150, 255));
    return p;
}

}  // namespace

bool in_ground_hex(int x, int y) {
    if (x < 0 || x >= GROUND_CELL || y < 0 || y >= GROUND_CELL) return false;
    const double u = std::abs(x + 0.5 - GROUND_ANCHOR_X);  // 0.5 .. 15.5
    const double v = y - GROUND_ANCHOR_Y;
    const double top = -TOP_POINT + (TOP_POINT - TOP_SHOULDER) * u / 16.0;
    const double bottom = BOTTOM_POINT - (BOTTOM_POINT - BOTTOM_SHOULDER) * u / 16.0;
    return v >= std::floor(top) && v <= std::ceil(bottom);
}

Picture paint_ground_sheet() {
    Picture sheet = empty_sheet(SheetId::ground);
    sheet.paste(grass_cell(), GROUND_CELL * GROUND_GRASS, 0);
    sheet.paste(soil_cell(false), GROUND_CELL * GROUND_DRY, 0);
    sheet.paste(soil_cell(true), GROUND_CELL * GROUND_WET, 0);
    sheet.paste(water_cell(), GROUND_CELL * GROUND_WATER, 0);
    sheet.paste(mark_cell(), GROUND_CELL * GROUND_MARK, 0);
    sheet.paste(backdrop_cell(), GROUND_CELL * GROUND_BACKDROP, 0);
    return sheet;
}

}  // namespace qm
