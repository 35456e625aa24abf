// What each choice of a menu does: the shed's hand out a tool (or none) and let her out; a hive's
// harvest or split it.
#include "menu_request.hpp"

#include "bees.hpp"
#include "lily.hpp"
#include "tools.hpp"

namespace qm {

void apply(const MenuRequest& request, Choice choice, World& world, Lily& lily) {
    switch (choice) {
        case Choice::WateringCan:
        case Choice::Shovel:
        case Choice::Hoe:
        case Choice::Smoker:
        case Choice::EmptyHands:
            lily.tool = tool_for(choice);
            lily.in_building = false;
            lily.position = request.exit;
            lily.anchor = request.exit;
            return;
        case Choice::Harvest: return harvest_hive(world, request.centre);
        case Choice::Split: return split_hive(world, lily, request.centre);
        case Choice::Close: return;
    }
}

}  // namespace qm
