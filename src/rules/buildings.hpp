// Buildings stand on the field over several cells, block the way and open a menu when walked
// into. The game has one: the shed, where the gardener picks her tool.
#pragma once

#include <cstdint>
#include <optional>

#include "draw_error.hpp"
#include "hex_geometry.hpp"
#include "ui.hpp"

namespace qm {

class DrawContext;  // the drawing itself is in buildings_draw.cpp

class Building {
public:
    virtual ~Building() = default;
    // The base cell: draw order, and where the gardener stands while inside.
    virtual Cell position() const = 0;
    // Is this fixed-point position on the building's ground area?
    virtual bool in_footprint(std::int32_t x, std::int32_t y) const = 0;
    // The menu that opens when the gardener walks in; none when it cannot be entered.
    virtual std::optional<ButtonMenu> menu() const = 0;
    virtual DrawResult draw(DrawContext& ctx) const = 0;
};

class Shed final : public Building {
public:
    static constexpr Cell BASE = cell(2, -14);
    static constexpr Fixed EXIT_POINT{131072, -851968};  // (2.0, -13.0), one row below the door

    Cell position() const override { return BASE; }
    bool in_footprint(std::int32_t x, std::int32_t y) const override;
    std::optional<ButtonMenu> menu() const override;
    DrawResult draw(DrawContext& ctx) const override;
};

}  // namespace qm
