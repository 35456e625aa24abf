// The colour collection's swatches as a grid the highlight walks: nine to a row (three groups of
// three), three rows, genotype k at row k / 9, column k % 9.
#pragma once

#include <cstddef>

namespace qm {

// The swatch a step of the highlight leads to: left and right along a row of nine, up and down
// between the three rows, stopping at the edges.
std::size_t swatch_towards(std::size_t from, int dx, int dy);
// Where the highlight starts: the grey of the first garden, in the middle of the panel.
inline constexpr std::size_t FIRST_SWATCH = 13;

}  // namespace qm
