// The gardener's four tools behind one interface, and what a use of one asks her to do.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "draw_error.hpp"
#include "flowers.hpp"
#include "ui.hpp"

namespace qm {

class World;
class DrawContext;  // the drawing itself is in tools_draw.cpp

struct ToolOutcome {
    enum class Kind { Nothing, Used, PickedUp, Plant, PlaceHive, Menu };
    Kind kind = Kind::Nothing;
    std::optional<Flower> flower;    // PickedUp
    std::optional<ButtonMenu> menu;  // Menu

    static ToolOutcome nothing() { return {}; }
    static ToolOutcome used() { return {Kind::Used, {}, {}}; }
    static ToolOutcome picked_up(Flower f) { return {Kind::PickedUp, f, {}}; }
    static ToolOutcome plant() { return {Kind::Plant, {}, {}}; }
    static ToolOutcome place_hive() { return {Kind::PlaceHive, {}, {}}; }
    static ToolOutcome open(ButtonMenu m) { return {Kind::Menu, {}, std::move(m)}; }
};

class Tool {
public:
    virtual ~Tool() = default;
    // The tool's kind as a number: its row of the tool sheet; button_row() gives its shed button.
    virtual std::uint32_t which() const = 0;
    // Colour of the selection marker, packed red | green << 8 | blue << 16.
    virtual std::uint32_t tint() const = 0;
    // Would a use on tile (x, y) do something?
    virtual bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                         bool carrying_hive) const = 0;
    virtual ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) = 0;
    // The meter beside the hand; most tools have none.
    virtual DrawResult draw_meter(DrawContext& ctx, std::int32_t x, std::int32_t y, std::int32_t dx,
                                  std::int32_t dy, bool mirrored) const;
};

class WateringCan final : public Tool {
public:
    static constexpr std::uint8_t FULL = 32;
    std::uint8_t water = 16;

    std::uint32_t which() const override;
    std::uint32_t tint() const override { return 0xFF0000; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
    DrawResult draw_meter(DrawContext& ctx, std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                          bool mirrored) const override;
};

class Shovel final : public Tool {
public:
    std::uint32_t which() const override;
    std::uint32_t tint() const override { return 0x000000; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

class Hoe final : public Tool {
public:
    std::uint32_t which() const override;
    std::uint32_t tint() const override { return 0x004040; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

class Smoker final : public Tool {
public:
    std::uint32_t which() const override;
    std::uint32_t tint() const override { return 0x00FFFF; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

// The tool a shed button index hands out: 0 can, 1 shovel, 2 hoe, 3 smoker, else none.
std::unique_ptr<Tool> tool_for_shed_button(std::size_t index);

}  // namespace qm
