// Buildings stand on the field over several cells, block the way and open a menu when walked
// into. The game has one: the shed, where the gardener picks her tool.
#pragma once

#include <cstdint>
#include <optional>

#include "hex_geometry.hpp"
#include "menu_request.hpp"

namespace qm {

class Building {
public:
    virtual ~Building() = default;
    // The base cell: draw order, and where the gardener stands while inside.
    virtual Cell position() const = 0;
    // Is this fixed-point position on the building's ground area?
    virtual bool in_footprint(std::int32_t x, std::int32_t y) const = 0;
    // The menu that opens when the gardener walks in; none when it cannot be entered.
    virtual std::optional<MenuRequest> menu() const = 0;
};

class Shed final : public Building {
public:
    static constexpr Cell BASE = cell(2, -14);
    static constexpr Fixed EXIT_POINT{131072, -851968};  // (2.0, -13.0), one row below the door

    Cell position() const override { return BASE; }
    bool in_footprint(std::int32_t x, std::int32_t y) const override;
    std::optional<MenuRequest> menu() const override;
};

}  // namespace qm
