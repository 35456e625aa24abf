// The gardener's colours, shared by her body and her arms so the sleeves match the shirt.
#pragma once

#include "paint.hpp"

namespace qm::art {

inline constexpr Rgba LILY_SKIN = rgb(244, 194, 152);
inline constexpr Rgba LILY_SHIRT = rgb(222, 88, 76);
inline constexpr Rgba LILY_DENIM = rgb(66, 104, 184);
inline constexpr Rgba LILY_BOOT = rgb(104, 64, 40);
inline constexpr Rgba LILY_HAIR = rgb(176, 84, 40);
inline constexpr Rgba LILY_STRAW = rgb(236, 198, 102);
inline constexpr Rgba LILY_BAND = rgb(60, 140, 90);
inline constexpr Rgba LILY_EYE = rgb(44, 30, 34);
inline constexpr Rgba LILY_BLUSH = rgb(240, 140, 130);
// Outlines take the colour of what they wrap, darkened this much.
inline constexpr double LILY_OUTLINE = 0.32;

}  // namespace qm::art
