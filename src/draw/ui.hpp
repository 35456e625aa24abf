// On-screen controls: hexagonal buttons on a coarse button grid, the six-slot button menu with its
// one-shot action, and the move pad. Only hit tests and state here; drawing goes through
// DrawContext::draw_button and MovePad::draw.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "draw_error.hpp"
#include "hex_geometry.hpp"

namespace qm {

class World;
struct Lily;
class DrawContext;  // the drawing itself is in ui_draw.cpp

class TouchTarget {
public:
    virtual ~TouchTarget() = default;
    // A finger went down at logical pixel (x, y); true when this target took it.
    virtual bool on_finger_down(const ScreenTransform& transform, std::int64_t finger, std::int32_t x,
                                std::int32_t y) = 0;
};

class ClickTarget {
public:
    virtual ~ClickTarget() = default;
    // A left click at logical pixel (x, y); true when this target took it.
    virtual bool on_click(const ScreenTransform& transform, std::int32_t x, std::int32_t y) = 0;
};

// A button's cell on the button grid (steps of two world units).
struct ButtonCell {
    std::int16_t du = 0;
    std::int16_t dv = 0;
    friend constexpr bool operator==(const ButtonCell&, const ButtonCell&) = default;
};

// The world point under logical pixel (W - BUTTON_GRID_FROM_RIGHT, H - BUTTON_GRID_FROM_BOTTOM):
// where the default button grid sits.
Fixed default_button_origin(const ScreenTransform& transform);

// The screen point of a button's centre on its grid.
ScreenPoint button_point(const ScreenTransform& transform, std::optional<Fixed> anchor, std::int16_t du, std::int16_t dv);

class Button final : public TouchTarget {
public:
    std::optional<std::int64_t> held;  // the finger holding it; 0 for a mouse click
    std::optional<Fixed> origin;        // none: the default corner origin, fixed on the screen
    ButtonCell cell;
    std::uint32_t sprite = 0;           // row of the button sheet
    bool visible = true;

    Button() = default;
    Button(std::optional<Fixed> origin_, ButtonCell cell_, std::uint32_t sprite_)
        : origin(origin_), cell(cell_), sprite(sprite_) {}

    bool hit(const ScreenTransform& transform, std::int32_t x, std::int32_t y) const;
    bool on_finger_down(const ScreenTransform& transform, std::int64_t finger, std::int32_t x,
                        std::int32_t y) override;
};

class ButtonMenu;

// What a menu's action leaves behind: nothing (the menu closes) or a menu that replaces it.
using MenuResult = std::optional<ButtonMenu>;
using MenuAction = std::function<MenuResult(std::size_t index, World& world, Lily& lily)>;

// The six slots in neighbour order (W, NW, NE, E, SE, SW) as cells of the button grid.
inline constexpr std::array<ButtonCell, 6> MENU_SLOTS{{{-2, 0}, {-1, -1}, {1, -1}, {2, 0}, {1, 1}, {-1, 1}}};
// The south-west slot holds the button that leaves a menu: "close" on a hive, empty hands in the shed.
inline constexpr std::size_t CLOSE_SLOT = 5;

class ButtonMenu final : public ClickTarget {
public:
    std::vector<Button> items;
    std::optional<MenuAction> action;

    // Buttons for the filled slots around a field cell; empty slots keep their place in the ring.
    ButtonMenu(std::int16_t centre_i, std::int16_t centre_j, const std::array<std::optional<std::uint32_t>, 6>& slots,
               MenuAction menu_action);

    bool on_click(const ScreenTransform& transform, std::int32_t x, std::int32_t y) override;
    // Index of the first held button, if any.
    std::optional<std::size_t> chosen() const;
    // The button that lies towards a screen direction (dx, dy, each -1, 0 or 1) from button
    // `from`: the smallest angle to that direction wins, then the shorter way; `from` itself when
    // no button lies that way.
    std::size_t towards(std::size_t from, int dx, int dy) const;
    // The button standing in a slot of the ring, if that slot is filled.
    std::optional<std::size_t> in_slot(std::size_t slot) const;
    // Takes the action out and runs it once with the chosen index; none when it was taken already.
    std::optional<MenuResult> run_action(std::size_t index, World& world, Lily& lily);
};

// The virtual joystick in the bottom-left corner, centred on logical pixel
// (MOVE_PAD_CENTRE_X, H - MOVE_PAD_CENTRE_FROM_BOTTOM).
class MovePad {
public:
    std::optional<std::int64_t> finger;
    Fixed vector{};
    bool enabled = true;

    bool press(const ScreenTransform& transform, std::int64_t finger_id, std::int32_t x, std::int32_t y);
    void drag(const ScreenTransform& transform, std::int64_t finger_id, std::int32_t x, std::int32_t y);
    bool release(std::int64_t finger_id);
    // The step per frame while held: the vector / 32, at most a keyboard step.
    Fixed step() const { return step_for(vector); }
    static Fixed step_for(Fixed knob);
    DrawResult draw(DrawContext& ctx) const;

    // The world point under the pad's centre.
    static Fixed centre(const ScreenTransform& transform);
    // Offset of pixel (x, y) from the pad centre in world units.
    static Fixed offset_of(const ScreenTransform& transform, std::int32_t x, std::int32_t y);
};

// Halves a world vector onto the button grid (or /32 for the pad), keeping the parity rule.
Fixed shrink_vector(Fixed v, int shift);

}  // namespace qm
