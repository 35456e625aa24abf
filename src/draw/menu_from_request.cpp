// A menu's buttons from a request: sprites by choice, and an action that finds the chosen button's
// choice and hands it to the rules.
#include "menu_from_request.hpp"

#include <vector>

namespace qm {

ButtonRow button_row(Choice choice) {
    switch (choice) {
        case Choice::WateringCan: return ButtonRow::Can;
        case Choice::Shovel: return ButtonRow::Shovel;
        case Choice::Hoe: return ButtonRow::Hoe;
        case Choice::Smoker: return ButtonRow::Smoker;
        case Choice::Harvest: return ButtonRow::Harvest;
        case Choice::Split: return ButtonRow::Split;
        // Empty hands in the shed wear the close button: putting the tool back leaves the shed.
        case Choice::EmptyHands:
        case Choice::Close: break;
    }
    return ButtonRow::Close;
}

ButtonRow button_row(ToolKind tool) {
    switch (tool) {
        case ToolKind::WateringCan: return button_row(Choice::WateringCan);
        case ToolKind::Shovel: return button_row(Choice::Shovel);
        case ToolKind::Hoe: return button_row(Choice::Hoe);
        case ToolKind::Smoker: break;
    }
    return button_row(Choice::Smoker);
}

ButtonMenu menu_from_request(const MenuRequest& request) {
    std::array<std::optional<std::uint32_t>, 6> sprites{};
    // The menu's buttons are its filled slots in ring order; a button's index names its choice.
    std::vector<Choice> choices;
    for (std::size_t k = 0; k < request.slots.size(); ++k) {
        if (!request.slots[k]) continue;
        sprites[k] = std::to_underlying(button_row(*request.slots[k]));
        choices.push_back(*request.slots[k]);
    }
    MenuAction action = [request, choices = std::move(choices)](std::size_t index, World& world, Lily& lily) -> MenuResult {
        if (index < choices.size()) apply(request, choices[index], world, lily);
        return std::nullopt;
    };
    return ButtonMenu(as_i16(request.centre.i), as_i16(request.centre.j), sprites, std::move(action));
}

}  // namespace qm
