// Hex geometry: lengths, clamping, rounding and the camera mapping.
#include "hex_geometry.hpp"

#include <algorithm>
#include <cstdlib>

namespace qm {

namespace {

// Length from magnitudes: b + max(0, (a - b) / 2).
constexpr std::int64_t length_of(std::int64_t a, std::int64_t b) {
    return b + std::max<std::int64_t>(0, (a - b) >> 1);
}

// Magnitude of a 32-bit component without overflow (|INT32_MIN| = 2^31).
constexpr std::int64_t magnitude(std::int32_t v) { return v < 0 ? -static_cast<std::int64_t>(v) : v; }

}  // namespace

std::uint32_t hex_length(Fixed v) {
    return static_cast<std::uint32_t>(length_of(magnitude(v.i), magnitude(v.j)));
}

std::uint16_t hex_length(Cell v) {
    // The wrapped differences are read as signed 16-bit; |-32768| is 32768, which still fits.
    const int a = std::abs(static_cast<int>(as_i16(v.i)));
    const int b = std::abs(static_cast<int>(as_i16(v.j)));
    return static_cast<std::uint16_t>(length_of(a, b));
}

Fixed within(Fixed v, std::int32_t r) {
    const std::int64_t a = magnitude(v.i);
    const std::int64_t b = magnitude(v.j);
    if (((a ^ b) & 1) != 0) fatal(PARITY_MESSAGE);
    const std::int64_t d = length_of(a, b);
    if (d <= r) return v;

    std::int64_t na = 0;
    std::int64_t nb = 0;
    if (a - 2 * static_cast<std::int64_t>(r) >= b) {
        na = 2 * static_cast<std::int64_t>(r);  // beyond the east or west corner
        nb = 0;
    } else if (r <= a && a <= b) {
        na = r;  // beyond a diagonal corner
        nb = r;
    } else if (a <= r) {
        na = a + ((a ^ r) & 1);  // beyond the top or bottom edge: a rounded up to r's parity
        nb = r;
    } else {
        const std::int64_t offset = d - r;  // beyond a slanted edge
        if (!(a > offset)) fatal("assertion failed: abs.0 > offset");
        if (!(b > offset)) fatal("assertion failed: abs.1 > offset");
        na = a - offset;
        nb = b - offset;
    }
    if (v.i < 0) na = -na;
    if (v.j < 0) nb = -nb;
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(na)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(nb))};
}

Fixed with_length(Fixed v, std::int32_t r) {
    const std::uint32_t length = hex_length(v);
    if (length == 0) fatal("attempt to divide by zero");
    if (length < static_cast<std::uint32_t>(r)) {
        const std::uint32_t factor = (static_cast<std::uint32_t>(r) - 1) / length + 1;
        v = scale(v, static_cast<std::int32_t>(factor));
    }
    return within(v, r);
}

Cell containing_tile(std::int32_t x, std::int32_t y) {
    const auto xi = static_cast<std::uint16_t>(x >> 16);
    const auto yi = static_cast<std::uint16_t>(y >> 16);
    const std::int64_t fx = static_cast<std::uint32_t>(x) & 0xFFFFu;
    const std::int64_t fy = static_cast<std::uint32_t>(y) & 0xFFFFu;
    const auto xi1 = static_cast<std::uint16_t>(xi + 1);
    const auto yi1 = static_cast<std::uint16_t>(yi + 1);
    if (((xi ^ yi) & 1) == 0) {
        if (fx + 3 * fy >= 0x20000) return {xi1, yi1};
        return {xi, yi};
    }
    if (3 * fy - fx >= 0x10000) return {xi, yi1};
    return {xi1, yi};
}

ScreenPoint ScreenTransform::to_screen(std::int32_t x, std::int32_t y) const {
    return {wrap_add(width / 2, wrap_mul(wrap_sub(x, center.i), PIXELS_PER_I) >> 16), row_y(y)};
}

std::int32_t ScreenTransform::row_y(std::int32_t y) const {
    return wrap_add(height / 2, wrap_mul(wrap_sub(y, center.j), PIXELS_PER_J) >> 16);
}

Fixed ScreenTransform::to_world(std::int32_t x, std::int32_t y) const {
    const Fixed half{wrap_add(wrap_mul(width, 2048), height & 1), wrap_mul(height, UNITS_PER_PIXEL_J) >> 1};
    const Fixed offset{wrap_mul(x, UNITS_PER_PIXEL_I), wrap_mul(y, UNITS_PER_PIXEL_J)};
    return center - half + offset;
}

VisibleCells ScreenTransform::visible_iter() const {
    const Cell first = containing_tile(to_world(0, 0));
    const Cell last = containing_tile(to_world(width, height));
    const auto n_rows = static_cast<std::uint16_t>(last.j - first.j + 3);
    const auto n_cols = static_cast<std::uint16_t>((static_cast<std::uint16_t>(last.i - first.i) >> 1) + 2);
    return VisibleCells(first, n_rows, n_cols);
}

Cell VisibleCells::iterator::operator*() const {
    const Cell& tl = top_left_;
    const auto j = static_cast<std::uint16_t>(tl.j - 1 + row_);
    const auto i = static_cast<std::uint16_t>(tl.i - 1 + (row_ & 1) + 2 * col_);
    return {i, j};
}

VisibleCells::iterator& VisibleCells::iterator::operator++() {
    if (++col_ >= n_cols_) {
        col_ = 0;
        ++row_;
    }
    return *this;
}

}  // namespace qm
