// A headless SDL set-up for drawing tests: the dummy video driver, a software renderer, and a
// scratch run directory holding small solid-colour sprite sheets and the game font.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "graphics.hpp"
#include "sdl.hpp"

namespace qm::test {

// The cell grid of one synthetic sheet. Every cell is one solid colour that tells which sheet,
// column and row it came from, so a pixel read back names the sprite that landed there.
struct SheetLayout {
    const char* name;  // file stem under assets/
    std::uint8_t id;
    int cell_w;
    int cell_h;
    int columns;
    int rows;
};

// One per sheet of the game's table, in load order and with its cell size and grid. A few have
// spare cells so tests can draw past the real art, and the title card is small enough to find
// its edges in a test window. The tool sheet counts each variant as a column of its own.
extern const std::array<SheetLayout, SHEET_COUNT> SYNTHETIC_SHEETS;
const SheetLayout& sheet_layout(std::string_view name);

// Colour of a cell, red in the lowest byte, opaque.
std::uint32_t cell_colour(const SheetLayout& sheet, int column, int row);
inline std::uint32_t cell_colour(std::string_view sheet, int column, int row) {
    return cell_colour(sheet_layout(sheet), column, row);
}

// Which synthetic cell a pixel colour belongs to, if any.
struct CellId {
    std::string_view sheet;
    int column;
    int row;
    friend bool operator==(const CellId&, const CellId&) = default;
};
// An all-white sheet: whatever modulation a copy applies comes back as the pixel itself.
TexturePtr white_sheet(SDL_Renderer* renderer, int w, int h);

std::optional<CellId> identify(std::uint32_t pixel);
// What identify() should say of a pixel from that cell.
inline std::optional<CellId> cell_id(std::string_view sheet, int column, int row) { return CellId{sheet, column, row}; }
std::string describe(std::uint32_t pixel);

// The Debian font every test draws text with.
inline constexpr const char* SYSTEM_FONT = QM_SYSTEM_FONT;

// A fresh directory under the system temp dir, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Changes the working directory for a scope.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

// Writes the eleven synthetic sheets into <dir>/assets and the font under <dir>/pixeloid.
void write_synthetic_run_dir(const std::filesystem::path& dir);
// Overwrites one sheet with bytes that are not an image.
void corrupt_sheet(const std::filesystem::path& dir, std::string_view name);

// SDL core, video (dummy driver) and TTF, released in reverse order.
class SdlSession {
public:
    SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

private:
    SdlCore core_;
    SdlSubsystem video_;
    TtfContext ttf_;
};

// A hidden window of w × h with a software renderer.
Canvas make_canvas(int w, int h);

// Reads one pixel of the current render target, red in the lowest byte.
std::uint32_t read_pixel(SDL_Renderer* renderer, int x, int y);

// SDL up, a synthetic run directory as working directory, a window and a draw context on it.
// Tests that want another window size set `window_w`/`window_h` in their constructor.
class HeadlessDraw : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Rebuilds the context in the current run directory (after a sheet was removed, say).
    std::expected<DrawContext, DrawError> build_context();

    DrawContext& ctx() { return *ctx_; }
    SDL_Renderer* renderer() { return canvas_->renderer(); }
    std::uint32_t pixel(int x, int y) { return read_pixel(renderer(), x, y); }
    // Fills the target with one colour (red in the lowest byte) so that untouched pixels are known.
    void clear(std::uint32_t colour = BACKGROUND);

    static constexpr std::uint32_t BACKGROUND = 0xFF402010;  // a colour no synthetic cell has

    int window_w = 640;
    int window_h = 360;
    std::optional<SdlSession> sdl_;
    std::optional<ScratchDir> run_dir_;
    std::optional<WorkingDirectory> cwd_;
    Canvas canvas_;
    std::optional<DrawContext> ctx_;
};

}  // namespace qm::test
