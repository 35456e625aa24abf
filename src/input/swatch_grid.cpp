// Stepping the collection's highlight.
#include "swatch_grid.hpp"

#include <algorithm>

namespace qm {

std::size_t swatch_towards(std::size_t from, int dx, int dy) {
    const int column = std::clamp(static_cast<int>(from % 9) + dx, 0, 8);
    const int row = std::clamp(static_cast<int>(from / 9) + dy, 0, 2);
    return static_cast<std::size_t>(row * 9 + column);
}

}  // namespace qm
