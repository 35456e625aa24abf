// Reading a PNG header by hand: eight signature bytes, then the IHDR chunk whose first two
// fields are the width and the height, big-endian.
#include "sheet_header.hpp"

#include <algorithm>
#include <array>

namespace qm {

namespace {

constexpr std::array<std::uint8_t, 16> SIGNATURE_AND_IHDR{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                                          0,    0,   0,   13,  'I',  'H',  'D',  'R'};

std::uint32_t big_endian(std::span<const std::uint8_t> b) {
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | std::uint32_t{b[3]};
}

std::string dimensions(PixelSize s) { return std::to_string(s.w) + "×" + std::to_string(s.h); }

}  // namespace

std::optional<PixelSize> png_header_size(std::span<const std::uint8_t> head) {
    if (head.size() < PNG_HEADER_BYTES) return std::nullopt;
    if (!std::equal(SIGNATURE_AND_IHDR.begin(), SIGNATURE_AND_IHDR.end(), head.begin())) return std::nullopt;
    return PixelSize{big_endian(head.subspan(16, 4)), big_endian(head.subspan(20, 4))};
}

std::optional<std::string> sheet_size_problem(std::string_view path, PixelSize size, PixelSize grid) {
    std::string text{path};
    if (size.w > MAX_SHEET_SIDE || size.h > MAX_SHEET_SIDE) {
        return text + " is " + dimensions(size) + " pixels; the largest sheet the game can use is " +
               dimensions({MAX_SHEET_SIDE, MAX_SHEET_SIDE});
    }
    if (size.w < grid.w || size.h < grid.h) {
        return text + " is " + dimensions(size) + " pixels; its grid needs at least " + dimensions(grid);
    }
    return std::nullopt;
}

}  // namespace qm
