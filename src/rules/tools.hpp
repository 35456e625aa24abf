// The gardener's four tools behind one interface, and what a use of one asks her to do.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "flowers.hpp"
#include "menu_request.hpp"

namespace qm {

class World;

// The four tools, in the order the shed hands them out.
enum class ToolKind : std::uint8_t { WateringCan, Shovel, Hoe, Smoker };

struct ToolOutcome {
    enum class Kind { Nothing, Used, PickedUp, Plant, PlaceHive, Menu };
    Kind kind = Kind::Nothing;
    std::optional<Flower> flower;     // PickedUp
    std::optional<MenuRequest> menu;  // Menu

    static ToolOutcome nothing() { return {}; }
    static ToolOutcome used() { return {Kind::Used, {}, {}}; }
    static ToolOutcome picked_up(Flower f) { return {Kind::PickedUp, f, {}}; }
    static ToolOutcome plant() { return {Kind::Plant, {}, {}}; }
    static ToolOutcome place_hive() { return {Kind::PlaceHive, {}, {}}; }
    static ToolOutcome open(MenuRequest m) { return {Kind::Menu, {}, m}; }
};

class Tool {
public:
    virtual ~Tool() = default;
    virtual ToolKind kind() const = 0;
    // Colour of the selection marker, packed red | green << 8 | blue << 16.
    virtual std::uint32_t tint() const = 0;
    // Would a use on tile (x, y) do something?
    virtual bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                         bool carrying_hive) const = 0;
    virtual ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) = 0;
};

class WateringCan final : public Tool {
public:
    static constexpr std::uint8_t FULL = 32;
    std::uint8_t water = 16;

    ToolKind kind() const override { return ToolKind::WateringCan; }
    std::uint32_t tint() const override { return 0xFF0000; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

class Shovel final : public Tool {
public:
    ToolKind kind() const override { return ToolKind::Shovel; }
    std::uint32_t tint() const override { return 0x000000; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

class Hoe final : public Tool {
public:
    ToolKind kind() const override { return ToolKind::Hoe; }
    std::uint32_t tint() const override { return 0x004040; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

class Smoker final : public Tool {
public:
    ToolKind kind() const override { return ToolKind::Smoker; }
    std::uint32_t tint() const override { return 0x00FFFF; }
    bool can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers,
                 bool carrying_hive) const override;
    ToolOutcome use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) override;
};

// The tool a choice in the shed hands out, fresh; none for empty hands and a hive's choices.
std::unique_ptr<Tool> tool_for(Choice choice);

}  // namespace qm
