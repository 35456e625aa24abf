// intro.png: the title card shown over the drifting field before the first day: the name, how
// to begin and the three rules of the garden, each beside a picture from the game's own sheets,
// on a parchment panel with flowers, skeps and bees.
#include "sheets.hpp"

#include "lettering.hpp"

namespace qm::art {

namespace {

// Centres the picture horizontally on the card, its top at y.
void centred(Picture& card, const Picture& p, int y) { card.blend_over(p, (card.width() - p.width()) / 2, y); }

Picture title(std::string_view text, int scale) {
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

    // Skeps in the lower corners, and a flower beside each in the colours breeding brings about.
    paint_skep(card, Affine::translate(30.0, INTRO_H - 18.0).after(Affine::scaling(1.2, 1.2)));
    paint_skep(card, Affine::translate(INTRO_W - 30.0, INTRO_H - 18.0).after(Affine::scaling(1.2, 1.2)));
    card.blend_over(flower(rgb(255, 0, 255), 1), 40, INTRO_H - 124);
    card.blend_over(flower(rgb(128, 255, 0), 2), INTRO_W - 104, INTRO_H - 124);

    centred(card, title("Quillmarsh", 5), 8);

    // The rules, a picture beside each: the can, a bee, the hoe held out over the next tile.
    const Rgba ink = rgb(96, 62, 36);
    const int left = 116, text_x = left + 30;
    struct Rule {
        std::string_view first, second;
    };
    const Rule rules[3] = {{"Water the buds", ""},
                           {"Bees breed open flowers", "overnight"},
                           {"Hold and sweep to use", "a tool tile after tile"}};
    const int rule_y[3] = {68, 94, 136};
    for (int k = 0; k < 3; ++k) {
        card.blend_over(lettering(rules[k].first, 2, ink), text_x, rule_y[k]);
        if (!rules[k].second.empty()) card.blend_over(lettering(rules[k].second, 2, ink), text_x, rule_y[k] + 16);
    }
    paint_tool(card, 0, Affine::translate(left + 4.0, rule_y[0] + 8.0).after(Affine::scaling(1.2, 1.2)), false);
    paint_tool(card, 2, Affine::translate(left + 8.0, rule_y[2] + 14.0).after(Affine::scaling(1.1, 1.1)), false);
    centred(card, lettering("Click or touch to start", 2, rgb(44, 116, 58)), 176);
    // A keyboard player learns here that the mouse is not needed, and where the controls are.
    centred(card, lettering("Enter to start \u00B7 H for help", 1, rgb(44, 116, 58)), 199);
    centred(card, lettering("then walk into the shed for a tool", 1, ink), 211);
    bee(card, left + 12.0, rule_y[1] + 12.0);
    bee(card, 60, 40);
    bee(card, 420, 30);
    return card;
}

}  // namespace qm::art
