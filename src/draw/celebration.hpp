// The finale on the field: when the collection is complete, its 27 blossoms drift down over the
// field while a swarm of bees loops across it, for a few seconds. Play goes on underneath.
#pragma once

#include <cstdint>

#include "draw_error.hpp"

namespace qm {

class DrawContext;

class Celebration {
public:
    static constexpr std::uint32_t FRAMES = 188;       // six seconds of day frames
    static constexpr std::uint32_t CARD_FRAMES = 313;  // the card with the day stays ten seconds
    static constexpr std::uint32_t BEES = 14;

    void start() { frame_ = 0; }
    // One frame has passed.
    void advance() {
        if (frame_ < CARD_FRAMES) ++frame_;
    }
    // The swarm and the blossoms are in the air.
    bool running() const { return frame_ < FRAMES; }
    // The finale's card is still due on screen.
    bool card_up() const { return frame_ < CARD_FRAMES; }
    std::uint32_t frame() const { return frame_; }

    // Over the whole screen, in its own pass after everything the field and its controls show.
    DrawResult draw(DrawContext& ctx) const;

private:
    std::uint32_t frame_ = CARD_FRAMES;
};

}  // namespace qm
