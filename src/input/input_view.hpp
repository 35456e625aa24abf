// What the controls need of the screen without drawing it: the view her steps move and the
// pointer reads, the window's scale, where the open colour collection lies, and the full-screen
// switch. The draw side answers (drawn_view.*), from the draw context and the panel's layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "hex_geometry.hpp"

namespace qm {

class InputState;

// A logical pixel on the open collection: on its panel or not, and on which swatch.
struct CollectionHit {
    bool on_panel = false;
    std::optional<std::size_t> swatch;
};

class InputView {
public:
    virtual ~InputView() = default;
    // The camera, centred on the gardener as she walks.
    virtual ScreenTransform& camera() = 0;
    // Window pixels per logical pixel.
    virtual std::uint32_t scale() const = 0;
    virtual CollectionHit collection_hit(std::int32_t x, std::int32_t y) = 0;
    // Full screen on or off, and the scale fitted to the window it leaves.
    virtual void switch_full_screen(InputState& input) = 0;
};

}  // namespace qm
