// SDL's event queue and SDL's input state behind the controls' interfaces.
#include "sdl_input.hpp"

#include <SDL.h>

namespace qm {

namespace {

// SDL has one event queue, so only one pump may own the events subsystem at a time.
bool sdl_pump_open = false;

}  // namespace

SdlEventPump::~SdlEventPump() {
    if (open_) {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        sdl_pump_open = false;
    }
}

std::expected<SdlEventPump, std::string> SdlEventPump::open() {
    if (sdl_pump_open) return std::unexpected(std::string("an event pump is already open"));
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return std::unexpected(std::string(SDL_GetError()));
    sdl_pump_open = true;
    return SdlEventPump();
}

bool SdlEventPump::poll(SDL_Event& event) { return SDL_PollEvent(&event) == 1; }

bool SdlInput::key_down(SDL_Scancode key) const {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    return key >= 0 && key < count && state[key] != 0;
}

bool SdlInput::shift_down() const { return (SDL_GetModState() & KMOD_SHIFT) != 0; }

std::optional<ScreenPoint> SdlInput::mouse_in_window() const {
    if (SDL_GetMouseFocus() == nullptr) return std::nullopt;
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    return ScreenPoint{x, y};
}

bool SdlInput::fullscreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }

std::expected<void, std::string> SdlInput::set_fullscreen(bool on) {
    const Uint32 flags = on ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u;
    if (SDL_SetWindowFullscreen(window_, flags) != 0) {
        return std::unexpected(std::string(SDL_GetError()));
    }
    return {};
}

}  // namespace qm
