// Broken installs: sheets whose header declares an absurd size or a size too small for their grid
// are refused before they are decoded, every load error names its file, and a font that opens
// but draws none of the game's characters stops the game.
#include "sheet_header.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <SDL_image.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "fatal.hpp"
#include "support/sdl_fixture.hpp"

namespace qm {
namespace {

using ::testing::HasSubstr;

// A PNG signature and IHDR declaring w × h, and no image data after it.
std::vector<std::uint8_t> png_header(std::uint32_t w, std::uint32_t h) {
    std::vector<std::uint8_t> b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t v : {w, h}) {
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    return b;
}

TEST(SheetHeaderTest, ReadsTheDeclaredSizeOnlyFromAPngHeader) {
    EXPECT_EQ(png_header_size(png_header(192, 32)), (PixelSize{192, 32}));
    EXPECT_EQ(png_header_size(png_header(60000, 70000)), (PixelSize{60000, 70000}));
    auto bmp = png_header(192, 32);
    bmp[1] = 'B';
    EXPECT_EQ(png_header_size(bmp), std::nullopt);
    const auto whole = png_header(192, 32);
    EXPECT_EQ(png_header_size(std::span(whole).first(23)), std::nullopt);
}

TEST(SheetHeaderTest, RefusesSidesBeyondTheLimitAndSizesBelowTheGrid) {
    struct Case {
        PixelSize size, grid;
        std::optional<std::string> problem;
    };
    const std::vector<Case> cases{
        {{8, 8}, {192, 32}, "assets/ground.png is 8×8 pixels; its grid needs at least 192×32"},
        {{192, 31}, {192, 32}, "assets/ground.png is 192×31 pixels; its grid needs at least 192×32"},
        {{192, 32}, {192, 32}, std::nullopt},
        {{16384, 16384}, {1, 1}, std::nullopt},
        {{16385, 1}, {1, 1}, "assets/ground.png is 16385×1 pixels; the largest sheet the game can use is 16384×16384"},
        {{1, 60000}, {1, 1}, "assets/ground.png is 1×60000 pixels; the largest sheet the game can use is 16384×16384"},
    };
    for (const auto& c : cases) EXPECT_EQ(sheet_size_problem("assets/ground.png", c.size, c.grid), c.problem);
}

class BrokenSheet : public test::HeadlessDraw, public ::testing::WithParamInterface<const char*> {
protected:
    std::filesystem::path file() const { return run_dir_->path() / "assets" / (std::string(GetParam()) + ".png"); }
    std::string refusal() {
        auto built = build_context();
        EXPECT_FALSE(built.has_value());
        if (built) return {};
        EXPECT_EQ(built.error().kind, DrawError::Kind::String);
        return built.error().message;
    }
};

TEST_P(BrokenSheet, IsRefusedWithAMessageNamingTheFile) {
    const std::string name = std::string("assets/") + GetParam() + ".png";
    const auto header = png_header(60000, 60000);
    std::ofstream(file(), std::ios::binary).write(reinterpret_cast<const char*>(header.data()), 24);
    EXPECT_EQ(refusal(), name + " is 60000×60000 pixels; the largest sheet the game can use is 16384×16384");

    test::corrupt_sheet(run_dir_->path(), GetParam());
    EXPECT_EQ(refusal(), name + ": Unsupported image format");

    const SurfacePtr tiny{SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_RGBA32)};
    ASSERT_EQ(IMG_SavePNG(tiny.get(), file().c_str()), 0);
    if (name == "assets/intro.png") {
        EXPECT_TRUE(build_context().has_value()) << "the title card is drawn at any size";
    } else {
        EXPECT_THAT(refusal(), HasSubstr(name + " is 1×1 pixels; its grid needs at least "));
    }
}

INSTANTIATE_TEST_SUITE_P(EverySheet, BrokenSheet,
                         ::testing::Values("ground", "plants", "flowers", "lily", "arms", "tools", "shed", "move_pad",
                                           "buttons", "top_buttons", "intro"));

using BrokenFontDeathTest = test::HeadlessDraw;

TEST_F(BrokenFontDeathTest, StopsNamingTheFontWhenItCannotBeReadOrDrawsNothing) {
    const auto font = run_dir_->path() / FONT_PATH;
    std::ifstream in(test::SYSTEM_FONT, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    // The records of the glyph tables (outlines or bitmaps) point past the end: the font opens,
    // and every glyph is empty.
    const auto tables = static_cast<std::size_t>(static_cast<std::uint8_t>(bytes[4]) << 8 | static_cast<std::uint8_t>(bytes[5]));
    for (std::size_t k = 0; k < tables; ++k) {
        char* record = &bytes[12 + 16 * k];
        const std::string_view tag(record, 4);
        if (tag == "glyf" || tag == "EBDT" || tag == "EBLC") record[8] = 0x7F;
    }
    std::filesystem::remove(font);
    std::ofstream(font, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_EXIT((void)build_context(), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                HasSubstr(std::string("`Err` value: ") + FONT_PATH + " has no glyph for 'D'"));

    std::ofstream(font, std::ios::binary | std::ios::trunc) << "not a font";
    EXPECT_EXIT((void)build_context(), ::testing::ExitedWithCode(FATAL_EXIT_STATUS),
                HasSubstr(std::string("`Err` value: ") + FONT_PATH + ": Couldn't load font file"));
}

}  // namespace
}  // namespace qm
