// The draw context on a headless software renderer: loading and its failures, the scale rule,
// the tint, where every primitive puts which cell, colour modulation, and the text panels.
#include "day_clock.hpp"
#include "graphics.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "support/sdl_fixture.hpp"

namespace qm {
namespace {

using test::white_sheet;
using test::cell_colour;
using test::CellId;
using test::describe;
using test::HeadlessDraw;
using test::identify;
using ::testing::HasSubstr;

constexpr std::int32_t U = ONE_UNIT;

std::vector<std::uint32_t> read_region(SDL_Renderer* renderer, SDL_Rect rect) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(rect.w) * static_cast<std::size_t>(rect.h));
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_RGBA32, pixels.data(), rect.w * 4), 0)
        << SDL_GetError();
    return pixels;
}

std::vector<std::uint32_t> read_screen(SDL_Renderer* renderer) {
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    return read_region(renderer, {0, 0, w, h});
}

SDL_Point size_of(SDL_Texture* texture) {
    int w = 0;
    int h = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &w, &h);
    return {w, h};
}

std::array<std::uint8_t, 3> colour_mod(SDL_Texture* texture) {
    std::array<std::uint8_t, 3> m{};
    SDL_GetTextureColorMod(texture, &m[0], &m[1], &m[2]);
    return m;
}

// ---------------------------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------------------------

using DrawContextCreate = HeadlessDraw;

TEST_F(DrawContextCreate, StartsCentredAtTheViewportSizeUnscaledAndUntinted) {
    EXPECT_EQ(ctx().transform.center, (Fixed{0, 0}));
    EXPECT_EQ(ctx().transform.width, 640);
    EXPECT_EQ(ctx().transform.height, 360);
    EXPECT_EQ(ctx().scale, 1u);
    EXPECT_EQ(ctx().tint, (Tint{255, 255, 255}));
}

TEST_F(DrawContextCreate, EachSheetLandsInItsOwnField) {
    const std::vector<std::pair<const char*, SDL_Texture*>> fields{
        {"ground", ctx().ground.get()},   {"plants", ctx().plants.get()},     {"flowers", ctx().flowers.get()},
        {"lily", ctx().lily.get()},       {"arms", ctx().arms.get()},         {"tools", ctx().tools.get()},
        {"shed", ctx().shed.get()},       {"move_pad", ctx().move_pad.get()}, {"buttons", ctx().buttons.get()},
        {"top_buttons", ctx().top_buttons.get()}, {"intro", ctx().intro.get()}};
    for (const auto& [name, texture] : fields) {
        // Every synthetic sheet has a size of its own, so the size tells which file was loaded.
        const auto& layout = test::sheet_layout(name);
        ASSERT_NE(texture, nullptr) << name;
        const SDL_Point size = size_of(texture);
        EXPECT_EQ(size.x, layout.cell_w * layout.columns) << name;
        EXPECT_EQ(size.y, layout.cell_h * layout.rows) << name;
    }
}

// The pre-rendered labels must be pixel for pixel what rendering their text gives.
TEST_F(DrawContextCreate, FixedTextsShowTheirWordsInTheirColours) {
    struct Case {
        std::function<SDL_Texture*(DrawContext&)> texture;
        TTF_Font* (*font)(DrawContext&);
        std::uint32_t colour;
        const char* text;
    };
    auto small = [](DrawContext& c) { return c.small_font.get(); };
    auto medium = [](DrawContext& c) { return c.medium_font.get(); };
    const std::array<std::uint32_t, 3> colours{CYAN, MAGENTA, YELLOW};
    const std::array<std::array<const char*, 3>, 3> texts{{{"cc", "Cc", "CC"}, {"mm", "Mm", "MM"}, {"yy", "Yy", "YY"}}};
    std::vector<Case> cases{{[](DrawContext& c) { return c.dawn_of.get(); }, medium, WHITE, "Dawn of"}};
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t n = 0; n < 3; ++n) {
            cases.push_back({[row, n](DrawContext& c) { return c.genome_textures[row][n].get(); }, small, colours[row],
                             texts[row][n]});
        }
    }
    for (const auto& c : cases) {
        SDL_Texture* stored = c.texture(ctx());
        auto fresh = DrawContext::gen_text(ctx().texture_creator, c.font(ctx()), c.colour, c.text);
        ASSERT_TRUE(fresh) << c.text;
        const SDL_Point size = size_of(stored);
        ASSERT_EQ(size.x, size_of(fresh->get()).x) << c.text;
        ASSERT_EQ(size.y, size_of(fresh->get()).y) << c.text;
        const SDL_Rect at{0, 0, size.x, size.y};
        clear();
        SDL_RenderCopy(renderer(), stored, nullptr, &at);
        const auto got = read_region(renderer(), at);
        clear();
        SDL_RenderCopy(renderer(), fresh->get(), nullptr, &at);
        EXPECT_EQ(got, read_region(renderer(), at)) << c.text;
        EXPECT_TRUE(std::find(got.begin(), got.end(), c.colour) != got.end()) << c.text << " has no pixel in its colour";
    }
}

class MissingSheet : public HeadlessDraw, public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingSheet, FailsWithSdlsErrorNamingTheFile) {
    const std::string file = std::string("assets/") + GetParam() + ".png";
    std::filesystem::remove(run_dir_->path() / file);
    auto built = build_context();
    ASSERT_FALSE(built.has_value());
    EXPECT_EQ(built.error().kind, DrawError::Kind::String);
    EXPECT_THAT(built.error().message, HasSubstr(file));
}

TEST_P(MissingSheet, CorruptFileFailsWithAStringError) {
    test::corrupt_sheet(run_dir_->path(), GetParam());
    auto built = build_context();
    ASSERT_FALSE(built.has_value());
    EXPECT_EQ(built.error().kind, DrawError::Kind::String);
    EXPECT_FALSE(built.error().message.empty());
}

INSTANTIATE_TEST_SUITE_P(EverySheet, MissingSheet,
                         ::testing::Values("ground", "plants", "flowers", "lily", "arms", "tools", "shed", "move_pad",
                                           "buttons", "top_buttons", "intro"));

using DrawContextDeathTest = HeadlessDraw;

TEST_F(DrawContextDeathTest, MissingFontStopsTheProgram) {
    std::filesystem::remove(run_dir_->path() / FONT_PATH);
    EXPECT_EXIT((void)build_context(), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                HasSubstr("called `Result::unwrap()` on an `Err` value: "));
}

TEST_F(DrawContextCreate, TextThatCannotBeRenderedIsAFontError) {
    auto text = DrawContext::gen_text(ctx().texture_creator, ctx().small_font.get(), WHITE, "");
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(text.error().kind, DrawError::Kind::FontError);
    EXPECT_FALSE(text.error().message.empty());
}

TEST_F(DrawContextCreate, TextWithoutAUsableRendererIsATextureValueError) {
    const TextureCreator broken = std::make_shared<RendererContext>(WindowPtr{}, nullptr);
    auto text = DrawContext::gen_text(broken, ctx().small_font.get(), WHITE, "Day 1");
    ASSERT_FALSE(text.has_value());
    EXPECT_EQ(text.error().kind, DrawError::Kind::TextureValueError);
    EXPECT_FALSE(text.error().message.empty());
    auto labels = DrawContext::gen_genome_textures(broken, ctx().small_font.get(), CYAN, "c");
    ASSERT_FALSE(labels.has_value());
    EXPECT_EQ(labels.error().kind, DrawError::Kind::TextureValueError);
}

// ---------------------------------------------------------------------------------------------
// Scale
// ---------------------------------------------------------------------------------------------

TEST(ChooseScale, FitsTheLogicalAreaWithTheSmallestWholeScale) {
    struct Case {
        std::uint32_t s, w, h, expected;
    };
    const Case cases[] = {
        {1, 1920, 1080, 2}, {1, 1280, 720, 2}, {1, 800, 600, 1}, {1, 960, 540, 1}, {1, 961, 540, 2},
        {2, 960, 540, 2},   {2, 480, 270, 1},  {3, 1920, 1080, 6}, {1, 0, 0, 1},    {0, 1920, 1080, 1},
        // The area wraps at 2^32: 65536² and a 65536 scale both come out as nothing.
        {1, 65536, 65536, 1}, {65536, 1, 1, 1},
        // The largest area there is needs the largest scale there is.
        {1, 65535, 65535, 92}, {1, 0xFFFFFFFFu, 1, 92},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choose_scale(c.s, c.w, c.h), c.expected) << c.s << " " << c.w << "x" << c.h;
    }
}

TEST(ChooseScale, IsTheSmallestScaleWithinTheBoundForAnyArea) {
    // Sweeps the whole range of areas, the top end included, so the search must end everywhere.
    for (std::uint64_t area = 1; area <= 0xFFFFFFFFull; area = area * 3 / 2 + 7) {
        const auto a = static_cast<std::uint32_t>(area);
        const std::uint64_t n = choose_scale(1, a, 1);
        ASSERT_GE(n, 1u);
        EXPECT_LE(a / (n * n), MAX_LOGICAL_AREA) << a;
        if (n > 1) {
            EXPECT_GT(a / ((n - 1) * (n - 1)), MAX_LOGICAL_AREA) << a;
        }
    }
}

struct WindowCase {
    int w, h;
    std::uint32_t scale;
    int logical_w, logical_h;
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.w << "x" << c.h; }

class AdjustScale : public HeadlessDraw, public ::testing::WithParamInterface<WindowCase> {
public:
    AdjustScale() {
        window_w = GetParam().w;
        window_h = GetParam().h;
    }
};

TEST_P(AdjustScale, SetsTheScaleAndTheLogicalViewSize) {
    const auto& c = GetParam();
    ASSERT_TRUE(ctx().adjust_scale());
    EXPECT_EQ(ctx().scale, c.scale);
    EXPECT_EQ(ctx().transform.width, c.logical_w);
    EXPECT_EQ(ctx().transform.height, c.logical_h);
    float sx = 0;
    float sy = 0;
    SDL_RenderGetScale(renderer(), &sx, &sy);
    EXPECT_EQ(sx, static_cast<float>(c.scale));
    EXPECT_EQ(sy, static_cast<float>(c.scale));
    // Asking again, frame after frame, changes nothing: an odd window side must not make the
    // scale flip back and forth.
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_TRUE(ctx().adjust_scale());
        EXPECT_EQ(ctx().scale, c.scale) << "frame " << frame;
        EXPECT_EQ(ctx().transform.width, c.logical_w) << "frame " << frame;
        EXPECT_EQ(ctx().transform.height, c.logical_h) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, AdjustScale,
                         ::testing::Values(WindowCase{1920, 1080, 2, 960, 540}, WindowCase{1280, 720, 2, 640, 360},
                                           WindowCase{800, 600, 1, 800, 600}, WindowCase{960, 540, 1, 960, 540},
                                           WindowCase{961, 540, 2, 480, 270}, WindowCase{720, 360, 1, 720, 360},
                                           WindowCase{1921, 1081, 3, 640, 360}, WindowCase{2880, 1620, 3, 960, 540}));

class AdjustScaleKept : public HeadlessDraw {
public:
    AdjustScaleKept() {
        window_w = 1920;
        window_h = 1080;
    }
};

TEST_F(AdjustScaleKept, LeavesAFittingScaleAloneButStillRefreshesTheSize) {
    // 2.5 truncates to 2, which fits 768 × 432 logical pixels: the renderer must keep its 2.5.
    ASSERT_EQ(SDL_RenderSetScale(renderer(), 2.5f, 2.5f), 0);
    ctx().transform.width = 1;
    ctx().transform.height = 1;
    ASSERT_TRUE(ctx().adjust_scale());
    float sx = 0;
    SDL_RenderGetScale(renderer(), &sx, nullptr);
    EXPECT_EQ(sx, 2.5f);
    EXPECT_EQ(ctx().scale, 2u);
    EXPECT_EQ(ctx().transform.width, 768);
    EXPECT_EQ(ctx().transform.height, 432);
}

TEST_F(AdjustScaleKept, FollowsTheWindowWhenItShrinks) {
    ASSERT_TRUE(ctx().adjust_scale());
    ASSERT_EQ(ctx().scale, 2u);
    SDL_SetWindowSize(ctx().canvas->window(), 800, 600);
    SDL_PumpEvents();
    ASSERT_TRUE(ctx().adjust_scale());
    EXPECT_EQ(ctx().scale, 1u);
    EXPECT_EQ(ctx().transform.width, 800);
    EXPECT_EQ(ctx().transform.height, 600);
}

// ---------------------------------------------------------------------------------------------
// Tint
// ---------------------------------------------------------------------------------------------

using Tinting = HeadlessDraw;

TEST_F(Tinting, ModulatesTheSevenWorldSheetsAndNothingElse) {
    ctx().set_tint(0xAA804020);  // alpha AA is not part of the tint
    EXPECT_EQ(ctx().tint, (Tint{0x20, 0x40, 0x80}));
    const std::array<std::uint8_t, 3> tinted{0x20, 0x40, 0x80};
    const std::array<std::uint8_t, 3> plain{255, 255, 255};
    for (SDL_Texture* t : {ctx().ground.get(), ctx().plants.get(), ctx().flowers.get(), ctx().lily.get(),
                           ctx().arms.get(), ctx().tools.get(), ctx().shed.get()}) {
        EXPECT_EQ(colour_mod(t), tinted);
    }
    for (SDL_Texture* t : {ctx().move_pad.get(), ctx().buttons.get(), ctx().top_buttons.get(), ctx().intro.get(),
                           ctx().dawn_of.get(), ctx().genome_textures[1][1].get()}) {
        EXPECT_EQ(colour_mod(t), plain);
    }
    ctx().set_tint(0xFFFFFF);
    EXPECT_EQ(ctx().tint, (Tint{255, 255, 255}));
    for (SDL_Texture* t : {ctx().ground.get(), ctx().plants.get(), ctx().flowers.get(), ctx().lily.get(),
                           ctx().arms.get(), ctx().tools.get(), ctx().shed.get()}) {
        EXPECT_EQ(colour_mod(t), plain);
    }
}

TEST_F(DrawContextDeathTest, ColourModThatSdlRefusesStopsTheProgram) {
    ctx().shed.reset();
    EXPECT_EXIT(ctx().set_tint(0x808080), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                HasSubstr("Error setting color mod: "));
}

// ---------------------------------------------------------------------------------------------
// Sprite primitives
// ---------------------------------------------------------------------------------------------

struct Placement {
    const char* what;
    std::function<DrawResult(DrawContext&)> draw;
    CellId cell;
    SDL_Rect at;
};

class Primitives : public HeadlessDraw {
protected:
    // The cell fills exactly the rectangle: its four corners are the cell, one step outside is not.
    void expect_placed(const Placement& p) {
        clear();
        ASSERT_TRUE(p.draw(ctx())) << p.what;
        const SDL_Rect& r = p.at;
        const std::array<SDL_Point, 4> inside{{{r.x, r.y}, {r.x + r.w - 1, r.y}, {r.x, r.y + r.h - 1},
                                               {r.x + r.w - 1, r.y + r.h - 1}}};
        for (const auto& q : inside) {
            const std::uint32_t px = pixel(q.x, q.y);
            EXPECT_EQ(identify(px), std::optional<CellId>(p.cell))
                << p.what << " at (" << q.x << "," << q.y << "): " << describe(px);
        }
        const std::array<SDL_Point, 4> outside{{{r.x - 1, r.y}, {r.x + r.w, r.y + r.h - 1}, {r.x, r.y - 1},
                                                {r.x + r.w - 1, r.y + r.h}}};
        for (const auto& q : outside) {
            EXPECT_EQ(pixel(q.x, q.y), BACKGROUND) << p.what << " bleeds to (" << q.x << "," << q.y << ")";
        }
    }
};

// The view is 640 × 360 centred on the origin, so the origin's screen point is (320, 180).
TEST_F(Primitives, PutTheRightCellAtTheRightPlace) {
    const std::vector<Placement> cases{
        {"ground at the centre", [](DrawContext& c) { return c.draw_ground(3, std::nullopt, 0, 0); }, {"ground", 3, 0},
         {304, 166, 32, 32}},
        {"ground half a unit left", [](DrawContext& c) { return c.draw_ground(1, std::nullopt, -U / 2, 0); },
         {"ground", 1, 0}, {296, 166, 32, 32}},
        {"ground a hair left rounds down", [](DrawContext& c) { return c.draw_ground(2, std::nullopt, -1, 0); },
         {"ground", 2, 0}, {303, 166, 32, 32}},
        {"ground one row down", [](DrawContext& c) { return c.draw_ground(0, std::nullopt, 0, U); }, {"ground", 0, 0},
         {304, 188, 32, 32}},
        {"ground in colour", [](DrawContext& c) { return c.draw_ground(5, 0xFFFFFF, 2 * U, -U); }, {"ground", 5, 0},
         {336, 144, 32, 32}},
        {"plant", [](DrawContext& c) { return c.draw_plant(2, 1, 0, 0); }, {"plants", 1, 2}, {304, 134, 32, 64}},
        {"plant elsewhere", [](DrawContext& c) { return c.draw_plant(4, 0, -3 * U, 2 * U); }, {"plants", 0, 4},
         {256, 178, 32, 64}},
        {"flowers", [](DrawContext& c) { return c.draw_flowers(1, 2, 0xFFFFFF, 0, 0); }, {"flowers", 2, 1},
         {304, 134, 32, 64}},
        {"gardener", [](DrawContext& c) { return c.draw_lily(3, 4, 0, 0); }, {"lily", 4, 3}, {304, 134, 32, 64}},
        {"arm", [](DrawContext& c) { return c.draw_arm(2, 1, 0, 0, 5, -7); }, {"arms", 1, 2}, {317, 173, 16, 16}},
        {"tool, first variant", [](DrawContext& c) { return c.draw_tool(1, 1, false, 0, 0, 3, 4); }, {"tools", 2, 1},
         {307, 168, 32, 32}},
        {"tool, second variant", [](DrawContext& c) { return c.draw_tool(3, 1, true, 0, 0, -1, 10); }, {"tools", 3, 3},
         {303, 174, 32, 32}},
        {"button on an anchor", [](DrawContext& c) { return c.draw_button(5, 2, Fixed{0, 0}, 1, -1); },
         {"buttons", 2, 5}, {320, 101, 64, 64}},
    };
    for (const auto& p : cases) expect_placed(p);
}

TEST_F(Primitives, FollowTheCamera) {
    ctx().transform.center = {7 * U, -3 * U};
    expect_placed({"plant under the camera", [](DrawContext& c) { return c.draw_plant(0, 2, 7 * U, -3 * U); },
                   {"plants", 2, 0}, {304, 134, 32, 64}});
    ctx().transform.width = 500;
    ctx().transform.height = 300;
    expect_placed({"ground in a smaller view", [](DrawContext& c) { return c.draw_ground(4, std::nullopt, 7 * U, -3 * U); },
                   {"ground", 4, 0}, {234, 136, 32, 32}});
}

class WideView : public Primitives {
public:
    WideView() {
        window_w = 960;
        window_h = 540;
    }
};

TEST_F(WideView, ButtonWithoutAnchorSitsNearTheBottomRightCorner) {
    expect_placed({"corner button", [](DrawContext& c) { return c.draw_button(0, 0, std::nullopt, 0, 0); },
                   {"buttons", 0, 0}, {832, 461, 64, 64}});
    // The grid steps are 32 pixels across and 44 down, and the corner moves with the camera.
    ctx().transform.center = {-40 * U, 12 * U};
    expect_placed({"grid step", [](DrawContext& c) { return c.draw_button(1, 3, std::nullopt, -2, -1); },
                   {"buttons", 3, 1}, {768, 417, 64, 64}});
}

TEST_F(Primitives, ClampZeroSizesToOnePixel) {
    ASSERT_TRUE(ctx().copy(ctx().ground.get(), {64, 0, 0, 0}, {10, 10, 0, 0}));
    EXPECT_EQ(identify(pixel(10, 10)), (std::optional<CellId>{{"ground", 2, 0}}));
    EXPECT_EQ(pixel(11, 10), BACKGROUND);
    EXPECT_EQ(pixel(10, 11), BACKGROUND);
    ASSERT_TRUE(ctx().copy_whole(ctx().intro.get(), {20, 20, 0, -5}));
    EXPECT_EQ(identify(pixel(20, 20)), (std::optional<CellId>{{"intro", 0, 0}}));
    EXPECT_EQ(pixel(21, 20), BACKGROUND);
}

TEST_F(Primitives, ClampFarAwayRectanglesBeforeSdlSeesThem) {
    // Unclamped, this rectangle would reach from far left across the first 100 pixels.
    const int far = -(1 << 30) - 100;
    ASSERT_TRUE(ctx().copy(ctx().ground.get(), {0, 0, 32, 32}, {far, 0, (1 << 30) + 200, 10}));
    EXPECT_EQ(pixel(50, 5), BACKGROUND);
    // Positions at the ends of the 32-bit range wrap into the view transform and stay harmless.
    ctx().transform.center = {INT32_MIN, INT32_MIN};
    ASSERT_TRUE(ctx().draw_ground(0xFFFFFFFFu, std::nullopt, INT32_MAX, INT32_MAX));
    ASSERT_TRUE(ctx().draw_tool(0xFFFFFFFFu, 0xFFFFFFFFu, true, 0, 0, INT32_MAX, INT32_MIN));
    ASSERT_TRUE(ctx().draw_button(0xFFFFFFFFu, 0xFFFFFFFFu, std::nullopt, INT16_MIN, INT16_MAX));
}

struct Modulation {
    const char* what;
    TexturePtr DrawContext::*sheet;
    std::function<DrawResult(DrawContext&)> draw;
    SDL_Point probe;
    std::array<std::uint8_t, 3> expected;
};

TEST_F(Primitives, ModulateByTheirColourTimesTheTintAndRestoreTheTint) {
    const std::vector<std::pair<std::uint32_t, std::vector<Modulation>>> cases{
        {0xFFFFFF,
         {{"flowers white on white", &DrawContext::flowers, [](DrawContext& c) { return c.draw_flowers(0, 0, 0xFFFFFF, 0, 0); },
           {320, 180}, {254, 254, 254}},
          {"flowers grey", &DrawContext::flowers, [](DrawContext& c) { return c.draw_flowers(0, 0, 0x808080, 0, 0); },
           {320, 180}, {127, 127, 127}},
          {"ground without colour", &DrawContext::ground, [](DrawContext& c) { return c.draw_ground(0, std::nullopt, 0, 0); },
           {320, 180}, {255, 255, 255}}}},
        {0x326496,  // red 150, green 100, blue 50
         {{"flowers", &DrawContext::flowers, [](DrawContext& c) { return c.draw_flowers(1, 0, 0x0080FF, 0, 0); },
           {320, 180}, {149, 50, 0}},
          {"ground in yellow", &DrawContext::ground, [](DrawContext& c) { return c.draw_ground(4, 0x00FFFF, 0, 0); },
           {320, 180}, {149, 99, 0}},
          {"ground without colour", &DrawContext::ground, [](DrawContext& c) { return c.draw_ground(0, std::nullopt, 0, 0); },
           {320, 180}, {150, 100, 50}},
          {"plant", &DrawContext::plants, [](DrawContext& c) { return c.draw_plant(0, 0, 0, 0); }, {320, 180}, {150, 100, 50}},
          {"gardener", &DrawContext::lily, [](DrawContext& c) { return c.draw_lily(0, 0, 0, 0); }, {320, 180}, {150, 100, 50}},
          {"arm", &DrawContext::arms, [](DrawContext& c) { return c.draw_arm(0, 0, 0, 0, 0, 0); }, {320, 185}, {150, 100, 50}},
          {"tool", &DrawContext::tools, [](DrawContext& c) { return c.draw_tool(0, 0, false, 0, 0, 0, 0); }, {320, 180},
           {150, 100, 50}},
          {"button is never tinted", &DrawContext::buttons,
           [](DrawContext& c) { return c.draw_button(0, 0, Fixed{0, 0}, 0, 0); }, {320, 170}, {255, 255, 255}}}},
    };
    for (const auto& [tint, draws] : cases) {
        for (const auto& m : draws) {
            // A white sheet shows the modulation of the copy as the pixel itself.
            ctx().*m.sheet = white_sheet(renderer(), 512, 1024);
            ctx().set_tint(tint);
            clear();
            ASSERT_TRUE(m.draw(ctx())) << m.what;
            const std::uint32_t px = pixel(m.probe.x, m.probe.y);
            const std::array<std::uint8_t, 3> got{static_cast<std::uint8_t>(px), static_cast<std::uint8_t>(px >> 8),
                                                  static_cast<std::uint8_t>(px >> 16)};
            EXPECT_EQ(got, m.expected) << m.what;
            const bool tinted_sheet = m.sheet != &DrawContext::buttons;
            const std::array<std::uint8_t, 3> after = tinted_sheet
                ? std::array<std::uint8_t, 3>{ctx().tint.r, ctx().tint.g, ctx().tint.b}
                : std::array<std::uint8_t, 3>{255, 255, 255};
            EXPECT_EQ(colour_mod((ctx().*m.sheet).get()), after) << m.what << " left its sheet modulated";
        }
    }
}

TEST_F(Primitives, ReportSdlsCopyErrorAsAString) {
    // A sheet made by another renderer cannot be copied by this one.
    const Canvas other = test::make_canvas(64, 64);
    const std::vector<std::pair<TexturePtr DrawContext::*, std::function<DrawResult(DrawContext&)>>> cases{
        {&DrawContext::ground, [](DrawContext& c) { return c.draw_ground(0, std::nullopt, 0, 0); }},
        {&DrawContext::ground, [](DrawContext& c) { return c.draw_ground(0, 0xFFFFFF, 0, 0); }},
        {&DrawContext::plants, [](DrawContext& c) { return c.draw_plant(0, 0, 0, 0); }},
        {&DrawContext::flowers, [](DrawContext& c) { return c.draw_flowers(0, 0, 0xFFFFFF, 0, 0); }},
        {&DrawContext::lily, [](DrawContext& c) { return c.draw_lily(0, 0, 0, 0); }},
        {&DrawContext::arms, [](DrawContext& c) { return c.draw_arm(0, 0, 0, 0, 0, 0); }},
        {&DrawContext::tools, [](DrawContext& c) { return c.draw_tool(0, 0, true, 0, 0, 0, 0); }},
        {&DrawContext::buttons, [](DrawContext& c) { return c.draw_button(0, 0, std::nullopt, 0, 0); }},
        {&DrawContext::intro, [](DrawContext& c) { return c.draw_intro(); }},
    };
    for (const auto& [sheet, draw] : cases) {
        ctx().*sheet = white_sheet(other->renderer(), 64, 64);
        const auto result = draw(ctx());
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error().kind, DrawError::Kind::String);
        EXPECT_FALSE(result.error().message.empty());
    }
}

// ---------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------

TEST(DaytimeText, ReadsTheClockOfTheDay) {
    const std::vector<std::pair<std::uint16_t, const char*>> cases{
        {0, "Day 1 5:00 am"},      {31, "Day 1 5:00 am"},     {32, "Day 1 5:01 am"},  {1919, "Day 1 5:59 am"},
        {1920, "Day 1 6:00 am"},   {13439, "Day 1 11:59 am"}, {NOON, "Day 1 12:00 pm"}, {15359, "Day 1 12:59 pm"},
        {15360, "Day 1 1:00 pm"},  {26879, "Day 1 6:59 pm"},  {DAY_END, "Day 1 7:00 pm"},
    };
    for (const auto& [tick, text] : cases) EXPECT_EQ(daytime_text(1, tick), text) << tick;
    EXPECT_EQ(daytime_text(0, NOON), "Day 0 12:00 pm");
    EXPECT_EQ(daytime_text(18446744073709551615ull, 0), "Day 18446744073709551615 5:00 am");
}

TEST(FrameTimeText, TruncatesToWholeMicroseconds) {
    using std::chrono::nanoseconds;
    const std::vector<std::pair<std::int64_t, const char*>> cases{
        {16666667, "16.666 ms"},
        {2000000000, "2000.000 ms"},
        {0, "0.000 ms"},
        {999, "0.000 ms"},
        {1000, "0.001 ms"},
        {32999999, "32.999 ms"},
        {INT64_MAX, "9223372036854.775 ms"},
        // A clock that ran backwards is not worth a garbled corner.
        {-5000000, "0.000 ms"},
    };
    for (const auto& [ns, text] : cases) EXPECT_EQ(frame_time_text(nanoseconds(ns)), text) << ns;
}

// ---------------------------------------------------------------------------------------------
// Panels
// ---------------------------------------------------------------------------------------------

class Panels : public HeadlessDraw {
protected:
    // The screen after `draw`, and the screen after copying the given textures at the given
    // rectangles by hand over `base` (the background unless stated): they must match exactly.
    struct Expected {
        SDL_Texture* texture;
        SDL_Rect at;
    };
    void expect_screen(const std::function<DrawResult(DrawContext&)>& draw, const std::vector<Expected>& copies,
                       std::optional<std::uint32_t> base = std::nullopt) {
        clear();
        ASSERT_TRUE(draw(ctx()));
        const auto got = read_screen(renderer());
        clear(base.value_or(BACKGROUND));
        for (const auto& e : copies) SDL_RenderCopy(renderer(), e.texture, nullptr, &e.at);
        const auto want = read_screen(renderer());
        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [](std::uint32_t p) { return p != BACKGROUND; }))
            << "nothing was drawn";
        EXPECT_TRUE(got == want) << "the screen differs from the expected placement";
    }
    TexturePtr text(TTF_Font* font, std::uint32_t colour, const std::string& s) {
        auto t = DrawContext::gen_text(ctx().texture_creator, font, colour, s);
        EXPECT_TRUE(t.has_value());
        return t ? std::move(*t) : nullptr;
    }
};

TEST_F(Panels, ClockSitsInTheTopLeftCorner) {
    const auto t = text(ctx().medium_font.get(), WHITE, "Day 3 12:00 pm");
    const SDL_Point s = size_of(t.get());
    expect_screen([](DrawContext& c) { return c.draw_daytime(3, NOON); }, {{t.get(), {0, 0, s.x, s.y}}});
}

TEST_F(Panels, FrameTimeSitsFlushWithTheTopRightCornerOfTheRealViewport) {
    const auto t = text(ctx().medium_font.get(), WHITE, "16.666 ms");
    const SDL_Point s = size_of(t.get());
    // The stored view size is stale on purpose: the viewport decides.
    ctx().transform.width = 100;
    expect_screen([](DrawContext& c) { return c.draw_frame_time(std::chrono::nanoseconds(16666667)); },
                  {{t.get(), {640 - s.x, 0, s.x, s.y}}});
}

TEST_F(Panels, LevelLabelStandsOneRowAboveItsPosition) {
    const auto t = text(ctx().small_font.get(), YELLOW, "L3");
    const SDL_Point s = size_of(t.get());
    // The point one row above the centre is (320, 158); the label is centred on it, bottom edge on it.
    expect_screen([](DrawContext& c) { return c.draw_level(0, 0, 3); }, {{t.get(), {320 - s.x / 2, 158 - s.y, s.x, s.y}}});
    const auto t2 = text(ctx().small_font.get(), YELLOW, "L65535");
    const SDL_Point s2 = size_of(t2.get());
    expect_screen([](DrawContext& c) { return c.draw_level(-4 * U, 2 * U, 65535); },
                  {{t2.get(), {256 - s2.x / 2, 202 - s2.y, s2.x, s2.y}}});
}

TEST_F(Panels, IntroIsCentredOnTheScreen) {
    expect_screen([](DrawContext& c) { return c.draw_intro(); }, {{ctx().intro.get(), {260, 140, 120, 80}}});
    EXPECT_EQ(identify(pixel(260, 140)), (std::optional<CellId>{{"intro", 0, 0}}));
    EXPECT_EQ(identify(pixel(379, 219)), (std::optional<CellId>{{"intro", 0, 0}}));
    EXPECT_EQ(pixel(259, 140), BACKGROUND);
    EXPECT_EQ(pixel(380, 219), BACKGROUND);
}

TEST_F(Panels, NewDayClearsToBlackAndCentresBothLines) {
    const auto day = text(ctx().large_font.get(), WHITE, "Day 2");
    const SDL_Point d = size_of(day.get());
    const SDL_Point dawn = size_of(ctx().dawn_of.get());
    expect_screen([](DrawContext& c) { return c.draw_new_day(2); },
                  {{ctx().dawn_of.get(), {320 - dawn.x / 2, 176 - dawn.y, dawn.x, dawn.y}},
                   {day.get(), {320 - d.x / 2, 184, d.x, d.y}}},
                  0xFF000000);
    std::array<std::uint8_t, 4> colour{};
    SDL_GetRenderDrawColor(renderer(), &colour[0], &colour[1], &colour[2], &colour[3]);
    EXPECT_EQ(colour, (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
}

TEST_F(Panels, GenomeLabelsStandSideBySideAtTheFirstLabelsSize) {
    // Fresh renderings of the expected words, squeezed into the cc label's box as the panel does.
    const auto cc = text(ctx().small_font.get(), CYAN, "cc");
    const auto mm = text(ctx().small_font.get(), MAGENTA, "Mm");
    const auto yy = text(ctx().small_font.get(), YELLOW, "YY");
    const SDL_Point s = size_of(ctx().genome_textures[0][0].get());
    const int top = 180 + 22 - s.y / 2;
    const int x = 320 + 16;
    expect_screen([](DrawContext& c) { return c.draw_genome(U, U, 0x020100); },
                  {{cc.get(), {x - 3 * s.x / 2, top, s.x, s.y}},
                   {mm.get(), {x - s.x / 2, top, s.x, s.y}},
                   {yy.get(), {x + s.x / 2, top, s.x, s.y}}});
}

TEST_F(DrawContextDeathTest, GenomeCountAboveTwoIsABrokenFlower) {
    for (const std::uint32_t counts : {0x000003u, 0x000300u, 0x030000u, 0x0000FFu}) {
        EXPECT_EXIT((void)ctx().draw_genome(0, 0, counts), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                    HasSubstr("Not a real allele pair!"))
            << counts;
    }
}

// ---------------------------------------------------------------------------------------------
// Meter
// ---------------------------------------------------------------------------------------------

struct Pixel {
    int x, y;
    friend auto operator<=>(const Pixel&, const Pixel&) = default;
};
void PrintTo(const Pixel& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
using PixelSet = std::set<Pixel>;

constexpr std::uint32_t METER_BLUE = 0xFFFF0000;
constexpr std::uint32_t METER_GREY = 0xFF808080;

class Meter : public HeadlessDraw {
protected:
    // The meter's point is the screen centre moved by (dx, dy) = (10, -10): (330, 170). The sets
    // hold offsets from that point.
    struct Reading {
        PixelSet grey, fill, other;
    };
    Reading draw(std::uint8_t value, bool mirrored) {
        clear();
        EXPECT_TRUE(ctx().draw_meter(0, 0, 10, -10, mirrored, METER_BLUE, value));
        Reading r;
        const SDL_Rect box{330 - 12, 170 - 12, 25, 25};
        const auto pixels = read_region(renderer(), box);
        for (int y = 0; y < box.h; ++y) {
            for (int x = 0; x < box.w; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y * box.w + x)];
                const Pixel at{box.x + x - 330, box.y + y - 170};
                if (p == METER_GREY) r.grey.insert(at);
                else if (p == METER_BLUE) r.fill.insert(at);
                else if (p != BACKGROUND) r.other.insert(at);
            }
        }
        return r;
    }
    static PixelSet mirror(const PixelSet& s) {
        PixelSet m;
        for (const auto& p : s) m.insert({-p.x, p.y});
        return m;
    }
    static PixelSet minus(const PixelSet& a, const PixelSet& b) {
        PixelSet out;
        std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
        return out;
    }
};

TEST_F(Meter, EmptyShowsOnlyTheTwoPixelOutlineOfTheRightHalf) {
    const Reading r = draw(0, false);
    EXPECT_TRUE(r.fill.empty());
    EXPECT_TRUE(r.other.empty());
    // The tips of both slants and the full side, two pixels thick.
    for (const Pixel p : {Pixel{0, 8}, Pixel{0, 7}, Pixel{0, -8}, Pixel{0, -7}, Pixel{7, 0}, Pixel{6, 0}, Pixel{7, 4},
                          Pixel{7, -4}, Pixel{6, 4}, Pixel{6, -4}}) {
        EXPECT_TRUE(r.grey.contains(p)) << p.x << "," << p.y;
    }
    for (const auto& p : r.grey) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 7 && p.y >= -8 && p.y <= 8) << p.x << "," << p.y;
    }
    EXPECT_FALSE(r.grey.contains(Pixel{5, 0})) << "the side is two pixels thick, not three";
    EXPECT_FALSE(r.grey.contains(Pixel{0, 0})) << "the left half stays open";
}

TEST_F(Meter, FillsTheEdgeFromTheBottomInSixteenSteps) {
    const PixelSet outline = draw(0, false).grey;
    std::vector<PixelSet> fills;
    for (int v = 0; v <= 40; ++v) fills.push_back(draw(static_cast<std::uint8_t>(v), false).fill);

    // The two shortest fill lines of value 1.
    EXPECT_EQ(fills[1], (PixelSet{{0, 8}, {1, 7}, {0, 7}, {1, 6}}));
    // Each even step adds to the fill, odd values repeat the one below (but 9 and 25 start a
    // new section), and everything is drawn over the outline.
    for (int v = 1; v <= 40; ++v) {
        EXPECT_TRUE(std::includes(fills[static_cast<std::size_t>(v)].begin(), fills[static_cast<std::size_t>(v)].end(),
                                  fills[static_cast<std::size_t>(v - 1)].begin(), fills[static_cast<std::size_t>(v - 1)].end()))
            << v;
        EXPECT_TRUE(minus(fills[static_cast<std::size_t>(v)], outline).empty()) << "value " << v << " strays off the edge";
        static const std::set<int> STEPS{1, 4, 6, 8, 9, 12, 14, 16, 18, 20, 22, 24, 25, 28, 30, 32};
        const bool grows = STEPS.contains(v);
        EXPECT_EQ(fills[static_cast<std::size_t>(v)] != fills[static_cast<std::size_t>(v - 1)], grows) << v;
    }
    // Value 8: the lower slant and nothing above it.
    for (const auto& p : fills[8]) EXPECT_GE(p.y, 3) << p.x << "," << p.y;
    EXPECT_TRUE(fills[8].contains(Pixel{7, 4}));
    // Value 9: the first step of the side, both columns.
    EXPECT_EQ(minus(fills[9], fills[8]), (PixelSet{{6, 3}}));
    for (const Pixel p : {Pixel{6, 3}, Pixel{7, 3}, Pixel{6, 4}, Pixel{7, 4}}) EXPECT_TRUE(fills[9].contains(p));
    EXPECT_FALSE(fills[9].contains(Pixel{6, 2}) || fills[9].contains(Pixel{7, 2}));
    // Value 24: the whole side.
    PixelSet side;
    for (int y = -4; y <= 4; ++y) side.insert({{6, y}, {7, y}});
    EXPECT_EQ(minus(fills[24], fills[8]), minus(side, fills[8]));
    // Value 25: the upper slant begins.
    EXPECT_FALSE(minus(fills[25], fills[24]).empty());
    for (const auto& p : minus(fills[25], fills[24])) EXPECT_LT(p.y, -4);
    // From 32 on, the whole edge.
    EXPECT_EQ(fills[32], outline);
    EXPECT_EQ(fills[40], outline);
}

TEST_F(Meter, FullMeterLeavesNoGreyAndMirroringFlipsEveryPixel) {
    for (const std::uint8_t v : {std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{8}, std::uint8_t{9}, std::uint8_t{24},
                                 std::uint8_t{25}, std::uint8_t{32}, std::uint8_t{255}}) {
        const Reading right = draw(v, false);
        const Reading left = draw(v, true);
        EXPECT_EQ(left.grey, mirror(right.grey)) << int{v};
        EXPECT_EQ(left.fill, mirror(right.fill)) << int{v};
        EXPECT_TRUE(right.other.empty() && left.other.empty()) << int{v};
    }
    const Reading full = draw(255, false);
    EXPECT_TRUE(full.grey.empty());
    EXPECT_EQ(full.fill, draw(0, false).grey);
    std::array<std::uint8_t, 4> colour{};
    SDL_GetRenderDrawColor(renderer(), &colour[0], &colour[1], &colour[2], &colour[3]);
    EXPECT_EQ(colour, (std::array<std::uint8_t, 4>{0, 0, 255, 255})) << "the meter leaves its colour set";
}

}  // namespace
}  // namespace qm
