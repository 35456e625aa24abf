// The buttons of a menu, made from what a building or a hive asks (menu_request.hpp): each choice
// gets its button of the button sheet in its slot, and choosing a button carries the choice out.
#pragma once

#include "menu_request.hpp"
#include "sheets.hpp"
#include "tools.hpp"
#include "ui.hpp"

namespace qm {

// The button that shows a choice.
ButtonRow button_row(Choice choice);
// The button that shows a tool: the same as the shed's choice that hands it out.
ButtonRow button_row(ToolKind tool);

ButtonMenu menu_from_request(const MenuRequest& request);

}  // namespace qm
