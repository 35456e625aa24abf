// The gardener's movement and actions: walking (into buildings too), turning, choosing the tile
// she works on, and carrying out what her tool asks for.
#include "lily.hpp"

#include <algorithm>
#include <array>

#include "sheets.hpp"
#include "world.hpp"

namespace qm {

namespace {

constexpr std::uint16_t ARM_RAISED_TICKS = 8;

// What a use of the tool did, told from what the tile was before and what the tool answered.
Happening tool_happening(const Tool& tool, const Tile& before, ToolOutcome::Kind outcome) {
    using K = Happening::Kind;
    const ToolKind kind{tool.which()};
    const auto told = [&](K k) { return Happening{k, std::to_underlying(kind)}; };
    if (outcome != ToolOutcome::Kind::Used) {
        // The can's only refusal that the player can mend is an empty can over dry soil.
        const auto* can = kind == ToolKind::WateringCan ? dynamic_cast<const WateringCan*>(&tool) : nullptr;
        const auto* soil = std::get_if<Soil>(&before);
        return told(can && can->water == 0 && soil && !soil->watered ? K::CanEmpty : K::ToolIdle);
    }
    switch (kind) {
        case ToolKind::Hoe: return told(K::Tilled);
        case ToolKind::Smoker: return told(K::Smoked);
        case ToolKind::WateringCan: return told(std::holds_alternative<Water>(before) ? K::CanFilled : K::Watered);
        case ToolKind::Shovel: break;
    }
    return told(K::ToolIdle);
}

}  // namespace

std::uint32_t facing_sector(Fixed v) {
    if (v == Fixed{}) return 0;
    const Fixed g = with_length(v, 2);
    if (std::abs(g.i) > std::abs(g.j)) return g.i >= 0 ? 0 : 2;
    return g.j >= 0 ? 3 : 1;
}

namespace {

// Her feet reach this far either side of the point she stands on, and a little before and behind
// it; none of that may stand over water.
constexpr std::int32_t FEET_ACROSS = 0x4000;  // four pixels
constexpr std::int32_t FEET_DEEP = 0x2000;    // about three pixels

}  // namespace

bool dry_feet(const World& world, Fixed at) {
    constexpr std::array<std::array<std::int32_t, 2>, 4> EDGES{{{-FEET_ACROSS, 0}, {FEET_ACROSS, 0}, {0, -FEET_DEEP}, {0, FEET_DEEP}}};
    return std::ranges::none_of(EDGES, [&](const auto& e) {
        return std::holds_alternative<Water>(world.get_tile(containing_tile(wrap_add(at.i, e[0]), wrap_add(at.j, e[1]))));
    });
}

namespace {

bool is_neighbour(Cell offset) { return std::ranges::find(NEIGHBOURS, offset) != NEIGHBOURS.end(); }

// Of the six neighbours of `here`, the one whose centre is nearest to p; ties go to the earlier.
Cell nearest_neighbour(Cell here, Fixed p) {
    Cell best = NEIGHBOURS[0];
    std::uint32_t best_distance = hex_length(p - centre_of(here + best));
    for (const Cell offset : NEIGHBOURS) {
        const std::uint32_t d = hex_length(p - centre_of(here + offset));
        if (d < best_distance) {
            best = offset;
            best_distance = d;
        }
    }
    return best;
}

}  // namespace

Cell neighbour_toward(Fixed from, Fixed v) {
    const Fixed ahead = from + with_length(v, ONE_UNIT);
    const Cell here = containing_tile(from);
    const Cell offset = containing_tile(ahead) - here;
    return is_neighbour(offset) ? offset : nearest_neighbour(here, ahead);
}

void Lily::turn(std::int32_t di, std::int32_t dj) {
    const Fixed v{di, dj};
    if (v == Fixed{}) return;
    if (facing_sector(facing) != facing_sector(v)) anchor = position;  // the walk cycle restarts
    facing = v;
}

std::optional<ButtonMenu> Lily::walk(World& world, std::int32_t di, std::int32_t dj) {
    if (di == 0 && dj == 0) return std::nullopt;
    turn(di, dj);
    const Fixed next = position + Fixed{di, dj};

    for (const auto& building : world.buildings) {
        if (!building->in_footprint(next.i, next.j)) continue;
        const Fixed base = centre_of(building->position());
        // Only from the building's row or below: the door is at the bottom.
        if (wrap_sub(position.j, base.j) < 0) continue;
        if (auto menu = building->menu()) {
            position = base;
            anchor = base;
            in_building = true;
            return menu;
        }
    }

    const std::int32_t probe_i = wrap_add(next.i, (next.i ^ next.j) & 1);
    if (!world.walkable(probe_i, next.j) || !dry_feet(world, next)) {
        anchor = position;
        // Turned toward the water or a wall she stays, but aims at what she faces: every shore
        // of the pond fills the can.
        selection = neighbour_toward(position, facing);
        return std::nullopt;
    }
    position = next;
    selection = neighbour_toward(next, facing);
    return std::nullopt;
}

void Lily::select_pointed(Fixed pointer) {
    const Cell here = containing_tile(position);
    const Cell under = containing_tile(pointer) - here;
    if (is_neighbour(under)) {
        selection = under;
        return;
    }
    const Fixed toward = pointer - position;
    if (toward == Fixed{}) return;
    selection = neighbour_toward(position, toward);
}

std::optional<Cell> Lily::target() const {
    if (!selection) return std::nullopt;
    return containing_tile(position) + *selection;
}

std::optional<ButtonMenu> Lily::use_tool(World& world, std::uint16_t now, bool using_tool) {
    if (!using_tool) {
        last_used.reset();
        return std::nullopt;
    }
    const std::optional<Cell> aim = target();
    if (!aim) return std::nullopt;
    if (last_used == aim) return std::nullopt;  // one use per tile while the input stays held
    if (!tool) return std::nullopt;

    const auto raised = static_cast<std::uint16_t>(now + ARM_RAISED_TICKS);
    const Tile before = world.get_tile(*aim);
    ToolOutcome outcome = tool->use_tool(world, aim->i, aim->j, now);
    // Every use is told once: what the tool did, or what she did with its answer.
    Happening told = tool_happening(*tool, before, outcome.kind);
    switch (outcome.kind) {
        case ToolOutcome::Kind::Nothing:
            break;
        case ToolOutcome::Kind::Used:
            arm_until = raised;
            break;
        case ToolOutcome::Kind::PickedUp:
            carried_flowers.push_back(*outcome.flower);
            arm_until = raised;
            told = {Happening::Kind::DugUp, static_cast<std::uint32_t>(genotype_of(*outcome.flower))};
            break;
        case ToolOutcome::Kind::Plant: {
            // The front flower leaves the queue only when it really goes into empty soil, so a
            // stray Plant on any other tile cannot lose a carried flower.
            const auto* soil = std::get_if<Soil>(&world.get_tile(*aim));
            if (!carried_flowers.empty() && soil && !soil->flower) {
                Flower flower = carried_flowers.front();
                carried_flowers.pop_front();
                const bool watered = soil->watered;
                flower.reset_next_stage(now, watered);
                world.set_tile(*aim, Soil{flower, watered});
                arm_until = raised;
                told = {Happening::Kind::Planted, static_cast<std::uint32_t>(genotype_of(flower))};
            }
            break;
        }
        case ToolOutcome::Kind::PlaceHive:
            if (carried_hive) {
                const CarriedHive hive = *carried_hive;
                carried_hive.reset();
                world.set_tile(*aim, Hive{BeeHive{*aim, hive.honey, hive.level}});
                told = {Happening::Kind::HiveSetDown, hive.level};
            }
            break;
        case ToolOutcome::Kind::Menu:
            if (!carried_hive) {
                arm_until = raised;
                selection.reset();
                world.tell({Happening::Kind::MenuOpened});
                return std::move(outcome.menu);
            }
            break;  // carrying a hive: the menu is discarded, the tile still counts as used
    }
    world.tell(told);
    last_used = aim;
    return std::nullopt;
}

void Lily::morning_reset() {
    tool.reset();
    carried_flowers.clear();
    position = MORNING_POINT;
    anchor = MORNING_POINT;
    last_used.reset();
    arm_until = 0;
    in_building = false;
}

}  // namespace qm
