// A small hand-made pixel alphabet for the lettering on the title card, so the card is drawn
// like the rest of the art and needs no font file.
#pragma once

#include <string_view>

#include "paint.hpp"

namespace qm::art {

inline constexpr int GLYPH_ROWS = 9;  // seven above the baseline, two for descenders

// Width of the text in font pixels (letters one pixel apart).
int lettering_width(std::string_view text);
// The text as a mask: each font pixel becomes a scale × scale block of `colour`.
// Letters it does not know are an error in the art, so it throws std::invalid_argument.
Picture lettering(std::string_view text, int scale, Rgba colour);

}  // namespace qm::art
