// The draw context: the renderer, the fonts, every sprite sheet, the camera, the integer scale
// and the day tint; the sprite primitives; the text panels, screens and meters.
//
// Its sources, by subject: graphics_load.cpp (the fonts, fixed texts and sheets) | window_scale.cpp
// (the integer scale) | frame_target.cpp (the frame drawn at the logical size, scaled once) |
// sprites.cpp (the day tint and the sprite primitives) | screens.cpp (texts, screens and genome
// labels) | meters.cpp | clock_text.cpp (the clock's words) | text_cache.cpp (texts made once). graphics_internal.hpp holds what
// they share.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clock_text.hpp"  // the words of draw_daytime and draw_frame_time
#include "draw_error.hpp"
#include "hex_geometry.hpp"
#include "sdl.hpp"
#include "sheets.hpp"
#include "text_cache.hpp"

namespace qm {

// Colours travel as one value: red in the lowest byte, then green, blue, alpha.
inline constexpr std::uint32_t WHITE = 0xFFFFFFFF;
inline constexpr std::uint32_t CYAN = 0xFFFFFF00;
inline constexpr std::uint32_t MAGENTA = 0xFFFF00FF;
inline constexpr std::uint32_t YELLOW = 0xFF00FFFF;
inline constexpr std::uint32_t BLACK = 0xFF000000;
inline constexpr std::uint32_t GREY = 0xFF808080;

inline constexpr std::uint32_t MAX_LOGICAL_AREA = 518400;  // 960 × 540

inline constexpr const char* FONT_PATH = "pixeloid/TrueType (.ttf)/PixeloidSans.ttf";

// How a frame reaches the window. Once: drawn at the logical size into a texture of its own and
// scaled up by the whole-number factor in one copy when it is presented, so the fill work of a
// frame stays that of the logical screen however large the window. PerCopy: every copy goes to
// the window through the renderer's scale, for renderers that cannot draw into a texture.
enum class Scaling { Once, PerCopy };

// A width and height in pixels.
struct TargetSize {
    int w = 0;
    int h = 0;
    bool operator==(const TargetSize&) const = default;
};

struct Tint {
    std::uint8_t r = 255, g = 255, b = 255;
    friend constexpr bool operator==(const Tint&, const Tint&) = default;
};

// The integer scale that keeps s·s·w·h / n² within the logical area bound.
std::uint32_t choose_scale(std::uint32_t current_scale, std::uint32_t viewport_w, std::uint32_t viewport_h);
// Called once video is up, before the renderer is made: on X11 a software renderer's frame goes
// to the window as a shared-memory image instead of through OpenGL.
void show_software_frames_plainly();

class DrawContext {
public:
    FontPtr small_font;
    FontPtr medium_font;
    FontPtr large_font;
    Canvas canvas;
    TextureCreator texture_creator;
    // One texture per sheet, named as in sheets.def: ground, plants, ..., intro.
#define QM_SHEET(name, ...) TexturePtr name;
#include "sheets.def"
#undef QM_SHEET
    TexturePtr dawn_of;
    std::array<std::array<TexturePtr, 3>, 3> genome_textures;
    ScreenTransform transform;
    std::uint32_t scale = 1;
    Tint tint;
    Scaling scaling = Scaling::Once;
    // The frame's picture at the logical size, rounded up so that the last part-pixel of an odd
    // window side is drawn as well, in the top-left corner of a target that begin_frame makes
    // only when none holds the frame. Every size a target was made at, once each: on OpenGL,
    // each keeps a framebuffer object of SDL's alive to the end, so they must stay few.
    TexturePtr frame_target;
    std::vector<TargetSize> frame_target_sizes;
    // Every line of text drawn, rendered once and kept while frames go on drawing it.
    TextCache texts;
    // Lists a frame fills afresh, kept with their room for the next frame so it allocates nothing.
    struct Scratch {
        std::vector<Cell> labels_shown;  // the genome labels drawn, and their places
        std::vector<SDL_Rect> labels_taken;
        // The collection panel's: the widest its seeds' lines can be in these fonts, on one line
        // and on two (0 until measured), and the lines it wrote last, for that many seeds left.
        std::array<int, 2> seeds_widths{};
        std::optional<std::pair<std::uint32_t, bool>> seeds_lines_for;
        std::array<std::string, 2> seeds_lines;
    } scratch;

    // Opens the fonts, renders the fixed texts and loads every sheet from "assets/".
    static std::expected<DrawContext, DrawError> create(Canvas canvas, TextureCreator texture_creator);

    SDL_Renderer* renderer() const { return canvas->renderer(); }
    // Textures made since the sheets were loaded: a frame that made none drew only what it had.
    std::uint64_t textures_made() const { return texture_creator->textures_made(); }
    // The texture of a sheet by its id.
    SDL_Texture* sheet(SheetId id) const;

    static std::expected<TexturePtr, DrawError> gen_text(const TextureCreator& creator, TTF_Font* font,
                                                         std::uint32_t colour, const std::string& text);
    static std::expected<std::array<TexturePtr, 3>, DrawError> gen_genome_textures(
        const TextureCreator& creator, TTF_Font* font, std::uint32_t colour, const std::string& letter);

    void set_tint(std::uint32_t colour);
    DrawResult adjust_scale();

    // A frame's drawing runs from begin_frame to present. With Scaling::Once and a whole-number
    // scale above 1, begin_frame points the drawing at frame_target (the renderer then reports
    // scale 1 and the target's viewport) and present copies the target to the window, scaled
    // with nearest-neighbour sampling, before showing it; otherwise everything goes straight
    // to the window as it always did.
    DrawResult begin_frame();
    DrawResult present();
    // The window's viewport in logical pixels, whichever target the frame is drawn into.
    SDL_Rect window_viewport() const;

    // Sprite primitives; x, y are fixed-point world positions.
    DrawResult draw_ground(std::uint32_t cell, std::optional<std::uint32_t> colour, std::int32_t x, std::int32_t y);
    DrawResult draw_plant(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y);
    DrawResult draw_flowers(std::uint32_t row, std::uint32_t column, std::uint32_t colour, std::int32_t x,
                            std::int32_t y);
    DrawResult draw_lily(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y);
    DrawResult draw_arm(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y, std::int32_t dx,
                        std::int32_t dy);
    DrawResult draw_tool(std::uint32_t row, std::uint32_t column, bool second_variant, std::int32_t x,
                         std::int32_t y, std::int32_t dx, std::int32_t dy);
    DrawResult draw_button(std::uint32_t row, std::uint32_t column, std::optional<Fixed> anchor, std::int16_t du,
                           std::int16_t dv);
    // A ring around the button at (du, dv) of its grid: the mark cell, in a colour of its own.
    DrawResult draw_button_ring(std::optional<Fixed> anchor, std::int16_t du, std::int16_t dv, std::uint32_t colour);

    // Screens and panels.
    DrawResult draw_daytime(std::uint64_t day, std::uint16_t time);
    DrawResult draw_frame_time(std::chrono::nanoseconds duration);
    DrawResult draw_level(std::int32_t x, std::int32_t y, std::uint16_t level);
    DrawResult draw_intro();
    DrawResult draw_new_day(std::uint64_t day);
    DrawResult draw_genome(std::int32_t x, std::int32_t y, std::uint32_t counts);
    DrawResult draw_meter(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy, bool mirrored,
                          std::uint32_t colour, std::uint8_t value);

    // One SDL_RenderCopy with clamped rectangles; a failure is a String error.
    DrawResult copy(SDL_Texture* texture, SDL_Rect source, SDL_Rect destination);
    DrawResult copy_whole(SDL_Texture* texture, SDL_Rect destination);

private:
    DrawResult let_go_of_target();

    bool drawing_to_target_ = false;
    TargetSize frame_size_{};  // the frame in the target's corner, {0, 0} when there is none
    SDL_Rect window_viewport_{};  // the window's, taken as the frame began
};

}  // namespace qm
