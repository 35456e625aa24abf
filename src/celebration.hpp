// The finale on the field: when the collection is complete, its 27 blossoms drift down over the
// field while a swarm of bees loops across it, for a few seconds. Play goes on underneath.
#pragma once

#include <cstdint>

#include "draw_error.hpp"

namespace qm {

class DrawContext;

class Celebration {
public:
    static constexpr std::uint32_t FRAMES = 188;  // six seconds of day frames
    static constexpr std::uint32_t BEES = 14;

    void start() { frame_ = 0; }
    // One day frame has passed.
    void advance() {
        if (running()) ++frame_;
    }
    bool running() const { return frame_ < FRAMES; }
    std::uint32_t frame() const { return frame_; }

    // Over the whole screen, in its own pass after everything the field and its controls show.
    DrawResult draw(DrawContext& ctx) const;

private:
    std::uint32_t frame_ = FRAMES;
};

}  // namespace qm
