// The night between two days: the field is cleared, and each hive's bees pair the open flowers in
// its range with their nearest neighbours and sow the seeds on the nearest free soil.
#include "world.hpp"

#include <algorithm>
#include <span>
#include <vector>

#include "breeding.hpp"
#include "night_field.hpp"
#include "random.hpp"

namespace qm {

NightReport World::overnight() {
    // The plan is read before the field is cleared; clearing changes no order of the maps.
    const NightPlan plan = plan_night(*this, Open::Now);
    ++revision_;

    // Everything leaves the field; only the open flowers, in the plan, are remembered as parents.
    for (auto& [c, tile] : tiles_) {
        auto* soil = std::get_if<Soil>(&tile);
        if (!soil) continue;
        soil->flower.reset();
        soil->watered = false;
    }

    for (auto& [hive_cell, range] : hive_ranges_) range.clear();

    // The seed counts are drawn hive by hive in list order, lists of one included, and every list
    // is complete before the first seed falls, so tonight's seeds never parent tonight.
    std::vector<std::vector<std::uint8_t>> seeds(plan.hives.size());
    for (std::size_t h = 0; h < plan.hives.size(); ++h) {
        for (std::size_t k = 0; k < plan.hives[h].parents.size(); ++k) {
            seeds[h].push_back(static_cast<std::uint8_t>(sprouts_for_flower(plan.hives[h].hive)));
        }
    }

    NightReport report;
    report.bred = count_breeding(plan);
    NightField field(*this);
    for (std::size_t h = 0; h < plan.hives.size(); ++h) {
        const HiveList& list = plan.hives[h];
        if (!list.breeds()) continue;
        for (std::size_t a = 0; a < list.parents.size(); ++a) {
            const Parent& parent = plan.open[list.parents[a]];
            const std::span<const std::uint32_t> partners = list.partners_of(a);
            for (std::uint8_t seed = 0; seed < seeds[h][a]; ++seed) {
                const std::optional<Cell> place = field.find_place(parent.position);
                if (!place) {
                    ++report.lost;
                    continue;
                }
                Soil sown;
                if (!partners.empty()) {
                    const auto pick = static_cast<std::size_t>(rand_below64(partners.size()));
                    sown.flower = mate(parent.flower, plan.open[list.parents[partners[pick]]].flower);
                    ++report.sown;
                    ++report.genomes[genotype_of(*sown.flower)];
                }
                set_tile(*place, sown);
                field.sown(*place, sown.flower.has_value());
            }
        }
    }
    return report;
}

NightReport World::new_day() {
    NightReport report = overnight();
    // A night that leaves no flower is followed by the first day's sowing, so a dry day never
    // ends the game.
    if (flower_count() == 0) report.sown_again = sow_garden(Sowing::Again);
    return report;
}

}  // namespace qm
