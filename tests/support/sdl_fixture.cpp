// The headless SDL fixture: synthetic sheets whose every cell has its own colour, a scratch run
// directory with the font, a software renderer on the dummy video driver.
#include "sdl_fixture.hpp"

#include <SDL_image.h>

#include <cstdlib>
#include <fstream>
#include <expected>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qm::test {

namespace {

constexpr SheetLayout synthetic(SheetId id) {
    const SheetSpec& spec = sheet_spec(id);
    SheetLayout layout{spec.name.data(), static_cast<std::uint8_t>(std::to_underlying(id)), spec.cell_w, spec.cell_h,
                       spec.columns, spec.rows};
    switch (id) {
        case SheetId::ground: layout.columns += 2; break;
        case SheetId::arms: layout.columns += 1; break;
        case SheetId::buttons:
            layout.columns += 2;
            layout.rows += 4;
            break;
        case SheetId::intro:
            layout.cell_w = 120;
            layout.cell_h = 80;
            break;
        default: break;
    }
    return layout;
}

constexpr std::array<SheetLayout, SHEET_COUNT> synthetic_sheets() {
    std::array<SheetLayout, SHEET_COUNT> sheets{};
    for (std::size_t k = 0; k < SHEET_COUNT; ++k) sheets[k] = synthetic(static_cast<SheetId>(k));
    return sheets;
}

}  // namespace

const std::array<SheetLayout, SHEET_COUNT> SYNTHETIC_SHEETS = synthetic_sheets();

const SheetLayout& sheet_layout(std::string_view name) {
    for (const auto& sheet : SYNTHETIC_SHEETS) {
        if (name == sheet.name) return sheet;
    }
    throw std::invalid_argument("no synthetic sheet named " + std::string(name));
}

// Red names the sheet, green the column, blue the row; steps of 20 keep them apart even after
// the renderer's rounding.
std::uint32_t cell_colour(const SheetLayout& sheet, int column, int row) {
    const auto r = static_cast<std::uint32_t>(8 + 20 * sheet.id);
    const auto g = static_cast<std::uint32_t>(5 + 20 * column);
    const auto b = static_cast<std::uint32_t>(5 + 20 * row);
    return r | g << 8 | b << 16 | 0xFF000000u;
}

std::optional<CellId> identify(std::uint32_t pixel) {
    // Cells modulated by a near-white colour come back a step darker; a few levels of slack
    // still name them, while the 20-level grid keeps neighbours apart.
    const auto level = [](std::uint32_t channel, int base) -> std::optional<int> {
        const int v = static_cast<int>(channel & 0xFF) - base;
        const int k = (v + 10) / 20;
        if (v < -3 || k < 0 || std::abs(v - 20 * k) > 3) return std::nullopt;
        return k;
    };
    const auto id = level(pixel, 8);
    const auto column = level(pixel >> 8, 5);
    const auto row = level(pixel >> 16, 5);
    if (!id || !column || !row) return std::nullopt;
    for (const auto& sheet : SYNTHETIC_SHEETS) {
        if (sheet.id == *id && *column < sheet.columns && *row < sheet.rows) return CellId{sheet.name, *column, *row};
    }
    return std::nullopt;
}

std::string describe(std::uint32_t pixel) {
    if (const auto id = identify(pixel)) {
        return std::string(id->sheet) + "(" + std::to_string(id->column) + "," + std::to_string(id->row) + ")";
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06x", pixel & 0xFFFFFF);
    return buf;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmarsh-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

namespace {

void write_sheet(const std::filesystem::path& file, const SheetLayout& sheet) {
    const SurfacePtr surface{SDL_CreateRGBSurfaceWithFormat(0, sheet.cell_w * sheet.columns,
                                                            sheet.cell_h * sheet.rows, 32, SDL_PIXELFORMAT_RGBA32)};
    if (!surface) throw std::runtime_error(SDL_GetError());
    for (int row = 0; row < sheet.rows; ++row) {
        for (int column = 0; column < sheet.columns; ++column) {
            const std::uint32_t c = cell_colour(sheet, column, row);
            const SDL_Rect rect{column * sheet.cell_w, row * sheet.cell_h, sheet.cell_w, sheet.cell_h};
            SDL_FillRect(surface.get(), &rect,
                         SDL_MapRGBA(surface->format, static_cast<Uint8>(c), static_cast<Uint8>(c >> 8),
                                     static_cast<Uint8>(c >> 16), 255));
        }
    }
    if (IMG_SavePNG(surface.get(), file.c_str()) != 0) throw std::runtime_error(SDL_GetError());
}

}  // namespace

void write_synthetic_run_dir(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "assets");
    for (const auto& sheet : SYNTHETIC_SHEETS) write_sheet(dir / "assets" / (std::string(sheet.name) + ".png"), sheet);
    const auto font = dir / FONT_PATH;
    std::filesystem::create_directories(font.parent_path());
    std::filesystem::create_symlink(SYSTEM_FONT, font);
}

void corrupt_sheet(const std::filesystem::path& dir, std::string_view name) {
    std::ofstream out(dir / "assets" / (std::string(name) + ".png"), std::ios::binary | std::ios::trunc);
    out << "this is not a picture of anything";
}

namespace {

// A part of SDL the tests need: up, or the test stops with the library's error.
template <class Guard>
Guard needed(std::expected<Guard, std::string> acquired, const char* what) {
    if (!acquired) throw std::runtime_error(std::string(what) + ": " + acquired.error());
    return std::move(*acquired);
}

SdlCore headless_core() {
    // Tests run headless whatever the caller's environment says.
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    return needed(SdlCore::acquire(), "SDL");
}

}  // namespace

SdlSession::SdlSession()
    : core_(headless_core()),
      video_(needed(SdlSubsystem::acquire(SDL_INIT_VIDEO), "SDL")),
      ttf_(needed(TtfContext::acquire(), "TTF")) {}

Canvas make_canvas(int w, int h) {
    WindowPtr window{SDL_CreateWindow("Quillmarsh", 0, 0, w, h, SDL_WINDOW_HIDDEN)};
    if (!window) throw std::runtime_error(std::string("window: ") + SDL_GetError());
    SDL_Renderer* renderer = SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) throw std::runtime_error(std::string("renderer: ") + SDL_GetError());
    return std::make_shared<RendererContext>(std::move(window), renderer);
}

std::uint32_t read_pixel(SDL_Renderer* renderer, int x, int y) {
    std::uint32_t value = 0;
    const SDL_Rect rect{x, y, 1, 1};
    if (SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_RGBA32, &value, 4) != 0) {
        throw std::runtime_error(std::string("read pixels: ") + SDL_GetError());
    }
    return value;
}

void HeadlessDraw::SetUp() {
    sdl_.emplace();
    run_dir_.emplace();
    write_synthetic_run_dir(run_dir_->path());
    cwd_.emplace(run_dir_->path());
    canvas_ = make_canvas(window_w, window_h);
    auto built = build_context();
    ASSERT_TRUE(built.has_value()) << built.error().to_string();
    ctx_.emplace(std::move(*built));
    clear();
}

void HeadlessDraw::TearDown() {
    ctx_.reset();
    canvas_.reset();
    cwd_.reset();
    run_dir_.reset();
    sdl_.reset();
}

std::expected<DrawContext, DrawError> HeadlessDraw::build_context() { return DrawContext::create(canvas_, canvas_); }

void HeadlessDraw::clear(std::uint32_t colour) {
    SDL_SetRenderDrawColor(renderer(), static_cast<Uint8>(colour), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour >> 16), 255);
    SDL_RenderClear(renderer());
}

TexturePtr white_sheet(SDL_Renderer* renderer, int w, int h) {
    TexturePtr t{SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, w, h)};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xFFFFFFFFu);
    SDL_UpdateTexture(t.get(), nullptr, pixels.data(), w * 4);
    return t;
}

}  // namespace qm::test
