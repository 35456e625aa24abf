// Opening, closing and reading game controllers, and the stick's arithmetic.
#include "gamepad.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <SDL.h>

namespace qm {

namespace {

constexpr std::int64_t STICK_FULL = 32767;
constexpr std::int64_t PAD_RADIUS = 0x20000;
constexpr std::int64_t STICK_MENU_PUSH = 16384;

bool subsystem_up() { return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0; }

std::int64_t squared_length(StickPosition s) {
    return std::int64_t{s.x} * s.x + std::int64_t{s.y} * s.y;
}

}  // namespace

Fixed stick_knob(StickPosition stick) {
    const auto length = std::min(STICK_FULL, static_cast<std::int64_t>(std::sqrt(static_cast<double>(squared_length(stick)))));
    if (length <= STICK_DEAD_ZONE) return {};
    const std::int64_t reach = (length - STICK_DEAD_ZONE) * PAD_RADIUS / (STICK_FULL - STICK_DEAD_ZONE);
    // The stick's direction in world units, as a finger's offset on the pad would be.
    const std::int64_t wi = std::int64_t{stick.x} * UNITS_PER_PIXEL_I;
    const std::int64_t wj = std::int64_t{stick.y} * UNITS_PER_PIXEL_J;
    const std::int64_t a = std::abs(wi);
    const std::int64_t b = std::abs(wj);
    const std::int64_t hex = std::max(b, (a + b) / 2);
    // Rounded toward zero onto even values: the parity rule holds and the knob stays inside.
    const auto even = [](std::int64_t v) { return static_cast<std::int32_t>(v / 2 * 2); };
    return {even(wi * reach / hex), even(wj * reach / hex)};
}

ScreenDirection stick_direction(StickPosition stick) {
    if (squared_length(stick) < STICK_MENU_PUSH * STICK_MENU_PUSH) return {};
    // A component counts when it is at least tan(22.5°) of the other: eight equal sectors.
    const std::int64_t ax = std::abs(std::int64_t{stick.x});
    const std::int64_t ay = std::abs(std::int64_t{stick.y});
    const auto sign = [](std::int64_t v) { return v < 0 ? -1 : 1; };
    return {12 * ax >= 5 * ay ? sign(stick.x) : 0, 12 * ay >= 5 * ax ? sign(stick.y) : 0};
}

Gamepads::~Gamepads() {
    if (!subsystem_up()) return;
    for (const SDL_JoystickID id : open_) SDL_GameControllerClose(SDL_GameControllerFromInstanceID(id));
}

void Gamepads::add(int device_index) {
    if (!subsystem_up()) return;
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (controller == nullptr) return;  // not a game controller after all, or gone again
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (std::ranges::find(open_, id) != open_.end()) {
        SDL_GameControllerClose(controller);  // SDL counts opens; keep one
        return;
    }
    open_.push_back(id);
}

void Gamepads::remove(SDL_JoystickID instance) {
    const auto found = std::ranges::find(open_, instance);
    if (found == open_.end()) return;
    if (subsystem_up()) SDL_GameControllerClose(SDL_GameControllerFromInstanceID(instance));
    open_.erase(found);
}

bool Gamepads::held(SDL_GameControllerButton button) const {
    if (!subsystem_up()) return false;
    return std::ranges::any_of(open_, [button](SDL_JoystickID id) {
        SDL_GameController* controller = SDL_GameControllerFromInstanceID(id);
        return controller != nullptr && SDL_GameControllerGetButton(controller, button) != 0;
    });
}

StickPosition Gamepads::stick(SDL_GameControllerAxis x, SDL_GameControllerAxis y) const {
    StickPosition furthest;
    if (!subsystem_up()) return furthest;
    for (const SDL_JoystickID id : open_) {
        SDL_GameController* controller = SDL_GameControllerFromInstanceID(id);
        if (controller == nullptr) continue;
        const StickPosition s{SDL_GameControllerGetAxis(controller, x), SDL_GameControllerGetAxis(controller, y)};
        if (squared_length(s) > squared_length(furthest)) furthest = s;
    }
    return furthest;
}

}  // namespace qm
