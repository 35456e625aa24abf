// The small speaker mark that shows the volume for two seconds after it changes: a speaker, and
// ten bars lit up to the level, or a cross while muted. Top right, under the frame time.
#pragma once

#include <cstdint>

#include "audio.hpp"
#include "draw_error.hpp"

namespace qm {

class DrawContext;

// How long the mark stays after a change: two seconds of day frames.
inline constexpr std::uint32_t SPEAKER_MARK_FRAMES = 63;

DrawResult draw_speaker_mark(DrawContext& ctx, const Volume& volume);

}  // namespace qm
