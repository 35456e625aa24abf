// The gardener: where she stands and faces, the tile she has selected, her tool, and what she
// carries; walking, turning, selecting and carrying out a tool's outcome.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "bees.hpp"
#include "draw_error.hpp"
#include "flowers.hpp"
#include "hex_geometry.hpp"
#include "tools.hpp"
#include "ui.hpp"

namespace qm {

class World;
class DrawContext;  // the drawing itself is in lily_draw.cpp

// 0 east (+i), 1 north (-j), 2 west (-i), 3 south (+j); a zero vector counts as east.
std::uint32_t facing_sector(Fixed v);

// The neighbour (as an offset) of the tile that contains `from`, in direction v: one unit ahead
// of her, or, where that point is her own tile or lies two rows away (straight up or down), the
// neighbour nearest to it. v must not be zero.
Cell neighbour_toward(Fixed from, Fixed v);
// Whether all of her feet would stand clear of water at `at`: she is never drawn on the pond.
bool dry_feet(const World& world, Fixed at);

struct Lily {
    static constexpr Fixed START_POSITION{0, 0x01000000};      // where she waits behind the intro
    static constexpr Fixed MORNING_POINT{0x00020000, -0x000C0000};  // (2, -12): the start of each day

    std::deque<Flower> carried_flowers;
    std::optional<CarriedHive> carried_hive;
    std::unique_ptr<Tool> tool;
    Fixed position = START_POSITION;
    Fixed anchor = START_POSITION;
    Fixed facing{};
    std::optional<Cell> selection;  // offset from the tile she stands on
    std::optional<Cell> last_used;
    std::uint16_t arm_until = 0;
    bool in_building = false;

    std::optional<ButtonMenu> walk(World& world, std::int32_t di, std::int32_t dj);
    void turn(std::int32_t di, std::int32_t dj);
    // The pointer at a world point aims: over one of her six neighbours, at exactly that tile; over
    // her own tile or further away, at the neighbour in its direction.
    void select_pointed(Fixed pointer);
    std::optional<ButtonMenu> use_tool(World& world, std::uint16_t now, bool using_tool);
    // Start of play and of every day: empty hands, back at the start point.
    void morning_reset();

    // The tile the selection points at, if any.
    std::optional<Cell> target() const;

    DrawResult draw(DrawContext& ctx, std::uint16_t now) const;
    DrawResult draw_arm(DrawContext& ctx, std::uint32_t sector, std::uint32_t walk_frame, bool free_arm,
                        std::uint16_t now) const;
    DrawResult draw_selection(DrawContext& ctx, const World& world) const;
    // Where her tool's meter hangs: the pixel offset from her position given to the tool's
    // draw_meter, and whether it opens to the left.
    struct MeterSpot {
        std::int32_t dx;
        std::int32_t dy;
        bool mirrored;
    };
    MeterSpot meter_spot() const;
    // Walk-cycle frame 0 (standing) to 4 from the distance walked since the anchor.
    std::uint32_t walk_frame() const;
};

}  // namespace qm
