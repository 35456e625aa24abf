// The hexagonal grid: doubled-width coordinates, hex distances, neighbours, rounding positions to
// cells, clamping vectors to hexagons, and the camera that maps the field to logical pixels.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "fatal.hpp"
#include "wrapping.hpp"

namespace qm {

inline constexpr const char* PARITY_MESSAGE = "assertion failed: i & T::ONE == j & T::ONE";

// A grid cell (unsigned 16-bit, wrapping at 65536), or a fixed-point position or vector (signed
// 32-bit, 16 fractional bits). The lowest bits of i and j are always equal.
template <typename T>
struct HexCoord {
    static_assert(std::is_same_v<T, std::uint16_t> || std::is_same_v<T, std::int32_t>);
    T i{};
    T j{};

    constexpr HexCoord() = default;
    constexpr HexCoord(T i_, T j_) : i(i_), j(j_) {
        if (((i_ ^ j_) & T{1}) != T{0}) fatal(PARITY_MESSAGE);
    }
    // Builds from plain ints for cells written with negative rows, e.g. cell(-15, -13).
    friend constexpr bool operator==(const HexCoord&, const HexCoord&) = default;

    friend constexpr HexCoord operator+(HexCoord a, HexCoord b) {
        if constexpr (std::is_same_v<T, std::uint16_t>) return {wrap_add(a.i, b.i), wrap_add(a.j, b.j)};
        else return {wrap_add(a.i, b.i), wrap_add(a.j, b.j)};
    }
    friend constexpr HexCoord operator-(HexCoord a, HexCoord b) {
        if constexpr (std::is_same_v<T, std::uint16_t>) return {wrap_sub(a.i, b.i), wrap_sub(a.j, b.j)};
        else return {wrap_sub(a.i, b.i), wrap_sub(a.j, b.j)};
    }
};

using Cell = HexCoord<std::uint16_t>;   // a tile of the field
using Fixed = HexCoord<std::int32_t>;   // a fixed-point position or vector; 65536 is one unit

inline constexpr std::int32_t ONE_UNIT = 65536;

// A cell from signed components, so negative rows read naturally: cell(-15, -13).
constexpr Cell cell(int i, int j) { return {u16(i), u16(j)}; }
// The fixed-point centre of a cell.
constexpr Fixed centre_of(Cell c) {
    return {wrap_mul(static_cast<std::int32_t>(as_i16(c.i)), ONE_UNIT),
            wrap_mul(static_cast<std::int32_t>(as_i16(c.j)), ONE_UNIT)};
}

// Component-wise absolute value (INT32_MIN stays itself: the value wraps).
constexpr Fixed abs(Fixed v) { return {wrap_abs(v.i), wrap_abs(v.j)}; }
// Both components times k, wrapping.
constexpr Fixed scale(Fixed v, std::int32_t k) { return {wrap_mul(v.i, k), wrap_mul(v.j, k)}; }

// Number of neighbour steps spanned by a vector.
std::uint32_t hex_length(Fixed v);
std::uint16_t hex_length(Cell v);
inline std::uint16_t distance(Cell p, Cell q) { return hex_length(p - q); }
inline std::uint32_t distance(Fixed p, Fixed q) { return hex_length(p - q); }

// W, NW, NE, E, SE, SW: the order every neighbour scan uses.
inline constexpr std::array<std::array<int, 2>, 6> NEIGHBOUR_OFFSETS{{
    {-2, 0}, {-1, -1}, {1, -1}, {2, 0}, {1, 1}, {-1, 1}}};
inline constexpr std::array<Cell, 6> NEIGHBOURS{cell(-2, 0), cell(-1, -1), cell(1, -1),
                                            cell(2, 0),  cell(1, 1),   cell(-1, 1)};

// v if its hex length is at most r, else v clamped onto the hexagon of radius r.
Fixed within(Fixed v, std::int32_t r);
// v stretched (when shorter) and clamped so that its hex length is exactly r. v must not be zero.
Fixed with_length(Fixed v, std::int32_t r);
// The cell whose hexagon contains the fixed-point position (x, y). The raw words need not share
// their lowest bit: rounding only looks at the integer parts.
Cell containing_tile(std::int32_t x, std::int32_t y);
inline Cell containing_tile(Fixed p) { return containing_tile(p.i, p.j); }

// Cells of the hexagon of the given radius around centre, row by row from the top, left to
// right: the scan the farm set-up and the range overlay use.
template <typename F>
void for_each_in_hexagon(Cell centre, int radius, F&& visit) {
    for (int k = 0; k <= 2 * radius; ++k) {
        const auto j = static_cast<std::uint16_t>(centre.j - radius + k);
        for (int m = 0; m <= 2 * radius; ++m) {
            const auto i = static_cast<std::uint16_t>(centre.i - 2 * radius + ((radius + k) & 1) + 2 * m);
            const Cell c{i, j};
            if (distance(c, centre) <= radius) visit(c);
        }
    }
}

struct ScreenPoint {
    std::int32_t x;
    std::int32_t y;
    friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

inline constexpr std::int32_t PIXELS_PER_I = 16;
inline constexpr std::int32_t PIXELS_PER_J = 22;
inline constexpr std::int32_t UNITS_PER_PIXEL_I = 4096;
inline constexpr std::int32_t UNITS_PER_PIXEL_J = 2978;

class VisibleCells;

// The camera: which world point is in the middle of a logical screen of width × height pixels.
struct ScreenTransform {
    Fixed center{};
    std::int32_t width = 0;
    std::int32_t height = 0;

    ScreenPoint to_screen(Fixed p) const { return to_screen(p.i, p.j); }
    // The same from the two components as they come: a position need not be a valid grid
    // coordinate to be drawn.
    ScreenPoint to_screen(std::int32_t x, std::int32_t y) const;
    // The vertical half of to_screen: the screen row of a fixed-point y.
    std::int32_t row_y(std::int32_t y) const;
    Fixed to_world(std::int32_t x, std::int32_t y) const;
    // The cells covering the screen (with a margin), row by row from the top, left to right.
    VisibleCells visible_iter() const;
};

// A lazy range over the cells of the screen; no allocation. Iterators carry the range's numbers,
// so they stay valid after the range itself is gone.
class VisibleCells {
public:
    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Cell;
        using difference_type = std::ptrdiff_t;
        using pointer = const Cell*;
        using reference = Cell;

        iterator() = default;
        Cell operator*() const;
        iterator& operator++();
        iterator operator++(int) { auto old = *this; ++*this; return old; }
        friend bool operator==(const iterator& a, const iterator& b) { return a.row_ == b.row_ && a.col_ == b.col_; }

    private:
        friend class VisibleCells;
        iterator(Cell top_left, std::uint32_t n_cols, std::uint32_t row, std::uint32_t col)
            : top_left_(top_left), n_cols_(n_cols), row_(row), col_(col) {}
        Cell top_left_{};
        std::uint32_t n_cols_ = 0;
        std::uint32_t row_ = 0;
        std::uint32_t col_ = 0;
    };

    VisibleCells(Cell top_left, std::uint16_t n_rows, std::uint16_t n_cols)
        : top_left_(top_left), n_rows_(n_rows), n_cols_(n_cols) {}
    iterator begin() const { return n_cols_ == 0 ? end() : iterator(top_left_, n_cols_, 0, 0); }
    iterator end() const { return iterator(top_left_, n_cols_, n_rows_, 0); }
    std::uint16_t rows() const { return n_rows_; }
    std::uint16_t columns() const { return n_cols_; }

private:
    Cell top_left_;
    std::uint16_t n_rows_;
    std::uint16_t n_cols_;
};

}  // namespace qm
