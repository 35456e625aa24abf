// Hit tests and finger handling of the on-screen controls. Buttons sit on a coarse hex grid whose
// steps are two world units, so a hit test halves the vector and rounds it to a grid cell.
#include "ui.hpp"

#include <cstdlib>

#include "sheets.hpp"

namespace qm {

namespace {

constexpr std::int32_t PAD_RADIUS = 0x20000;

}  // namespace

Fixed shrink_vector(Fixed v, int shift) {
    auto ax = static_cast<std::int32_t>(static_cast<std::uint32_t>(wrap_abs(v.i)) >> shift);
    const auto ay = static_cast<std::int32_t>(static_cast<std::uint32_t>(wrap_abs(v.j)) >> shift);
    if (((ax ^ ay) & 1) != 0) ax = wrap_add(ax, 1);
    return {v.i < 0 ? wrap_neg(ax) : ax, v.j < 0 ? wrap_neg(ay) : ay};
}

Fixed default_button_origin(const ScreenTransform& transform) {
    return transform.to_world(wrap_sub(transform.width, BUTTON_GRID_FROM_RIGHT),
                              wrap_sub(transform.height, BUTTON_GRID_FROM_BOTTOM));
}

ScreenPoint button_point(const ScreenTransform& transform, std::optional<Fixed> anchor, std::int16_t du,
                         std::int16_t dv) {
    constexpr std::int32_t BUTTON_GRID_STEP = 2 * ONE_UNIT;
    // Without an anchor the grid hangs from a point near the bottom-right corner, so it follows
    // the camera and stays put on the screen.
    const Fixed origin = anchor ? *anchor : default_button_origin(transform);
    return transform.to_screen(wrap_add(origin.i, wrap_mul(std::int32_t{du}, BUTTON_GRID_STEP)),
                               wrap_add(origin.j, wrap_mul(std::int32_t{dv}, BUTTON_GRID_STEP)));
}

bool Button::hit(const ScreenTransform& transform, std::int32_t x, std::int32_t y) const {
    const Fixed anchor = origin ? *origin : default_button_origin(transform);
    const Fixed v = transform.to_world(x, y) - anchor;
    const Cell c = containing_tile(shrink_vector(v, 1));
    return c.i == static_cast<std::uint16_t>(cell.du) && c.j == static_cast<std::uint16_t>(cell.dv);
}

bool Button::on_finger_down(const ScreenTransform& transform, std::int64_t finger, std::int32_t x,
                            std::int32_t y) {
    if (!visible || held) return false;
    if (!hit(transform, x, y)) return false;
    held = finger;
    return true;
}

ButtonMenu::ButtonMenu(std::int16_t centre_i, std::int16_t centre_j,
                       const std::array<std::optional<std::uint32_t>, 6>& slots, MenuAction menu_action)
    : action(std::move(menu_action)) {
    const Fixed origin{wrap_mul(centre_i, ONE_UNIT), wrap_mul(centre_j, ONE_UNIT)};
    for (std::size_t k = 0; k < slots.size(); ++k) {
        if (slots[k]) items.emplace_back(origin, MENU_SLOTS[k], *slots[k]);
    }
}

bool ButtonMenu::on_click(const ScreenTransform& transform, std::int32_t x, std::int32_t y) {
    for (Button& button : items) {
        if (button.held) continue;
        if (button.hit(transform, x, y)) {
            button.held = 0;
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> ButtonMenu::chosen() const {
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k].held) return k;
    }
    return std::nullopt;
}

std::size_t ButtonMenu::towards(std::size_t from, int dx, int dy) const {
    std::size_t best = from;
    std::int64_t best_along = 0;
    std::int64_t best_across = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        // Offsets in pixels: a step of the button grid is 32 across and 44 down.
        const std::int64_t x = 32 * (items[k].cell.du - items[from].cell.du);
        const std::int64_t y = 44 * (items[k].cell.dv - items[from].cell.dv);
        const std::int64_t along = x * dx + y * dy;
        if (along <= 0) continue;
        const std::int64_t across = std::abs(x * dy - y * dx);
        // across / along is the tangent of the angle; compared without dividing.
        const std::int64_t narrower = across * best_along - best_across * along;
        if (best == from || narrower < 0 || (narrower == 0 && along < best_along)) {
            best = k;
            best_along = along;
            best_across = across;
        }
    }
    return best;
}

std::optional<std::size_t> ButtonMenu::in_slot(std::size_t slot) const {
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k].cell == MENU_SLOTS[slot]) return k;
    }
    return std::nullopt;
}

std::optional<MenuResult> ButtonMenu::run_action(std::size_t index, World& world, Lily& lily) {
    if (!action) return std::nullopt;
    MenuAction taken = std::move(*action);
    action.reset();
    return taken(index, world, lily);
}

Fixed MovePad::offset_of(const ScreenTransform& transform, std::int32_t x, std::int32_t y) {
    return transform.to_world(x, y) - centre(transform);
}

bool MovePad::press(const ScreenTransform& transform, std::int64_t finger_id, std::int32_t x, std::int32_t y) {
    if (!enabled || finger) return false;
    const Fixed v = offset_of(transform, x, y);
    if (hex_length(v) > static_cast<std::uint32_t>(PAD_RADIUS)) return false;
    finger = finger_id;
    vector = v;
    return true;
}

void MovePad::drag(const ScreenTransform& transform, std::int64_t finger_id, std::int32_t x, std::int32_t y) {
    if (!enabled || finger != finger_id) return;
    vector = within(offset_of(transform, x, y), PAD_RADIUS);
}

bool MovePad::release(std::int64_t finger_id) {
    if (!enabled || finger != finger_id) return false;
    finger.reset();
    return true;
}

Fixed MovePad::step_for(Fixed knob) { return shrink_vector(knob, 5); }

Fixed MovePad::centre(const ScreenTransform& transform) {
    return transform.to_world(MOVE_PAD_CENTRE_X, wrap_sub(transform.height, MOVE_PAD_CENTRE_FROM_BOTTOM));
}

}  // namespace qm
