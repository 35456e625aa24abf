// The generated sprite sheets: that each file is there with the grid the game cuts it by, that
// every cell shows something, that the art lines up with the game's anchors and lattice, and
// that the generator paints the same bytes every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>

#include "lettering.hpp"
#include "paint.hpp"
#include "sheets.hpp"

namespace qm {

// Test names and failures show the sheet's name rather than its bytes.
static void PrintTo(const SheetInfo& info, std::ostream* os) { *os << info.name; }

namespace {

Picture load_sheet(std::string_view name) {
    Picture p(1, 1);
    const std::string path = "assets/" + std::string(name) + ".png";
    const std::string err = load_png(path, p);
    EXPECT_EQ(err, "") << path;
    return p;
}

const SheetInfo& sheet_named(std::string_view name) {
    for (const SheetInfo& s : all_sheets())
        if (s.name == name) return s;
    throw std::out_of_range(std::string(name));
}

struct CellStats {
    int visible = 0;       // alpha > 0
    int lowest_row = -1;   // bottom-most visible row inside the cell
    double luma_sum = 0;
    double min_luma = 255;
    bool all_grey = true;
};

CellStats stats(const Picture& p, int x0, int y0, int w, int h) {
    CellStats s;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const Rgba c = p.get(x, y);
            if (c.a == 0) continue;
            ++s.visible;
            s.lowest_row = y - y0;
            s.luma_sum += luma(c);
            s.min_luma = std::min(s.min_luma, luma(c));
            if (std::abs(c.r - c.g) > 2 || std::abs(c.g - c.b) > 2) s.all_grey = false;
        }
    return s;
}

bool same_cell(const Picture& p, int ax, int ay, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (p.get(ax + x, ay + y) != p.get(bx + x, by + y)) return false;
    return true;
}

class ArtSheetFile : public testing::TestWithParam<SheetInfo> {};

TEST_P(ArtSheetFile, HasItsGridAndEveryCellShowsSomething) {
    const SheetInfo& info = GetParam();
    const Picture p = load_sheet(info.name);
    ASSERT_EQ(p.width(), info.cell_w * info.columns);
    ASSERT_EQ(p.height(), info.cell_h * info.rows);
    for (int r = 0; r < info.rows; ++r)
        for (int c = 0; c < info.columns; ++c)
            EXPECT_GE(stats(p, c * info.cell_w, r * info.cell_h, info.cell_w, info.cell_h).visible, 8)
                << info.name << " cell column " << c << " row " << r;
}

TEST_P(ArtSheetFile, IsPaintedTheSameEveryTime) {
    const SheetInfo& info = GetParam();
    const Picture first = info.paint();
    const Picture second = info.paint();
    ASSERT_TRUE(std::ranges::equal(first.pixels(), second.pixels())) << info.name;
    // And the file the build wrote holds exactly that picture (clear pixels are stored as zero).
    const Picture saved = load_sheet(info.name);
    ASSERT_EQ(saved.width(), first.width());
    ASSERT_EQ(saved.height(), first.height());
    int differing = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const Rgba a = first.get(x, y), b = saved.get(x, y);
            if (a.a == 0 ? b.a != 0 : a != b) ++differing;
        }
    EXPECT_EQ(differing, 0) << info.name;
}

INSTANTIATE_TEST_SUITE_P(AllSheets, ArtSheetFile, testing::ValuesIn(all_sheets().begin(), all_sheets().end()),
                         [](const testing::TestParamInfo<SheetInfo>& i) { return std::string(i.param.name); });

TEST(ArtSheets, TheElevenFilesTheGameLoadsInItsOrder) {
    const char* expected[] = {"ground", "plants", "flowers", "lily", "arms", "tools", "shed", "move_pad", "buttons", "top_buttons", "intro"};
    ASSERT_EQ(all_sheets().size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) EXPECT_EQ(all_sheets()[k].name, expected[k]);
    const SheetInfo& intro = sheet_named("intro");
    EXPECT_LE(intro.cell_w, 700);
    EXPECT_LE(intro.cell_h, 340);
    EXPECT_GE(sheet_named("ground").columns, 6);
}

TEST(ArtSheets, MarkStandsOutInEveryTintAndFlowersAreLightSoModulationShowsTheirColour) {
    const Picture ground = load_sheet("ground");
    const CellStats mark = stats(ground, 32 * GROUND_MARK, 0, 32, 32);
    ASSERT_GT(mark.visible, 0);
    EXPECT_TRUE(mark.all_grey);
    EXPECT_LT(mark.visible * 3, stats(ground, 32 * GROUND_GRASS, 0, 32, 32).visible);  // a range stays see-through
    for (const Rgba tint : {rgb(255, 255, 0), rgb(0, 0, 255), rgb(0, 0, 0), rgb(64, 64, 0)})  // range/smoker, can, shovel, hoe
        for (const int cell : {GROUND_GRASS, GROUND_DRY, GROUND_WET, GROUND_WATER}) {
            int standing_out = 0;
            for (int k = 0; k < 32 * 32; ++k) {
                const Rgba m = ground.get(32 * GROUND_MARK + k % 32, k / 32), under = ground.get(32 * cell + k % 32, k / 32);
                const Rgba tinted = rgb(m.r * tint.r / 255, m.g * tint.g / 255, m.b * tint.b / 255);
                standing_out += m.a > 0 && std::abs(luma(mix(under, tinted, m.a / 255.0)) - luma(under)) >= 40 ? 1 : 0;
            }
            EXPECT_GE(standing_out * 2, mark.visible) << "cell " << cell << ", tint blue " << int{tint.b};
        }

    const Picture flowers = load_sheet("flowers");
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            const CellStats s = stats(flowers, 32 * c, 64 * r, 32, 64);
            ASSERT_GT(s.visible, 0);
            EXPECT_TRUE(s.all_grey) << "flower cell " << c << ", " << r;
            EXPECT_GE(s.luma_sum / s.visible, 200.0) << "flower cell " << c << ", " << r;
        }
}

// Paints the ground cell on the field's lattice the way the game does (hex centre at (16, 14)
// of the cell, 32 pixels across, 22 between rows, odd rows shifted by 16) and counts the clear
// pixels left in the middle of the patch.
int seam_pixels(const Picture& ground, int cell) {
    constexpr int COLS = 8, ROWS = 8;
    Picture field(COLS * LATTICE_DX + 64, ROWS * LATTICE_DY + 64);
    for (int row = 0; row < ROWS; ++row)
        for (int col = 0; col < COLS; ++col) {
            const int cx = 32 + col * LATTICE_DX + (row % 2) * (LATTICE_DX / 2);
            const int cy = 32 + row * LATTICE_DY;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    field.blend(cx - GROUND_ANCHOR_X + x, cy - GROUND_ANCHOR_Y + y, ground.get(32 * cell + x, y));
        }
    int clear = 0;
    // Inside the patch: from the centre of the second row to that of the second-to-last, and a
    // full cell in from either side.
    for (int y = 32 + LATTICE_DY; y < 32 + (ROWS - 2) * LATTICE_DY; ++y)
        for (int x = 32 + LATTICE_DX; x < 32 + (COLS - 2) * LATTICE_DX; ++x)
            if (field.get(x, y).a != 255) ++clear;
    return clear;
}

TEST(ArtGround, TilesOnTheLatticeWithoutSeams) {
    const Picture ground = load_sheet("ground");
    for (int cell : {GROUND_GRASS, GROUND_DRY, GROUND_WET, GROUND_WATER}) EXPECT_EQ(seam_pixels(ground, cell), 0) << "cell " << cell;
    // The mark is see-through on purpose, but it still covers its whole hexagon.
    EXPECT_GT(seam_pixels(ground, GROUND_MARK), 0);
}

TEST(ArtGround, FloorCellsAreOpaqueHexagonsAndClearAround) {
    const Picture ground = load_sheet("ground");
    for (int cell : {GROUND_GRASS, GROUND_DRY, GROUND_WET, GROUND_WATER}) {
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int alpha = ground.get(32 * cell + x, y).a;
                if (in_ground_hex(x, y) ? alpha != 255 : alpha != 0) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "cell " << cell;
    }
    // The hexagon's corners: full width across the middle, a point at the top edge.
    EXPECT_TRUE(in_ground_hex(0, 14));
    EXPECT_TRUE(in_ground_hex(31, 14));
    EXPECT_TRUE(in_ground_hex(16, 0));
    EXPECT_FALSE(in_ground_hex(0, 0));
    EXPECT_FALSE(in_ground_hex(31, 31));
}

TEST(ArtFigures, StandOnTheHexCentre) {
    // Tall sprites are drawn with the hex centre 46 pixels down the cell: their lowest pixels
    // must be there, or they float above the tile or sink into the row below.
    struct Case { const char* sheet; int columns, rows, low, high; };
    const Case cases[] = {
        {"lily", 5, 4, 44, 48},
        {"plants", 3, 5, 44, 60},
        {"flowers", 3, 2, 20, 30},  // the heads, over the stem's calyx
    };
    for (const Case& c : cases) {
        const Picture p = load_sheet(c.sheet);
        for (int r = 0; r < c.rows; ++r)
            for (int col = 0; col < c.columns; ++col) {
                const int low = stats(p, 32 * col, 64 * r, 32, 64).lowest_row;
                EXPECT_GE(low, c.low) << c.sheet << " " << col << "," << r;
                EXPECT_LE(low, c.high) << c.sheet << " " << col << "," << r;
            }
    }
}

TEST(ArtFigures, WalkFramesAndWindFramesMove) {
    const Picture lily = load_sheet("lily");
    for (int r = 0; r < 4; ++r)
        for (int a = 0; a < 5; ++a)
            for (int b = a + 1; b < 5; ++b)
                EXPECT_FALSE(same_cell(lily, 32 * a, 64 * r, 32 * b, 64 * r, 32, 64)) << "facing " << r << " frames " << a << ", " << b;
    // Every facing looks different.
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) EXPECT_FALSE(same_cell(lily, 0, 64 * a, 0, 64 * b, 32, 64));
    const Picture plants = load_sheet("plants");
    for (int r : {0, 2, 3, 4}) EXPECT_FALSE(same_cell(plants, 0, 64 * r, 64, 64 * r, 32, 64)) << "plant row " << r;
    const Picture flowers = load_sheet("flowers");
    for (int r = 0; r < 2; ++r) EXPECT_FALSE(same_cell(flowers, 0, 64 * r, 64, 64 * r, 32, 64));
}

TEST(ArtFigures, ArmsHangFromTheShoulderAndToolsSitInTheHand) {
    const Picture arms = load_sheet("arms");
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_GT(stats(arms, 16 * c + 6, 16 * r, 5, 3).visible, 0) << "arm " << c << ", " << r;
    const Picture tools = load_sheet("tools");
    for (int tool = 0; tool < 4; ++tool)
        for (int v = 0; v < 8; ++v) {
            EXPECT_GT(stats(tools, 32 * v + 12, 32 * tool + 12, 9, 9).visible, 0) << "tool " << tool << " cell " << v;
            if (v % 2 == 1) {
                EXPECT_FALSE(same_cell(tools, 32 * (v - 1), 32 * tool, 32 * v, 32 * tool, 32, 32));
            }
        }
}

TEST(ArtControls, HeldButtonsAndTheFullScreenSwitchLookDifferent) {
    const Picture buttons = load_sheet("buttons");
    for (int r = 0; r < 8; ++r) {
        EXPECT_FALSE(same_cell(buttons, 0, 64 * r, 64, 64 * r, 64, 64)) << "button row " << r;
        // The face covers the middle, where the game puts the button's centre (32, 35).
        EXPECT_EQ(buttons.get(32, 64 * r + 35).a, 255);
        for (int o = r + 1; o < 8; ++o) EXPECT_FALSE(same_cell(buttons, 0, 64 * r, 0, 64 * o, 64, 64));
    }
    const Picture top = load_sheet("top_buttons");
    EXPECT_FALSE(same_cell(top, 0, 0, 0, 32, 32, 32));
}

TEST(ArtControls, MovePadCoversItsHexagonAndLetsTheFieldShowThrough) {
    const Picture pad = load_sheet("move_pad");
    // The pad's centre lies at (82, 61); fingers count 64 pixels to either side, 44 up and down.
    for (auto [x, y] : {std::pair{82, 61}, {82 - 62, 61}, {82 + 62, 61}, {82, 61 - 42}, {82, 61 + 42}}) {
        const int alpha = pad.get(x, y).a;
        EXPECT_GT(alpha, 0) << x << "," << y;
        EXPECT_LT(alpha, 255) << x << "," << y;
    }
    EXPECT_EQ(pad.get(0, 0).a, 0);
}

TEST(ArtBuildings, ShedStandsOnItsBaseWithTheDoorAtTheBottom) {
    const Picture shed = load_sheet("shed");
    // Bottom centre on the base cell's centre: the picture reaches its last row there.
    EXPECT_GT(stats(shed, 14, 70, 8, 4).visible, 0);
    // The door: a wide run of one colour low in the middle, unlike the plank walls around it.
    const Rgba door = shed.get(18, 64);
    int run = 0;
    for (int x = 10; x < 26; ++x) run += shed.get(x, 64) == door;
    EXPECT_GE(run, 6);
    EXPECT_NE(shed.get(5, 64), door);
}

TEST(ArtLettering, KnowsItsLettersAndRefusesOthers) {
    EXPECT_EQ(lettering_width("i"), 1);
    EXPECT_EQ(lettering_width("Hi"), 5 + 1 + 1);
    const Picture p = lettering("Hi", 2, rgb(10, 20, 30));
    EXPECT_EQ(p.width(), 14);
    EXPECT_EQ(p.height(), 2 * GLYPH_ROWS);
    EXPECT_EQ(p.get(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(p.get(2, 0).a, 0);
    EXPECT_THROW(lettering("Quill#", 1, rgb(0, 0, 0)), std::invalid_argument);
}

TEST(ArtPaint, OutlineWrapsShapesAndMirrorKeepsThemInPlace) {
    Picture p(8, 8);
    p.fill_rect(3, 3, 2, 2, rgb(200, 100, 50));
    p.outline(CLEAR, 0.5);
    EXPECT_EQ(p.get(3, 2), rgb(100, 50, 25));
    EXPECT_EQ(p.get(2, 2).a, 0);  // corners stay clear: outlines follow the 4-neighbourhood
    p.mirror(4.0);
    EXPECT_EQ(p.get(4, 4), rgb(200, 100, 50));
    EXPECT_EQ(p.get(3, 2), rgb(100, 50, 25));
    Picture q(8, 8);
    q.put(0, 0, rgb(1, 2, 3));
    q.mirror(3.0);
    EXPECT_EQ(q.get(5, 0), rgb(1, 2, 3));
    EXPECT_EQ(q.get(0, 0).a, 0);
}

TEST(ArtPaint, TransformsMapComposeAndInvert) {
    // Screen y points down, so a positive angle turns clockwise on screen.
    const Vec2 r = Affine::rotate(90).apply({1, 0});
    EXPECT_NEAR(r.x, 0.0, 1e-12);
    EXPECT_NEAR(r.y, 1.0, 1e-12);
    const Affine t = Affine::translate(5, -3).after(Affine::scaling(2, 2)).after(Affine::rotate(30));
    const Vec2 p{1.5, -2.25};
    const Vec2 back = t.inverse().apply(t.apply(p));
    EXPECT_NEAR(back.x, p.x, 1e-9);
    EXPECT_NEAR(back.y, p.y, 1e-9);
    // after(): the right-hand transform runs first.
    const Vec2 q = Affine::translate(10, 0).after(Affine::scaling(2, 1)).apply({1, 1});
    EXPECT_DOUBLE_EQ(q.x, 12.0);
    EXPECT_DOUBLE_EQ(q.y, 1.0);
    EXPECT_NEAR(Affine::scaling(-3, 3).after(Affine::rotate(17)).scale(), 3.0, 1e-12);
}

TEST(ArtPaint, ShapesCoverThePixelsWhoseCentresTheyContain) {
    Picture p(10, 10);
    p.fill_polygon({{2, 3}, {6, 3}, {6, 5}, {2, 5}}, rgb(9, 9, 9));
    int covered = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) covered += p.get(x, y).a != 0;
    EXPECT_EQ(covered, 8);
    EXPECT_NE(p.get(2, 3).a, 0);
    EXPECT_EQ(p.get(6, 3).a, 0);

    Picture e(40, 40);
    e.fill_ellipse({20, 20}, 12, 6, rgb(1, 1, 1));
    int area = 0;
    for (Rgba c : e.pixels()) area += c.a != 0;
    EXPECT_NEAR(area, 3.14159 * 12 * 6, 10.0);
    // The same ellipse through a quarter turn stands upright.
    Picture u(40, 40);
    u.set_transform(Affine::translate(20, 20).after(Affine::rotate(90)));
    u.fill_ellipse({0, 0}, 12, 6, rgb(1, 1, 1));
    EXPECT_NE(u.get(20, 9).a, 0);
    EXPECT_EQ(u.get(9, 20).a, 0);
}

TEST(ArtPaint, BlendBevelAndEnlarge) {
    Picture p(4, 4);
    p.put(0, 0, rgb(0, 0, 255));
    p.blend(0, 0, rgb(255, 0, 0, 128));
    EXPECT_EQ(p.get(0, 0), rgb(128, 0, 127, 255));
    p.blend(1, 0, rgb(255, 0, 0, 128));
    EXPECT_EQ(p.get(1, 0), rgb(255, 0, 0, 128));

    Picture b(6, 6);
    b.part(0.5, 0.5);
    b.fill_rect(1, 1, 4, 4, rgb(100, 100, 100));
    b.bevel();
    EXPECT_EQ(b.get(1, 1), rgb(178, 178, 178));  // lit from the top left
    EXPECT_EQ(b.get(4, 4), rgb(50, 50, 50));     // shaded at the bottom right
    EXPECT_EQ(b.get(2, 2), rgb(100, 100, 100));  // the inside keeps its colour

    const Picture big = b.enlarged(3);
    EXPECT_EQ(big.width(), 18);
    EXPECT_EQ(big.get(3, 3), b.get(1, 1));
    EXPECT_EQ(big.get(5, 5), b.get(1, 1));
    EXPECT_EQ(big.get(6, 6), b.get(2, 2));
}

TEST(ArtPaint, PngRoundTripKeepsSeeThroughPixels) {
    Picture p(3, 2);
    p.put(0, 0, rgb(10, 20, 30, 255));
    p.put(1, 0, rgb(200, 100, 50, 77));
    p.put(2, 1, rgb(1, 2, 3, 0));  // clear, with a colour the file need not keep
    const std::string path = testing::TempDir() + "art_roundtrip.png";
    ASSERT_EQ(save_png(p, path), "");
    Picture q(1, 1);
    ASSERT_EQ(load_png(path, q), "");
    ASSERT_EQ(q.width(), 3);
    ASSERT_EQ(q.height(), 2);
    EXPECT_EQ(q.get(0, 0), rgb(10, 20, 30, 255));
    EXPECT_EQ(q.get(1, 0), rgb(200, 100, 50, 77));
    EXPECT_EQ(q.get(2, 1), CLEAR);
    EXPECT_NE(load_png(testing::TempDir() + "no_such_sheet.png", q), "");
}

TEST(ArtPaint, SpeckleIsRepeatable) {
    ArtRng a(42), b(42), c(43);
    bool differs = false;
    for (int k = 0; k < 100; ++k) {
        const int x = a.below(7);
        EXPECT_EQ(x, b.below(7));
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 7);
        differs = differs || c.below(7) != x;
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace qm
