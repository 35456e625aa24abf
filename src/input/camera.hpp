// The camera: the field is drawn round the gardener, and what the pointer or a finger touches is
// read through it. The draw context holds the view; the controls move it as she walks.
#pragma once

#include <cstdint>

#include "hex_geometry.hpp"

namespace qm {

// The view that follows her: the middle of the screen is where she stands.
inline void follow(ScreenTransform& view, Fixed position) { view.center = position; }

// A window pixel as a logical pixel, at the window's whole-number scale.
inline ScreenPoint logical_pixel(ScreenPoint window, std::uint32_t scale) {
    const auto s = static_cast<std::int32_t>(scale);
    return {window.x / s, window.y / s};
}

// A finger's normalised position as a logical pixel of a W × H screen.
ScreenPoint finger_pixel(float fx, float fy, const ScreenTransform& transform);

}  // namespace qm
