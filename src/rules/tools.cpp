// The four tools: what each can do to a tile and what a use of it asks the gardener to do.
#include "tools.hpp"

#include "bees.hpp"
#include "random.hpp"
#include "sheets.hpp"
#include "world.hpp"

namespace qm {

namespace {

template <typename T>
bool is(const Tile& tile) {
    return std::holds_alternative<T>(tile);
}

}  // namespace

std::uint32_t WateringCan::which() const { return std::to_underlying(ToolKind::WateringCan); }
std::uint32_t Shovel::which() const { return std::to_underlying(ToolKind::Shovel); }
std::uint32_t Hoe::which() const { return std::to_underlying(ToolKind::Hoe); }
std::uint32_t Smoker::which() const { return std::to_underlying(ToolKind::Smoker); }

bool WateringCan::can_use(const World& world, std::uint16_t x, std::uint16_t y, bool, bool) const {
    const Tile& tile = world.get_tile(x, y);
    if (water > 0) {
        const auto* soil = std::get_if<Soil>(&tile);
        return soil && !soil->watered;
    }
    return is<Water>(tile);
}

ToolOutcome WateringCan::use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t now) {
    const Tile& tile = world.get_tile(x, y);
    if (const auto* soil = std::get_if<Soil>(&tile); soil && water > 0 && !soil->watered) {
        Soil wet = *soil;
        if (wet.flower && wet.flower->stalled()) {
            wet.flower->next_stage = stage_due(now);
        }
        wet.watered = true;
        world.set_tile(x, y, wet);
        --water;
        if (water == 0) world.tell({Happening::Kind::CanRanDry, 0});
        return ToolOutcome::used();
    }
    if (is<Water>(tile)) {
        // Refills even a can that is not empty; the marker only invites it when empty.
        water = FULL;
        return ToolOutcome::used();
    }
    return ToolOutcome::nothing();
}

bool Shovel::can_use(const World& world, std::uint16_t x, std::uint16_t y, bool carrying_flowers, bool) const {
    const auto* soil = std::get_if<Soil>(&world.get_tile(x, y));
    if (!soil) return false;
    return soil->flower ? true : carrying_flowers;
}

ToolOutcome Shovel::use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t) {
    const auto* soil = std::get_if<Soil>(&world.get_tile(x, y));
    if (!soil) return ToolOutcome::nothing();
    if (!soil->flower) return ToolOutcome::plant();
    const Flower dug = *soil->flower;
    world.set_tile(x, y, Soil{std::nullopt, soil->watered});
    return ToolOutcome::picked_up(dug);
}

bool Hoe::can_use(const World& world, std::uint16_t x, std::uint16_t y, bool, bool) const {
    const Tile& tile = world.get_tile(x, y);
    return is<Lawn>(tile) || is<TallGrass>(tile) || is<Hive>(tile);
}

ToolOutcome Hoe::use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t) {
    const Tile& tile = world.get_tile(x, y);
    if (!is<Lawn>(tile) && !is<TallGrass>(tile)) return ToolOutcome::nothing();
    world.set_tile(x, y, Soil{});
    return ToolOutcome::used();
}

bool Smoker::can_use(const World& world, std::uint16_t x, std::uint16_t y, bool, bool carrying_hive) const {
    const Tile& tile = world.get_tile(x, y);
    if (is<Water>(tile)) return false;
    if (is<Hive>(tile)) return !carrying_hive;
    return carrying_hive;
}

ToolOutcome Smoker::use_tool(World& world, std::uint16_t x, std::uint16_t y, std::uint16_t) {
    const Tile& tile = world.get_tile(x, y);
    if (is<Water>(tile)) return ToolOutcome::nothing();
    if (const auto* hive = std::get_if<Hive>(&tile)) {
        if (has_upgrade_menu(hive->hive)) return ToolOutcome::open(upgrade_menu(hive->hive));
        // Smoke only: the bees calm down, and the gardener sees how far the honey has come.
        world.tell({Happening::Kind::HiveSmoked, honey_percent(hive->hive.honey)});
        return ToolOutcome::used();
    }
    return ToolOutcome::place_hive();
}

std::unique_ptr<Tool> tool_for_shed_button(std::size_t index) {
    switch (index) {
        case 0: return std::make_unique<WateringCan>();
        case 1: return std::make_unique<Shovel>();
        case 2: return std::make_unique<Hoe>();
        case 3: return std::make_unique<Smoker>();
        default: return nullptr;
    }
}

}  // namespace qm
