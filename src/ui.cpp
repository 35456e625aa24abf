// Hit tests and finger handling of the on-screen controls. Buttons sit on a coarse hex grid whose
// steps are two world units, so a hit test halves the vector and rounds it to a grid cell.
#include "ui.hpp"

#include "graphics.hpp"

namespace qm {

namespace {

// The pad's centre as a world offset from the screen's top-left corner mapping.
constexpr std::int32_t PAD_X_OFFSET = MOVE_PAD_CENTRE_X * UNITS_PER_PIXEL_I;
constexpr std::int32_t PAD_Y_OFFSET = MOVE_PAD_CENTRE_FROM_BOTTOM * UNITS_PER_PIXEL_J;
// The default button grid's corner point in the same terms.
constexpr std::uint32_t BUTTON_GRID_X_OFFSET = BUTTON_GRID_FROM_RIGHT * UNITS_PER_PIXEL_I;
constexpr std::uint32_t BUTTON_GRID_Y_OFFSET = BUTTON_GRID_FROM_BOTTOM * UNITS_PER_PIXEL_J;
constexpr std::int32_t PAD_RADIUS = 0x20000;

}  // namespace

Fixed shrink_vector(Fixed v, int shift) {
    auto ax = static_cast<std::int32_t>(static_cast<std::uint32_t>(wrap_abs(v.i)) >> shift);
    const auto ay = static_cast<std::int32_t>(static_cast<std::uint32_t>(wrap_abs(v.j)) >> shift);
    if (((ax ^ ay) & 1) != 0) ax = wrap_add(ax, 1);
    return {v.i < 0 ? wrap_neg(ax) : ax, v.j < 0 ? wrap_neg(ay) : ay};
}

Fixed default_button_origin(const ScreenTransform& transform) {
    const std::uint32_t w = static_cast<std::uint32_t>(transform.width);
    const std::uint32_t h = static_cast<std::uint32_t>(transform.height);
    const std::uint32_t hh = (2978u * h) >> 1;
    const auto x = static_cast<std::uint32_t>(transform.center.i) + 2048u * w - (hh & 1u) - BUTTON_GRID_X_OFFSET;
    const auto y = static_cast<std::uint32_t>(transform.center.j) + (2978u * h - hh) - BUTTON_GRID_Y_OFFSET;
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
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

std::optional<MenuResult> ButtonMenu::run_action(std::size_t index, World& world, Lily& lily) {
    if (!action) return std::nullopt;
    MenuAction taken = std::move(*action);
    action.reset();
    return taken(index, world, lily);
}

Fixed MovePad::offset_of(const ScreenTransform& transform, std::int32_t x, std::int32_t y) {
    return {wrap_sub(wrap_mul(x, UNITS_PER_PIXEL_I), PAD_X_OFFSET),
            wrap_add(wrap_mul(wrap_sub(y, transform.height), UNITS_PER_PIXEL_J), PAD_Y_OFFSET)};
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

Fixed MovePad::step() const { return shrink_vector(vector, 5); }

DrawResult MovePad::draw(DrawContext& ctx) const {
    if (!enabled) return {};
    const std::int32_t w = ctx.transform.width;
    const std::int32_t h = ctx.transform.height;
    const ScreenRect pad = move_pad_rect(h);
    if (auto r = ctx.copy_whole(ctx.move_pad.get(), SDL_Rect{pad.x, pad.y, pad.w, pad.h}); !r) return r;
    if (!finger) return {};
    const std::int32_t hh = wrap_mul(UNITS_PER_PIXEL_J, h) >> 1;
    const std::int32_t kx =
        w / 2 + (wrap_add(wrap_mul(PIXELS_PER_I, wrap_sub(wrap_sub(vector.i, wrap_mul(2048, w)), h & 1)),
                          PIXELS_PER_I * PAD_X_OFFSET) >>
                 16);
    const std::int32_t ky =
        h / 2 + (wrap_sub(wrap_mul(PIXELS_PER_J, wrap_sub(wrap_add(vector.j, wrap_mul(UNITS_PER_PIXEL_J, h)), hh)),
                          PIXELS_PER_J * PAD_Y_OFFSET) >>
                 16);
    // The knob is the ground sheet's mark cell, its anchor on the finger.
    const SheetSpec& knob = sheet_spec(SheetId::ground);
    const int mark = static_cast<int>(std::to_underlying(GroundCell::Mark));
    return ctx.copy(ctx.ground.get(), SDL_Rect{mark * knob.cell_w, 0, knob.cell_w, knob.cell_h},
                    SDL_Rect{kx - knob.anchor_x, ky - knob.anchor_y, knob.cell_w, knob.cell_h});
}

}  // namespace qm
