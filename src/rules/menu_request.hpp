// What a building or a hive asks the gardener to choose from: a ring of six slots around a field
// cell, each empty or holding a choice, and what each choice does. No pictures and no buttons here:
// the input side makes its buttons from a request (menu_from_request.hpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "hex_geometry.hpp"

namespace qm {

class World;
struct Lily;

// Everything a menu can offer. The shed's five come first, in the order of its ring.
enum class Choice : std::uint8_t { WateringCan, Shovel, Hoe, Smoker, EmptyHands, Harvest, Split, Close };

// The south-west slot holds the choice that leaves a menu: "close" on a hive, empty hands in the shed.
inline constexpr std::size_t CLOSE_SLOT = 5;

struct MenuRequest {
    Cell centre;  // the field cell the ring stands around
    // The slots in neighbour order (W, NW, NE, E, SE, SW); an empty one keeps its place in the ring.
    std::array<std::optional<Choice>, 6> slots{};
    // Where she steps out when a choice is made inside a building.
    Fixed exit{};
    friend constexpr bool operator==(const MenuRequest&, const MenuRequest&) = default;
};

// Carries out one choice of a request on the world and the gardener as they are now: the menu may
// have stood open a while.
void apply(const MenuRequest& request, Choice choice, World& world, Lily& lily);

}  // namespace qm
