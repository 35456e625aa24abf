// Helpers the draw context's source files share: clamped rectangles, colour bytes, texture and
// viewport sizes, the sheet members and one clamped copy. Only the draw context's own sources
// include this; everyone else uses graphics.hpp.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "fatal.hpp"
#include "graphics.hpp"

namespace qm {

// SDL's own arithmetic on rectangles overflows long before int32 does, so every coordinate is
// kept well inside it; real screen positions are never touched by this.
inline constexpr std::int64_t COORD_MIN = -(std::int64_t{1} << 30);
inline constexpr std::int64_t COORD_MAX = (std::int64_t{1} << 30) - 1;
inline constexpr std::int64_t SIZE_MIN = 1;

inline int clamp_coord(std::int64_t v) { return static_cast<int>(std::clamp(v, COORD_MIN, COORD_MAX)); }
inline int clamp_size(std::int64_t v) { return static_cast<int>(std::clamp(v, SIZE_MIN, COORD_MAX)); }

// A rectangle computed in wide arithmetic, so that sheet offsets and screen offsets cannot
// overflow before they are clamped.
struct WideRect {
    std::int64_t x, y, w, h;
};

inline SDL_Rect clamped(WideRect r) {
    return {clamp_coord(r.x), clamp_coord(r.y), clamp_size(r.w), clamp_size(r.h)};
}
inline SDL_Rect clamped(SDL_Rect r) { return clamped(WideRect{r.x, r.y, r.w, r.h}); }

inline std::uint8_t red_of(std::uint32_t c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline std::uint8_t green_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
inline std::uint8_t blue_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
inline std::uint8_t alpha_of(std::uint32_t c) { return static_cast<std::uint8_t>((c >> 24) & 0xFF); }

inline void set_draw_colour(SDL_Renderer* renderer, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    if (SDL_SetRenderDrawColor(renderer, r, g, b, a) != 0) fatal(SDL_GetError());
}

struct TextureSize {
    std::int64_t w, h;
};

inline TextureSize texture_size(SDL_Texture* texture) {
    int w = 0;
    int h = 0;
    if (SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) fatal(SDL_GetError());
    return {w, h};
}

inline SDL_Rect viewport_of(SDL_Renderer* renderer) {
    SDL_Rect viewport{};
    SDL_RenderGetViewport(renderer, &viewport);
    return viewport;
}

// The member holding each sheet, by SheetId.
inline constexpr std::array<TexturePtr DrawContext::*, SHEET_COUNT> SHEET_MEMBERS{
#define QM_SHEET(name, ...) &DrawContext::name,
#include "sheets.def"
#undef QM_SHEET
};

// One copy of a sheet cell to a screen rectangle, both clamped.
inline DrawResult copy_cell(SDL_Renderer* renderer, SDL_Texture* sheet, WideRect source, WideRect destination) {
    const SDL_Rect src = clamped(source);
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer, sheet, &src, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

}  // namespace qm
