// The shed: its footprint and the menu that hands out the tools; buildings_draw.cpp draws it.
#include "buildings.hpp"

#include <array>

#include "lily.hpp"
#include "sheets.hpp"
#include "tools.hpp"

namespace qm {

namespace {

// Sprite rows of the shed menu's slots, W NW NE E SE SW: the four tools, then empty hands.
constexpr std::uint32_t tool_button(ToolKind tool) { return std::to_underlying(button_row(tool)); }
constexpr std::array<std::optional<std::uint32_t>, 6> SHED_SLOTS{
    tool_button(ToolKind::WateringCan), tool_button(ToolKind::Shovel), tool_button(ToolKind::Hoe),
    tool_button(ToolKind::Smoker),      std::nullopt,                  std::to_underlying(ButtonRow::Close)};
constexpr Cell MENU_CENTRE = cell(2, -16);

}  // namespace

bool Shed::in_footprint(std::int32_t x, std::int32_t y) const {
    // Both bounds in one unsigned comparison each: x in [0xE000, 0x32000), y in [-0xEBA2E, -0xE0000).
    return static_cast<std::uint32_t>(x) - 0xE000u < 0x24000u &&
           static_cast<std::uint32_t>(y) + 0xEBA2Eu < 0xBA2Eu;
}

std::optional<ButtonMenu> Shed::menu() const {
    const Fixed exit_point = EXIT_POINT;
    return ButtonMenu(as_i16(MENU_CENTRE.i), as_i16(MENU_CENTRE.j), SHED_SLOTS,
                      [exit_point](std::size_t index, World&, Lily& lily) -> MenuResult {
                          lily.tool = tool_for_shed_button(index);
                          lily.in_building = false;
                          lily.position = exit_point;
                          lily.anchor = exit_point;
                          return std::nullopt;
                      });
}

}  // namespace qm
