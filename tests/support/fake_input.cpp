// The fake event queue and input state, and the event makers the input tests push.
#include "fake_input.hpp"

#include <cstring>

namespace qm::test {

bool FakeEvents::poll(SDL_Event& event) {
    if (queue.empty()) return false;
    event = queue.front();
    queue.pop_front();
    return true;
}

std::expected<void, std::string> FakeInput::set_fullscreen(bool on) {
    fullscreen_calls.push_back(on);
    if (fullscreen_error) return std::unexpected(*fullscreen_error);
    is_fullscreen = on;
    return {};
}

SDL_Event quit_event() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

SDL_Event key_event(SDL_Scancode key, bool repeat) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = key;
    e.key.keysym.sym = SDL_GetKeyFromScancode(key);
    return e;
}

namespace {
SDL_Event mouse_button(std::uint32_t type, std::int32_t x, std::int32_t y, std::uint8_t button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return e;
}
}  // namespace

SDL_Event mouse_down(std::int32_t x, std::int32_t y, std::uint8_t button) {
    return mouse_button(SDL_MOUSEBUTTONDOWN, x, y, button);
}

SDL_Event mouse_up(std::int32_t x, std::int32_t y, std::uint8_t button) {
    return mouse_button(SDL_MOUSEBUTTONUP, x, y, button);
}

SDL_Event finger_event(std::uint32_t type, std::int64_t finger, float x, float y) {
    SDL_Event e{};
    e.type = type;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = finger;
    e.tfinger.x = x;
    e.tfinger.y = y;
    e.tfinger.pressure = 1.0f;
    return e;
}

SDL_Event drop_file(const std::string& name) {
    SDL_Event e{};
    e.type = SDL_DROPFILE;
    auto* copy = static_cast<char*>(SDL_malloc(name.size() + 1));
    std::memcpy(copy, name.c_str(), name.size() + 1);
    e.drop.file = copy;
    return e;
}

}  // namespace qm::test
