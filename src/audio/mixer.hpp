// The Sound behind SDL_mixer: every sound synthesized once at start-up into memory and handed to
// the mixer as it is. Opened as optional: without a device the game plays on silently.
#pragma once

#include <memory>

#include "audio.hpp"

namespace qm {

// SDL_mixer's device with every sound loaded, or, when audio cannot start (no device, a busy one,
// a format it refuses, SDL_mixer failing), a silent Sound after one line on stderr saying why.
std::unique_ptr<Sound> open_sound();

}  // namespace qm
