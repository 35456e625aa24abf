// intro.png: the title card shown over the drifting field before the first day: the name, what
// the game is about and how to begin, on a parchment panel with flowers and bees.
#include "sheets.hpp"

#include "lettering.hpp"

namespace qm::art {

namespace {

// Centres the picture horizontally on the card, its top at y.
void centred(Picture& card, const Picture& p, int y) { card.blend_over(p, (card.width() - p.width()) / 2, y); }

Picture title(std::string_view text) {
    const int scale = 6;
    Picture mask = lettering(text, scale, rgb(255, 255, 255));
    const int pad = 6;
    Picture t(mask.width() + 2 * pad, mask.height() + 2 * pad);
    const int top = pad, bottom = pad + 7 * scale;
    // Gold that deepens toward the baseline, with a bright edge on top of every stroke.
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            if (!mask.get(x, y).a) continue;
            const double f = static_cast<double>(pad + y - top) / (bottom - top);
            Rgba c = mix(rgb(255, 230, 120), rgb(226, 120, 36), f);
            if (!mask.get(x, y - 2).a) c = lighter(c, 0.55);
            else if (!mask.get(x, y + 2).a) c = scaled(c, 0.8);
            t.put(x + pad, y + pad, c);
        }
    t.outline(rgb(86, 44, 22));
    t.outline(rgb(86, 44, 22));
    Picture shadowed(t.width() + 3, t.height() + 4);
    Picture shadow = t;
    for (int y = 0; y < shadow.height(); ++y)
        for (int x = 0; x < shadow.width(); ++x)
            if (shadow.get(x, y).a) shadow.put(x, y, rgb(120, 84, 48, 140));
    shadowed.blend_over(shadow, 3, 4);
    shadowed.blend_over(t, 0, 0);
    return shadowed;
}

// A flower from the game's own sheets, coloured and doubled.
Picture flower(Rgba colour, int frame) {
    static const Picture plants = paint_plants_sheet();
    static const Picture flowers = paint_flowers_sheet();
    Picture f(TALL_W, TALL_H);
    for (int y = 0; y < TALL_H; ++y)
        for (int x = 0; x < TALL_W; ++x) {
            f.blend(x, y, plants.get(TALL_W * frame + x, TALL_H * 3 + y));
            Rgba c = flowers.get(TALL_W * frame + x, TALL_H + y);
            c.r = static_cast<std::uint8_t>(c.r * colour.r / 255);
            c.g = static_cast<std::uint8_t>(c.g * colour.g / 255);
            c.b = static_cast<std::uint8_t>(c.b * colour.b / 255);
            f.blend(x, y, c);
        }
    return f.enlarged(2);
}

void bee(Picture& card, double x, double y) {
    paint_layer(card, Affine{}, [&](Picture& b) {
        b.part(0.6, 0.1);
        b.fill_ellipse({x - 1.5, y - 5.0}, 3.0, 4.0, rgb(236, 246, 255, 255));
        b.part(0.6, 0.1);
        b.fill_ellipse({x + 2.5, y - 5.5}, 3.0, 4.0, rgb(226, 240, 255, 255));
        b.part(0.45, 0.3);
        b.fill_ellipse({x, y}, 6.0, 4.0, rgb(250, 204, 48));
        b.part(0, 0);
        b.fill_rect(static_cast<int>(x) - 2, static_cast<int>(y) - 3, 2, 7, rgb(48, 34, 24));
        b.fill_rect(static_cast<int>(x) + 2, static_cast<int>(y) - 3, 2, 7, rgb(48, 34, 24));
        b.put(static_cast<int>(x) + 5, static_cast<int>(y) - 1, rgb(48, 34, 24));
    }, rgb(60, 40, 24));
}

}  // namespace

Picture paint_intro_sheet() {
    Picture card(INTRO_W, INTRO_H);
    const Rgba paper = rgb(246, 236, 204), frame = rgb(112, 72, 42);
    // The panel: a wooden frame round parchment, corners cut.
    card.part(0, 0);
    card.fill_rect(4, 0, INTRO_W - 8, INTRO_H, frame);
    card.fill_rect(0, 4, INTRO_W, INTRO_H - 8, frame);
    card.fill_rect(2, 2, INTRO_W - 4, INTRO_H - 4, frame);
    card.fill_rect(5, 5, INTRO_W - 10, INTRO_H - 10, rgb(168, 118, 70));
    card.fill_rect(8, 8, INTRO_W - 16, INTRO_H - 16, paper);
    ArtRng rng(0x1A7E0);
    for (int k = 0; k < 900; ++k) {
        const int x = 9 + rng.below(INTRO_W - 18), y = 9 + rng.below(INTRO_H - 18);
        card.put(x, y, rng.chance(50) ? rgb(236, 222, 184) : rgb(252, 246, 224));
    }
    card.fill_rect(12, 12, INTRO_W - 24, 1, rgb(214, 194, 150));
    card.fill_rect(12, INTRO_H - 13, INTRO_W - 24, 1, rgb(214, 194, 150));

    // Flowers in the lower corners, in the colours breeding brings about.
    const Rgba colours[6] = {rgb(255, 0, 0), rgb(255, 255, 0), rgb(0, 128, 255), rgb(255, 0, 255), rgb(128, 255, 0), rgb(255, 128, 0)};
    paint_skep(card, Affine::translate(34.0, INTRO_H - 20.0).after(Affine::scaling(1.4, 1.4)));
    paint_skep(card, Affine::translate(INTRO_W - 34.0, INTRO_H - 20.0).after(Affine::scaling(1.4, 1.4)));
    for (int k = 0; k < 2; ++k) {
        card.blend_over(flower(colours[k], k % 3), 36 + 28 * k, INTRO_H - 120 + (k % 2) * 8);
        card.blend_over(flower(colours[k + 3], (k + 1) % 3), INTRO_W - 100 - 28 * k, INTRO_H - 120 + ((k + 1) % 2) * 8);
    }

    centred(card, title("Quillmarsh"), 26);
    centred(card, lettering("Breed flowers with your bees", 2, rgb(96, 62, 36)), 112);
    centred(card, lettering("Click or touch to start", 2, rgb(44, 116, 58)), 180);
    bee(card, 70, 46);
    bee(card, 412, 36);
    bee(card, 396, 104);
    return card;
}

}  // namespace qm::art
