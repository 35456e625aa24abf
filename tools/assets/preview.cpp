// A scene of the sheets laid out the way the game draws them (same anchors, same order, same
// colour modulation), to judge the art by eye: the field with the gardener, and the title card.
#include "sheets.hpp"

#include <cstdlib>

namespace qm {

namespace {

constexpr int W = 720, H = 360;

struct Sheets {
    Picture ground = paint_ground_sheet();
    Picture plants = paint_plants_sheet();
    Picture flowers = paint_flowers_sheet();
    Picture lily = paint_lily_sheet();
    Picture arms = paint_arms_sheet();
    Picture tools = paint_tools_sheet();
    Picture shed = paint_shed_sheet();
    Picture move_pad = paint_move_pad_sheet();
    Picture buttons = paint_buttons_sheet();
    Picture top_buttons = paint_top_buttons_sheet();
    Picture intro = paint_intro_sheet();
};

// Copies a cell of a sheet with alpha-over, modulated by `mod` the way SDL's colour
// modulation does it.
void copy(Picture& dst, const Picture& sheet, int sx, int sy, int w, int h, int dx, int dy,
          Rgba mod = rgb(255, 255, 255)) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba c = sheet.get(sx + x, sy + y);
            if (c.a == 0) continue;
            c.r = static_cast<std::uint8_t>(c.r * mod.r / 255);
            c.g = static_cast<std::uint8_t>(c.g * mod.g / 255);
            c.b = static_cast<std::uint8_t>(c.b * mod.b / 255);
            dst.blend(dx + x, dy + y, c);
        }
}

enum class Kind { Lawn, Grass, Dry, Wet, Water, Hive };
struct Cell {
    Kind kind = Kind::Lawn;
    int plant = -1;  // plant row for soil: 1 seed, 2 sprout, 3 bud, 4 open flower
    Rgba colour{};
};

int hex_distance(int di, int dj) {
    di = std::abs(di);
    dj = std::abs(dj);
    return dj + std::max(0, (di - dj) / 2);
}

Cell layout(int i, int j) {
    Cell c;
    if (i <= -16 || (i <= -12 && j >= 3)) c.kind = Kind::Grass;
    if (hex_distance(i - 19, j - 5) <= 2) c.kind = Kind::Water;
    if (i == 10 && j == -2) c.kind = Kind::Hive;
    if (j == 3 && i >= -9 && i <= 7) {
        c.kind = (i / 2) % 2 ? Kind::Dry : Kind::Wet;
        c.plant = 1 + (i + 9) / 2 % 2;
    }
    if ((j == 5 || j == 6) && i >= -10 && i <= 12) {
        c.kind = Kind::Wet;
        c.plant = (i + j) % 4 == 0 ? 3 : 4;
        const int g = (i + 12) / 2 + j * 5;
        const int level[3] = {255, 128, 0};
        c.colour = rgb(level[g % 3], level[(g / 3) % 3], level[(g / 9) % 3]);
    }
    return c;
}

struct Gardener {
    int i, j;       // cell
    int facing;     // 0 east, 1 north, 2 west, 3 south
    int frame;      // 0 standing, 1 .. 4 walking
    int tool;       // -1 for empty hands
    bool in_use;
};

const int FREE_ARM[4][2] = {{-2, -27}, {-7, -25}, {0, -23}, {5, -25}};
const int TOOL_ARM[4][2] = {{-2, -23}, {5, -25}, {0, -27}, {-7, -25}};

void draw_arm(Picture& dst, const Sheets& s, const Gardener& g, int sx, int sy, bool free_arm) {
    const int* off = free_arm ? FREE_ARM[g.facing] : TOOL_ARM[g.facing];
    const int dx = off[0], dy = off[1] + (g.frame % 2);
    int pose = 0;
    if (free_arm) pose = g.frame % 2 ? 2 - (g.frame >> 1) : 0;
    else if (g.tool < 0) pose = g.frame % 2 ? (g.frame >> 1) + 1 : 0;
    copy(dst, s.arms, 16 * pose, 16 * g.facing, 16, 16, sx + dx - 8, sy + dy);
    if (!free_arm && g.tool >= 0)
        copy(dst, s.tools, 64 * g.facing + (g.in_use ? 32 : 0), 32 * g.tool, 32, 32, sx + dx + 1 - 16, sy + dy + 10 - 16);
}

void draw_gardener(Picture& dst, const Sheets& s, const Gardener& g, int sx, int sy) {
    draw_arm(dst, s, g, sx, sy, g.facing == 0 || g.facing == 3);
    copy(dst, s.lily, 32 * g.frame, 64 * g.facing, 32, 64, sx - 16, sy - 46);
    draw_arm(dst, s, g, sx, sy, g.facing == 1 || g.facing == 2);
}

void draw_field(Picture& dst, const Sheets& s, int cam_i, int cam_j, bool people) {
    const int j0 = -10 + cam_j, j1 = 11 + cam_j;
    auto screen = [&](int i, int j) { return std::pair{W / 2 + 16 * (i - cam_i), H / 2 + 22 * (j - cam_j)}; };
    for (int j = j0; j <= j1; ++j)
        for (int i = -26 + cam_i; i <= 26 + cam_i; ++i) {
            if ((i & 1) != (j & 1)) continue;
            const Cell c = layout(i, j);
            const int g = c.kind == Kind::Dry ? 1 : c.kind == Kind::Wet ? 2 : c.kind == Kind::Water ? 3 : 0;
            auto [x, y] = screen(i, j);
            copy(dst, s.ground, 32 * g, 0, 32, 32, x - 16, y - 14);
        }
    if (people) {
        // The hive's range (shortened) and the selected tile under the gardener's can.
        for (int j = -4; j <= 0; ++j)
            for (int i = 4; i <= 16; ++i)
                if ((i & 1) == (j & 1) && hex_distance(i - 10, j + 2) >= 1 && hex_distance(i - 10, j + 2) <= 2) {
                    auto [x, y] = screen(i, j);
                    copy(dst, s.ground, 128, 0, 32, 32, x - 16, y - 14, rgb(255, 255, 0));
                }
        auto [mx, my] = screen(-2, 2);
        copy(dst, s.ground, 128, 0, 32, 32, mx - 16, my - 14, rgb(0, 0, 255));
    }
    const Gardener gardeners[] = {
        {-2, 0, 3, 0, 0, false}, {2, 0, 0, 1, 1, false}, {6, 0, 1, 2, 2, false}, {-6, 0, 2, 3, 3, true},
        {-10, -2, 3, 1, -1, false}, {14, 2, 0, 0, 0, true}, {-2, -6, 2, 2, -1, false}, {-14, -4, 3, 4, 1, true},
    };
    for (int j = j0; j <= j1; ++j) {
        if (j == -4) {
            auto [x, y] = screen(-6, -4);
            copy(dst, s.shed, 0, 0, 36, 74, x - 18, y - 74);
        }
        if (people)
            for (const Gardener& g : gardeners)
                if (g.j == j) {
                    auto [x, y] = screen(g.i, g.j);
                    draw_gardener(dst, s, g, x, y);
                    // What she carries floats two rows above her: a hive, or flowers.
                    if (g.i == 14) {
                        copy(dst, s.ground, 160, 0, 32, 32, x - 16, y - 44 - 14, rgb(255, 255, 0));
                        copy(dst, s.plants, 0, 64 * 4, 32, 64, x - 16, y - 44 - 46);
                    } else if (g.i == -10) {
                        const Rgba colours[2] = {rgb(255, 0, 128), rgb(0, 128, 255)};
                        for (int k = 0; k < 2; ++k) {
                            const int fx = x - 20 + 40 * k;
                            copy(dst, s.ground, 160, 0, 32, 32, fx - 16, y - 44 - 14, colours[k]);
                            copy(dst, s.plants, 0, 64 * 3, 32, 64, fx - 16, y - 44 - 46);
                            copy(dst, s.flowers, 0, 64 * k, 32, 64, fx - 16, y - 44 - 46, colours[k]);
                        }
                    }
                }
        for (int i = -26 + cam_i; i <= 26 + cam_i; ++i) {
            if ((i & 1) != (j & 1)) continue;
            const Cell c = layout(i, j);
            auto [x, y] = screen(i, j);
            const int frame = (i + 40) / 8 % 3 == 0 && j % 3 == 0 ? 2 : (i + 40) / 8 % 3 == 1 ? 1 : 0;
            if (c.kind == Kind::Grass) copy(dst, s.plants, 32 * frame, 0, 32, 64, x - 16, y - 46);
            if (c.kind == Kind::Hive) copy(dst, s.plants, 32 * frame, 64 * 4, 32, 64, x - 16, y - 46);
            if (c.plant >= 1) {
                const int row = c.plant >= 3 ? 3 : c.plant;
                copy(dst, s.plants, 32 * frame, 64 * row, 32, 64, x - 16, y - 46);
                if (c.plant >= 3) copy(dst, s.flowers, 32 * frame, 64 * (c.plant - 3), 32, 64, x - 16, y - 46, c.colour);
            }
        }
    }
}

}  // namespace

Picture paint_preview() {
    const Sheets s;
    Picture out(W, 2 * H);
    Picture field(W, H);
    draw_field(field, s, 0, 0, true);
    // The on-screen controls as touch mode shows them.
    copy(field, s.move_pad, 0, 0, 164, 121, 16, H - 137);
    copy(field, s.ground, 128, 0, 32, 32, 98 + 30 - 16, H - 76 - 10 - 14);
    copy(field, s.buttons, 0, 64 * 1, 64, 64, W - 96 - 32, H - 43 - 35);
    copy(field, s.buttons, 64, 64 * 2, 64, 64, W - 96 + 32 - 32, H - 43 - 44 - 35);
    copy(field, s.top_buttons, 0, 0, 32, 32, 0, 32);
    out.paste(field, 0, 0);
    Picture title(W, H);
    draw_field(title, s, -8, 0, false);
    copy(title, s.intro, 0, 0, s.intro.width(), s.intro.height(), W / 2 - s.intro.width() / 2, H / 2 - s.intro.height() / 2);
    out.paste(title, 0, H);
    return out.enlarged(2);
}

}  // namespace qm
