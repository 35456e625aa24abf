// The shed: its footprint and the menu that hands out the tools; buildings_draw.cpp draws it.
#include "buildings.hpp"

namespace qm {

namespace {

// The shed menu's slots, W NW NE E SE SW: the four tools, then empty hands.
constexpr std::array<std::optional<Choice>, 6> SHED_SLOTS{Choice::WateringCan, Choice::Shovel,      Choice::Hoe,
                                                          Choice::Smoker,      std::nullopt,        Choice::EmptyHands};
constexpr Cell MENU_CENTRE = cell(2, -16);

}  // namespace

bool Shed::in_footprint(std::int32_t x, std::int32_t y) const {
    // Both bounds in one unsigned comparison each: x in [0xE000, 0x32000), y in [-0xEBA2E, -0xE0000).
    return static_cast<std::uint32_t>(x) - 0xE000u < 0x24000u &&
           static_cast<std::uint32_t>(y) + 0xEBA2Eu < 0xBA2Eu;
}

std::optional<MenuRequest> Shed::menu() const { return MenuRequest{MENU_CENTRE, SHED_SLOTS, EXIT_POINT}; }

}  // namespace qm
