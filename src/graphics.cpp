// The draw context: loading the fonts and sheets, fitting the scale to the window, the day tint,
// the sprite primitives and the text panels. Everything on screen passes through here.
//
// Sections: helpers | construction and text | scale and tint | the frame: drawn at the logical
// size, scaled once | sprite primitives | screens and panels.
#include "graphics.hpp"

#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <span>
#include <string_view>

#include "day_clock.hpp"
#include "fatal.hpp"
#include "sheet_header.hpp"
#include "ui.hpp"
#include "wrapping.hpp"

namespace qm {

// ---------------------------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------------------------

namespace {

// SDL's own arithmetic on rectangles overflows long before int32 does, so every coordinate is
// kept well inside it; real screen positions are never touched by this.
constexpr std::int64_t COORD_MIN = -(std::int64_t{1} << 30);
constexpr std::int64_t COORD_MAX = (std::int64_t{1} << 30) - 1;
constexpr std::int64_t SIZE_MIN = 1;

int clamp_coord(std::int64_t v) { return static_cast<int>(std::clamp(v, COORD_MIN, COORD_MAX)); }
int clamp_size(std::int64_t v) { return static_cast<int>(std::clamp(v, SIZE_MIN, COORD_MAX)); }

// A rectangle computed in wide arithmetic, so that sheet offsets and screen offsets cannot
// overflow before they are clamped.
struct WideRect {
    std::int64_t x, y, w, h;
};

SDL_Rect clamped(WideRect r) { return {clamp_coord(r.x), clamp_coord(r.y), clamp_size(r.w), clamp_size(r.h)}; }
SDL_Rect clamped(SDL_Rect r) { return clamped(WideRect{r.x, r.y, r.w, r.h}); }

std::uint8_t red_of(std::uint32_t c) { return static_cast<std::uint8_t>(c & 0xFF); }
std::uint8_t green_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
std::uint8_t blue_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
std::uint8_t alpha_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 24) & 0xFF); }

void set_colour_mod(SDL_Texture* texture, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (SDL_SetTextureColorMod(texture, r, g, b) != 0) {
        fatal(std::string("Error setting color mod: ") + SDL_GetError());
    }
}

// A colour of the caller's own, multiplied with the day tint. Dividing by 256 keeps it a shift;
// white on white therefore comes out as 254.
std::uint8_t modulate(std::uint8_t channel, std::uint8_t tint) {
    return static_cast<std::uint8_t>((unsigned{channel} * unsigned{tint}) >> 8);
}

void set_draw_colour(SDL_Renderer* renderer, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    if (SDL_SetRenderDrawColor(renderer, r, g, b, a) != 0) fatal(SDL_GetError());
}

struct TextureSize {
    std::int64_t w, h;
};

TextureSize texture_size(SDL_Texture* texture) {
    int w = 0;
    int h = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) fatal(SDL_GetError());
    return {w, h};
}

SDL_Rect viewport_of(SDL_Renderer* renderer) {
    SDL_Rect viewport{};
    SDL_RenderGetViewport(renderer, &viewport);
    return viewport;
}

SDL_Color sdl_colour(std::uint32_t c) { return {red_of(c), green_of(c), blue_of(c), alpha_of(c)}; }

// The member holding each sheet, by SheetId.
constexpr std::array<TexturePtr DrawContext::*, SHEET_COUNT> SHEET_MEMBERS{
#define QM_SHEET(name, ...) &DrawContext::name,
#include "sheets.def"
#undef QM_SHEET
};

struct RwCloser {
    void operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
};

// SDL's error text at hand, with the file's name in front unless the text names it already.
DrawError load_error(std::string_view path) {
    std::string text = SDL_GetError();
    if (text.find(path) == std::string::npos) text = std::string(path) + ": " + text;
    return DrawError::string(std::move(text));
}

// One sheet, its header checked before the decoder sees it: a header that declares an absurd
// size would have the decoder allocate it, and a sheet smaller than its grid would draw nothing.
// The same open file is checked and decoded, so what was checked is what gets loaded.
std::expected<TexturePtr, DrawError> load_sheet(SDL_Renderer* renderer, const std::string& path, PixelSize grid) {
    std::unique_ptr<SDL_RWops, RwCloser> file{SDL_RWFromFile(path.c_str(), "rb")};
    if (!file) return std::unexpected(load_error(path));
    std::array<std::uint8_t, PNG_HEADER_BYTES> head{};
    const std::size_t got = SDL_RWread(file.get(), head.data(), 1, head.size());
    if (const auto size = png_header_size(std::span(head).first(got))) {
        if (auto problem = sheet_size_problem(path, *size, grid)) {
            return std::unexpected(DrawError::string(std::move(*problem)));
        }
    }
    if (SDL_RWseek(file.get(), 0, RW_SEEK_SET) != 0) return std::unexpected(load_error(path));
    TexturePtr texture{IMG_LoadTexture_RW(renderer, file.get(), 0)};
    if (!texture) return std::unexpected(load_error(path));
    // Pictures of other kinds are the loader's business; their size is checked once decoded.
    const TextureSize loaded = texture_size(texture.get());
    const PixelSize size{static_cast<std::uint32_t>(loaded.w), static_cast<std::uint32_t>(loaded.h)};
    if (auto problem = sheet_size_problem(path, size, grid)) {
        return std::unexpected(DrawError::string(std::move(*problem)));
    }
    return texture;
}

// Every character the game ever writes: the dawn card, the clock, the frame time, hive levels
// and the genome labels.
constexpr std::string_view FONT_CHARACTERS = "Dawnof0123456789:.apmsyLcCmMY";

// A font can open and still be useless: a broken character map gives every character the empty
// glyph, and a broken glyph table gives glyphs without outlines, and either way the game would
// play on without a word on screen. A font that draws none of the game's characters is refused.
void check_font(TTF_Font* font) {
    for (const char c : FONT_CHARACTERS) {
        int min_x = 0, max_x = 0, min_y = 0, max_y = 0, advance = 0;
        const auto ch = static_cast<Uint16>(static_cast<unsigned char>(c));
        const bool drawn = TTF_GlyphIsProvided(font, ch) != 0 &&
                           TTF_GlyphMetrics(font, ch, &min_x, &max_x, &min_y, &max_y, &advance) == 0 &&
                           max_x > min_x && max_y > min_y;
        if (!drawn) fatal_unwrap(std::string(FONT_PATH) + " has no glyph for '" + c + "'");
    }
}

FontPtr open_font(int points) {
    FontPtr font{TTF_OpenFont(FONT_PATH, points)};
    // Without its font the game cannot say anything at all, not even why it stopped drawing.
    if (!font) {
        std::string text = TTF_GetError();
        if (text.find(FONT_PATH) == std::string::npos) text = std::string(FONT_PATH) + ": " + text;
        fatal_unwrap(text);
    }
    check_font(font.get());
    return font;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and text
// ---------------------------------------------------------------------------------------------

std::expected<DrawContext, DrawError> DrawContext::create(Canvas canvas_, TextureCreator texture_creator_) {
    DrawContext ctx;
    const SDL_Rect viewport = viewport_of(canvas_->renderer());

    ctx.large_font = open_font(36);
    ctx.medium_font = open_font(18);
    ctx.small_font = open_font(12);
    ctx.canvas = std::move(canvas_);
    ctx.texture_creator = std::move(texture_creator_);

    auto dawn = gen_text(ctx.texture_creator, ctx.medium_font.get(), WHITE, "Dawn of");
    if (!dawn) return std::unexpected(std::move(dawn.error()));
    ctx.dawn_of = std::move(*dawn);

    constexpr std::array<std::pair<std::uint32_t, const char*>, 3> GENES{
        {{CYAN, "c"}, {MAGENTA, "m"}, {YELLOW, "y"}}};
    for (std::size_t k = 0; k < GENES.size(); ++k) {
        auto labels = gen_genome_textures(ctx.texture_creator, ctx.small_font.get(), GENES[k].first,
                                          GENES[k].second);
        if (!labels) return std::unexpected(std::move(labels.error()));
        ctx.genome_textures[k] = std::move(*labels);
    }

    for (std::size_t k = 0; k < SHEET_COUNT; ++k) {
        const SheetSpec& spec = SHEETS[k];
        const std::string path = "assets/" + std::string(spec.name) + ".png";
        // The title card is drawn whole at its own size: any picture will do for it.
        const PixelSize grid = SheetId(k) == SheetId::intro
                                   ? PixelSize{1, 1}
                                   : PixelSize{static_cast<std::uint32_t>(spec.width()), static_cast<std::uint32_t>(spec.height())};
        auto sheet = load_sheet(ctx.texture_creator->renderer(), path, grid);
        // Whatever was built so far goes with ctx when we leave.
        if (!sheet) return std::unexpected(std::move(sheet.error()));
        ctx.*SHEET_MEMBERS[k] = std::move(*sheet);
    }

    ctx.transform = ScreenTransform{Fixed{0, 0}, viewport.w, viewport.h};
    ctx.scale = 1;
    ctx.tint = Tint{};
    ctx.scaling = SDL_RenderTargetSupported(ctx.renderer()) ? Scaling::Once : Scaling::PerCopy;
    return ctx;
}

std::expected<TexturePtr, DrawError> DrawContext::gen_text(const TextureCreator& creator, TTF_Font* font,
                                                            std::uint32_t colour, const std::string& text) {
    const SurfacePtr surface{TTF_RenderUTF8_Solid(font, text.c_str(), sdl_colour(colour))};
    if (!surface) return std::unexpected(DrawError::font(TTF_GetError()));
    TexturePtr texture{SDL_CreateTextureFromSurface(creator->renderer(), surface.get())};
    if (!texture) return std::unexpected(DrawError::texture_value(SDL_GetError()));
    return texture;
}

std::expected<std::array<TexturePtr, 3>, DrawError> DrawContext::gen_genome_textures(
    const TextureCreator& creator, TTF_Font* font, std::uint32_t colour, const std::string& letter) {
    std::string upper = letter;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // Index = number of dominant alleles, which is how the genome panel looks them up.
    const std::array<std::string, 3> texts{letter + letter, upper + letter, upper + upper};
    std::array<TexturePtr, 3> labels;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        auto label = gen_text(creator, font, colour, texts[k]);
        if (!label) return std::unexpected(std::move(label.error()));
        labels[k] = std::move(*label);
    }
    return labels;
}

// ---------------------------------------------------------------------------------------------
// Scale and tint
// ---------------------------------------------------------------------------------------------

std::uint32_t choose_scale(std::uint32_t current_scale, std::uint32_t viewport_w, std::uint32_t viewport_h) {
    // The window's area in physical pixels; a wrapped area only ever asks for a smaller scale.
    const std::uint32_t area = current_scale * current_scale * viewport_w * viewport_h;
    // area is below 2^32, so n = 92 (area / 8464 < 518400) always satisfies the bound; n² is
    // kept in 64 bits all the same so that no step of the search can wrap.
    std::uint64_t n = 1;
    while (area / (n * n) > MAX_LOGICAL_AREA) ++n;
    return static_cast<std::uint32_t>(n);
}

DrawResult DrawContext::adjust_scale() {
    SDL_Renderer* r = renderer();
    // The scale and the viewport read here are the window's, which SDL hides while a texture is
    // the target; a frame already begun carries on in a target fitted to the new size.
    const bool drawing = drawing_to_target_;
    if (drawing) QM_TRY(let_go_of_target());
    float scale_x = 1.0f;
    SDL_RenderGetScale(r, &scale_x, nullptr);
    // Truncated; anything below zero (or not a number) counts as zero, anything huge saturates.
    std::uint32_t current = 0;
    if (scale_x >= 4294967295.0f) current = 0xFFFFFFFFu;
    else if (scale_x >= 1.0f) current = static_cast<std::uint32_t>(scale_x);

    // The window's area in physical pixels. The output size says it exactly; the logical viewport
    // times the scale squared loses the remainder of an odd window side, and then a 961-pixel
    // wide window would flip between scale 1 and 2 on every frame.
    int out_w = 0;
    int out_h = 0;
    std::uint32_t n = 1;
    if (SDL_GetRendererOutputSize(r, &out_w, &out_h) == 0) {
        n = choose_scale(1, static_cast<std::uint32_t>(out_w), static_cast<std::uint32_t>(out_h));
    } else {
        const SDL_Rect viewport = viewport_of(r);
        n = choose_scale(current, static_cast<std::uint32_t>(viewport.w), static_cast<std::uint32_t>(viewport.h));
    }
    if (n != current) {
        const auto f = static_cast<float>(n);
        if (SDL_RenderSetScale(r, f, f) != 0) return std::unexpected(DrawError::from_sdl());
    }
    const SDL_Rect fitted = viewport_of(r);
    transform.width = fitted.w;
    transform.height = fitted.h;
    scale = n;
    if (drawing) return begin_frame();
    return {};
}

// ---------------------------------------------------------------------------------------------
// The frame: drawn at the logical size, scaled once
// ---------------------------------------------------------------------------------------------

void show_software_frames_plainly() {
    // On X11, SDL shows a software renderer's frame through an OpenGL texture. Without a GPU that
    // is Mesa's llvmpipe uploading and drawing every window pixel again each frame: at full
    // screen more than the whole frame's drawing. An X shared-memory image is one copy, made by
    // the X server. The environment variable of the same name still wins over this.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::string_view(driver) == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

namespace {

// The window's own format, so that blending into the target works on the same pixels as
// blending into the window did.
Uint32 target_format(SDL_Window* window) {
    const Uint32 format = window ? SDL_GetWindowPixelFormat(window) : Uint32{SDL_PIXELFORMAT_UNKNOWN};
    return format == SDL_PIXELFORMAT_UNKNOWN ? Uint32{SDL_PIXELFORMAT_ARGB8888} : format;
}

// Wipes a fresh target to opaque black, as a fresh window is, leaving the draw colour as it was.
DrawResult clear_to_black(SDL_Renderer* r) {
    Uint8 red = 0, green = 0, blue = 0, alpha = 0;
    SDL_GetRenderDrawColor(r, &red, &green, &blue, &alpha);
    set_draw_colour(r, 0, 0, 0, 255);
    const bool cleared = SDL_RenderClear(r) == 0;
    set_draw_colour(r, red, green, blue, alpha);
    if (!cleared) return std::unexpected(DrawError::from_sdl());
    return {};
}

}  // namespace

DrawResult DrawContext::begin_frame() {
    if (drawing_to_target_ || scaling != Scaling::Once) return {};
    SDL_Renderer* r = renderer();
    float scale_x = 0.0f;
    float scale_y = 0.0f;
    SDL_RenderGetScale(r, &scale_x, &scale_y);
    // Only a whole-number scale above 1 is a copy worth making; a scale set by other hands (not
    // whole, or not the same both ways) keeps drawing the way it always has.
    const int factor = scale_x >= 2.0f && scale_x < 65536.0f ? static_cast<int>(scale_x) : 1;
    if (factor < 2 || static_cast<float>(factor) != scale_x || scale_y != scale_x) {
        frame_target.reset();
        return {};
    }
    int out_w = 0;
    int out_h = 0;
    if (SDL_GetRendererOutputSize(r, &out_w, &out_h) != 0) return std::unexpected(DrawError::from_sdl());
    // A scale above 1 means a window of more than 518400 pixels, so neither side is empty.
    const int w = (out_w + factor - 1) / factor;
    const int h = (out_h + factor - 1) / factor;
    const bool fresh = !frame_target || [&] {
        const TextureSize size = texture_size(frame_target.get());
        return size.w != w || size.h != h;
    }();
    if (fresh) {
        frame_target.reset();
        TexturePtr made{SDL_CreateTexture(r, target_format(canvas->window()), SDL_TEXTUREACCESS_TARGET, w, h)};
        if (!made || SDL_SetTextureBlendMode(made.get(), SDL_BLENDMODE_NONE) != 0 ||
            SDL_SetTextureScaleMode(made.get(), SDL_ScaleModeNearest) != 0) {
            return std::unexpected(DrawError::from_sdl());
        }
        frame_target = std::move(made);
    }
    window_viewport_ = viewport_of(r);
    if (SDL_SetRenderTarget(r, frame_target.get()) != 0) return std::unexpected(DrawError::from_sdl());
    drawing_to_target_ = true;
    if (fresh) QM_TRY(clear_to_black(r));
    return {};
}

DrawResult DrawContext::let_go_of_target() {
    drawing_to_target_ = false;
    if (SDL_SetRenderTarget(renderer(), nullptr) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

DrawResult DrawContext::present() {
    SDL_Renderer* r = renderer();
    if (drawing_to_target_) {
        QM_TRY(let_go_of_target());
        // In the window's logical pixels: the renderer's scale makes it the whole window, and
        // more by the part-pixel that SDL clips at an odd side.
        const TextureSize size = texture_size(frame_target.get());
        const SDL_Rect whole{0, 0, static_cast<int>(size.w), static_cast<int>(size.h)};
        if (SDL_RenderCopy(r, frame_target.get(), nullptr, &whole) != 0) return std::unexpected(DrawError::from_sdl());
    }
    SDL_RenderPresent(r);
    return {};
}

SDL_Rect DrawContext::window_viewport() const {
    return drawing_to_target_ ? window_viewport_ : viewport_of(renderer());
}

void DrawContext::set_tint(std::uint32_t colour) {
    tint = Tint{red_of(colour), green_of(colour), blue_of(colour)};
    for (std::size_t k = 0; k < SHEET_COUNT; ++k) {
        if (SHEETS[k].tint == DayTint::Applies) set_colour_mod((this->*SHEET_MEMBERS[k]).get(), tint.r, tint.g, tint.b);
    }
}

// ---------------------------------------------------------------------------------------------
// Sprite primitives
// ---------------------------------------------------------------------------------------------

SDL_Texture* DrawContext::sheet(SheetId id) const { return (this->*SHEET_MEMBERS[std::to_underlying(id)]).get(); }

DrawResult DrawContext::copy(SDL_Texture* texture, SDL_Rect source, SDL_Rect destination) {
    const SDL_Rect src = clamped(source);
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer(), texture, &src, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

DrawResult DrawContext::copy_whole(SDL_Texture* texture, SDL_Rect destination) {
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer(), texture, nullptr, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

namespace {

// One copy of a sheet cell to a screen rectangle, both clamped.
DrawResult copy_cell(SDL_Renderer* renderer, SDL_Texture* sheet, WideRect source, WideRect destination) {
    const SDL_Rect src = clamped(source);
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer, sheet, &src, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

// A copy under a colour of its own: modulated for this copy only, back to the tint afterwards.
DrawResult copy_tinted(SDL_Renderer* renderer, SDL_Texture* sheet, const Tint& tint, std::uint32_t colour,
                       WideRect source, WideRect destination) {
    set_colour_mod(sheet, modulate(red_of(colour), tint.r), modulate(green_of(colour), tint.g),
                   modulate(blue_of(colour), tint.b));
    QM_TRY(copy_cell(renderer, sheet, source, destination));
    set_colour_mod(sheet, tint.r, tint.g, tint.b);
    return {};
}

// Cell (column, row) of a sheet.
WideRect cell_of(const SheetSpec& sheet, std::int64_t column, std::int64_t row) {
    return {column * sheet.cell_w, row * sheet.cell_h, sheet.cell_w, sheet.cell_h};
}

// The screen rectangle of a cell whose anchor lands on (x, y).
WideRect anchored_at(const SheetSpec& sheet, std::int64_t x, std::int64_t y) {
    return {x - sheet.anchor_x, y - sheet.anchor_y, sheet.cell_w, sheet.cell_h};
}
WideRect anchored_at(const SheetSpec& sheet, ScreenPoint p) { return anchored_at(sheet, p.x, p.y); }

constexpr const SheetSpec& GROUND = sheet_spec(SheetId::ground);
constexpr const SheetSpec& PLANTS = sheet_spec(SheetId::plants);
constexpr const SheetSpec& FLOWERS = sheet_spec(SheetId::flowers);
constexpr const SheetSpec& LILY = sheet_spec(SheetId::lily);
constexpr const SheetSpec& ARMS = sheet_spec(SheetId::arms);
constexpr const SheetSpec& TOOLS = sheet_spec(SheetId::tools);
constexpr const SheetSpec& BUTTONS = sheet_spec(SheetId::buttons);

// Buttons sit on a grid of two world units.
constexpr std::int32_t BUTTON_GRID_STEP = 2 * ONE_UNIT;

}  // namespace

DrawResult DrawContext::draw_ground(std::uint32_t cell, std::optional<std::uint32_t> colour, std::int32_t x,
                                    std::int32_t y) {
    const WideRect source = cell_of(GROUND, cell, 0);
    const WideRect destination = anchored_at(GROUND, transform.to_screen(x, y));
    if (colour) return copy_tinted(renderer(), ground.get(), tint, *colour, source, destination);
    return copy_cell(renderer(), ground.get(), source, destination);
}

DrawResult DrawContext::draw_plant(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y) {
    return copy_cell(renderer(), plants.get(), cell_of(PLANTS, column, row),
                     anchored_at(PLANTS, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_flowers(std::uint32_t row, std::uint32_t column, std::uint32_t colour,
                                     std::int32_t x, std::int32_t y) {
    return copy_tinted(renderer(), flowers.get(), tint, colour, cell_of(FLOWERS, column, row),
                       anchored_at(FLOWERS, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_lily(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y) {
    return copy_cell(renderer(), lily.get(), cell_of(LILY, column, row),
                     anchored_at(LILY, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_arm(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y,
                                 std::int32_t dx, std::int32_t dy) {
    const ScreenPoint p = transform.to_screen(x, y);
    // The arm's anchor is the middle of its top edge, which goes on the shoulder point.
    return copy_cell(renderer(), arms.get(), cell_of(ARMS, column, row),
                     anchored_at(ARMS, std::int64_t{p.x} + dx, std::int64_t{p.y} + dy));
}

DrawResult DrawContext::draw_tool(std::uint32_t row, std::uint32_t column, bool second_variant, std::int32_t x,
                                  std::int32_t y, std::int32_t dx, std::int32_t dy) {
    const ScreenPoint p = transform.to_screen(x, y);
    // Each column of the tool sheet holds the tool's two variants side by side.
    const WideRect source = cell_of(TOOLS, 2 * std::int64_t{column} + (second_variant ? 1 : 0), row);
    return copy_cell(renderer(), tools.get(), source,
                     anchored_at(TOOLS, std::int64_t{p.x} + dx, std::int64_t{p.y} + dy));
}

namespace {

// The screen point of a button's centre on its grid.
ScreenPoint button_point(const ScreenTransform& transform, std::optional<Fixed> anchor, std::int16_t du,
                         std::int16_t dv) {
    // Without an anchor the grid hangs from a point near the bottom-right corner, so it follows
    // the camera and stays put on the screen.
    const Fixed origin = anchor ? *anchor : default_button_origin(transform);
    return transform.to_screen(wrap_add(origin.i, wrap_mul(std::int32_t{du}, BUTTON_GRID_STEP)),
                               wrap_add(origin.j, wrap_mul(std::int32_t{dv}, BUTTON_GRID_STEP)));
}

}  // namespace

DrawResult DrawContext::draw_button(std::uint32_t row, std::uint32_t column, std::optional<Fixed> anchor,
                                    std::int16_t du, std::int16_t dv) {
    return copy_cell(renderer(), buttons.get(), cell_of(BUTTONS, column, row),
                     anchored_at(BUTTONS, button_point(transform, anchor, du, dv)));
}

DrawResult DrawContext::draw_button_ring(std::optional<Fixed> anchor, std::int16_t du, std::int16_t dv,
                                         std::uint32_t colour) {
    // The mark cell at twice its size, its anchor on the button's centre: its hexagon then lies
    // just outside the button's own.
    const ScreenPoint p = button_point(transform, anchor, du, dv);
    const WideRect destination{std::int64_t{p.x} - 2 * GROUND.anchor_x, std::int64_t{p.y} - 2 * GROUND.anchor_y,
                               2 * GROUND.cell_w, 2 * GROUND.cell_h};
    return copy_tinted(renderer(), ground.get(), tint, colour,
                       cell_of(GROUND, std::to_underlying(GroundCell::Mark), 0), destination);
}

// ---------------------------------------------------------------------------------------------
// Screens and panels
// ---------------------------------------------------------------------------------------------

std::string clock_text(std::uint16_t time) {
    const unsigned minute = (time / TICKS_PER_MINUTE) % 60u;
    const unsigned h = time / TICKS_PER_HOUR;
    unsigned hour = 0;
    const char* suffix = "am";
    if (time < NOON) {
        hour = h + 5;
    } else if (time < NOON + TICKS_PER_HOUR) {
        hour = 12;
        suffix = "pm";
    } else {
        hour = h - 7;
        suffix = "pm";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u:%02u %s", hour, minute, suffix);
    return buf;
}

std::string daytime_text(std::uint64_t day, std::uint16_t time) {
    return "Day " + std::to_string(day) + " " + clock_text(time);
}

std::string frame_time_text(std::chrono::nanoseconds duration) {
    // A monotonic clock never runs backwards; should a negative span ever arrive, it reads as
    // zero rather than as a string of minus signs. Nanoseconds fit in 64 bits, and so do the
    // whole milliseconds and microseconds derived from them.
    const std::uint64_t ns = duration.count() < 0 ? 0 : static_cast<std::uint64_t>(duration.count());
    const std::uint64_t ms = ns / 1000000u;
    const std::uint64_t rest = (ns / 1000u) % 1000u;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%llu.%03llu ms", static_cast<unsigned long long>(ms),
                  static_cast<unsigned long long>(rest));
    return buf;
}

namespace {

// A text rendered for one call: made, placed by its own size, copied and destroyed again.
template <typename Place>
DrawResult draw_text_once(DrawContext& ctx, TTF_Font* font, std::uint32_t colour, const std::string& text,
                          Place&& place) {
    auto texture = DrawContext::gen_text(ctx.texture_creator, font, colour, text);
    if (!texture) return std::unexpected(std::move(texture.error()));
    const TextureSize size = texture_size(texture->get());
    const auto [x, y] = place(size);
    return copy_cell(ctx.renderer(), texture->get(), WideRect{0, 0, size.w, size.h},
                     WideRect{x, y, size.w, size.h});
}

struct Pos {
    std::int64_t x, y;
};

}  // namespace

DrawResult DrawContext::draw_daytime(std::uint64_t day, std::uint16_t time) {
    return draw_text_once(*this, medium_font.get(), WHITE, daytime_text(day, time),
                          [](TextureSize) { return Pos{0, 0}; });
}

DrawResult DrawContext::draw_frame_time(std::chrono::nanoseconds duration) {
    // The real viewport, not the stored view size: this runs after a possible full-screen switch.
    const SDL_Rect viewport = window_viewport();
    return draw_text_once(*this, medium_font.get(), WHITE, frame_time_text(duration),
                          [&](TextureSize s) { return Pos{std::int64_t{viewport.w} - s.w, 0}; });
}

DrawResult DrawContext::draw_level(std::int32_t x, std::int32_t y, std::uint16_t level) {
    const ScreenPoint p = transform.to_screen(x, wrap_sub(y, ONE_UNIT));
    return draw_text_once(*this, small_font.get(), YELLOW, "L" + std::to_string(level),
                          [&](TextureSize s) { return Pos{std::int64_t{p.x} - s.w / 2, std::int64_t{p.y} - s.h}; });
}

DrawResult DrawContext::draw_intro() {
    const TextureSize s = texture_size(intro.get());
    const std::int64_t x = transform.width / 2 - s.w / 2;
    const std::int64_t y = transform.height / 2 - s.h / 2;
    return copy_cell(renderer(), intro.get(), WideRect{0, 0, s.w, s.h}, WideRect{x, y, s.w, s.h});
}

DrawResult DrawContext::draw_new_day(std::uint64_t day) {
    SDL_Renderer* r = renderer();
    set_draw_colour(r, 0, 0, 0, 255);
    if (SDL_RenderClear(r) != 0) fatal(std::string("Could not clear: ") + SDL_GetError());

    const std::int64_t mid_x = transform.width / 2;
    const std::int64_t mid_y = transform.height / 2;
    const TextureSize dawn = texture_size(dawn_of.get());
    QM_TRY(copy_cell(r, dawn_of.get(), WideRect{0, 0, dawn.w, dawn.h},
           WideRect{mid_x - dawn.w / 2, mid_y - 4 - dawn.h, dawn.w, dawn.h}));
    return draw_text_once(*this, large_font.get(), WHITE, "Day " + std::to_string(day),
                          [&](TextureSize s) { return Pos{mid_x - s.w / 2, mid_y + 4}; });
}

DrawResult DrawContext::draw_genome(std::int32_t x, std::int32_t y, std::uint32_t counts) {
    const TextureSize s = texture_size(genome_textures[0][0].get());
    const ScreenPoint p = transform.to_screen(x, y);
    const std::int64_t top = std::int64_t{p.y} - s.h / 2;
    const std::array<std::int64_t, 3> left{std::int64_t{p.x} - 3 * s.w / 2, std::int64_t{p.x} - s.w / 2,
                                           std::int64_t{p.x} + s.w / 2};
    // A gene counts 0, 1 or 2 dominant alleles; anything else means a corrupted flower.
    for (std::size_t k = 0; k < 3; ++k) {
        if (((counts >> (8 * k)) & 0xFF) > 2) fatal(ALLELE_MESSAGE);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        SDL_Texture* label = genome_textures[k][(counts >> (8 * k)) & 0xFF].get();
        // Every label is drawn at the size of the first, so the three line up whatever the glyphs.
        QM_TRY(copy_whole(label, clamped(WideRect{left[k], top, s.w, s.h})));
    }
    return {};
}

namespace {

SDL_Point clamped_point(std::int64_t x, std::int64_t y) { return {clamp_coord(x), clamp_coord(y)}; }

DrawResult line(SDL_Renderer* r, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const SDL_Point a = clamped_point(x1, y1);
    const SDL_Point b = clamped_point(x2, y2);
    if (SDL_RenderDrawLine(r, a.x, a.y, b.x, b.y) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

}  // namespace

DrawResult DrawContext::draw_meter(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                                   bool mirrored, std::uint32_t colour, std::uint8_t value) {
    SDL_Renderer* r = renderer();
    const ScreenPoint p = transform.to_screen(x, y);
    const std::int64_t px = std::int64_t{p.x} + dx;
    const std::int64_t py = std::int64_t{p.y} + dy;
    const std::int64_t d = mirrored ? -1 : 1;

    // The grey outline, two pixels thick: lower slant, side, upper slant.
    set_draw_colour(r, 128, 128, 128, 255);
    const std::array<SDL_Point, 4> outline{clamped_point(px, py + 8), clamped_point(px + 7 * d, py + 4),
                                           clamped_point(px + 7 * d, py - 4), clamped_point(px, py - 8)};
    if (SDL_RenderDrawLines(r, outline.data(), static_cast<int>(outline.size())) != 0) {
        return std::unexpected(DrawError::from_sdl());
    }
    QM_TRY(line(r, px, py + 7, px + 7 * d, py + 3));
    QM_TRY(line(r, px + 6 * d, py + 4, px + 6 * d, py - 4));
    QM_TRY(line(r, px + 7 * d, py - 3, px, py - 7));

    set_draw_colour(r, red_of(colour), green_of(colour), blue_of(colour), alpha_of(colour));
    if (value == 0) return {};

    // The fill climbs from the bottom: 1–8 the lower slant, 9–24 the side, 25–32 the upper slant.
    const std::int64_t half = value / 2;
    const std::int64_t a = std::clamp<std::int64_t>(half, 1, 4);
    QM_TRY(line(r, px, py + 8, px + (2 * a - 1) * d, py + 8 - a));
    QM_TRY(line(r, px, py + 7, px + (2 * a - 1) * d, py + 7 - a));
    if (value > 8) {
        const std::int64_t b = std::clamp<std::int64_t>(half - 4, 1, 8);
        QM_TRY(line(r, px + 7 * d, py + 4, px + 7 * d, py + 4 - b));
        QM_TRY(line(r, px + 6 * d, py + 4, px + 6 * d, py + 4 - b));
    }
    if (value > 24) {
        const std::int64_t c = std::clamp<std::int64_t>(half - 12, 1, 4);
        QM_TRY(line(r, px + 7 * d, py - 4, px + (8 - 2 * c) * d, py - 4 - c));
        QM_TRY(line(r, px + 7 * d, py - 3, px + (8 - 2 * c) * d, py - 3 - c));
    }
    return {};
}

}  // namespace qm
