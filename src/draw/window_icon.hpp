// The window's own icon, so the task switcher and the dock show the game's picture rather than the
// window manager's generic one. The pixels are the art generator's icon, built into the binary.
#pragma once

struct SDL_Window;

namespace qm {

// Side of the built-in icon, and its pixels row by row, four bytes (R, G, B, A) each.
extern const int WINDOW_ICON_SIZE;
extern const unsigned char WINDOW_ICON_RGBA[];

// Gives the window its icon; false (with SDL's error set) when SDL cannot, which is no reason to stop.
bool set_window_icon(SDL_Window* window);

}  // namespace qm
