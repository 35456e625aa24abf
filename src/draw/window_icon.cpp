// The window's icon from the built-in pixels.
#include "window_icon.hpp"

#include <SDL.h>

#include "sdl.hpp"

namespace qm {

bool set_window_icon(SDL_Window* window) {
    // SDL only reads the pixels while it copies them into the window's property.
    const SurfacePtr icon{SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(WINDOW_ICON_RGBA), WINDOW_ICON_SIZE,
                                                             WINDOW_ICON_SIZE, 32, WINDOW_ICON_SIZE * 4, SDL_PIXELFORMAT_RGBA32)};
    if (!icon) return false;
    SDL_SetWindowIcon(window, icon.get());
    return true;
}

}  // namespace qm
