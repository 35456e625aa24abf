// The application icon, painted by the art generator at each size the desktop asks for.
#pragma once

#include "paint.hpp"

namespace qm {

// A square icon of `size` pixels: a beehive and a flower on a hex of lawn, on a clear ground.
Picture paint_icon(int size);

}  // namespace qm
