// A sprite sheet's size read from its PNG header before anything is decoded, and what makes a
// size unusable: a broken install must say what is wrong instead of eating the machine's memory
// or playing on with invisible sprites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm {

struct PixelSize {
    std::uint32_t w = 0;
    std::uint32_t h = 0;
    friend constexpr bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The signature and the IHDR chunk's length, type, width and height.
inline constexpr std::size_t PNG_HEADER_BYTES = 24;
// No sheet the game draws could use more: renderers commonly stop at this texture side.
inline constexpr std::uint32_t MAX_SHEET_SIDE = 16384;

// The size a PNG header declares; nothing when the bytes do not begin a PNG, whose judgement is
// then the image loader's.
std::optional<PixelSize> png_header_size(std::span<const std::uint8_t> head);

// Why a sheet of `size` cannot serve a grid of at least `grid` pixels, naming the file; nothing
// when it can. "assets/ground.png is 8×8 pixels; its grid needs at least 192×32"
std::optional<std::string> sheet_size_problem(std::string_view path, PixelSize size, PixelSize grid);

}  // namespace qm
