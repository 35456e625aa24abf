// The pass over the field: the aimed tile's outline over a tall plant, and the cards' words.
#include "garden_cards.hpp"

#include <algorithm>

#include <gtest/gtest.h>

#include "collection.hpp"
#include "day_clock.hpp"
#include "field_marks.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "support/sdl_fixture.hpp"
#include "support/world_helpers.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

// Cell (i, j) has its centre pixel at (320 + 16 i, 180 + 22 j); a bud's stem and head rise from
// its cell over most of its hexagon.
class AimOutline : public test::HeadlessDraw {};

TEST_F(AimOutline, ShowsOverATallPlant) {
    World world = test::bare_lawn();
    const Cell bud = cell(2, 0);
    world.set_tile(bud, test::plant(FlowerStage::Bud, NEVER));
    Lily lily;
    lily.position = lily.anchor = {0, 0};
    lily.tool = std::make_unique<WateringCan>();
    lily.selection = bud;
    const int edge_x = 320 + 16 * 2 + 15;  // the outline's inner pixel on the east edge
    for (const bool outlined : {false, true}) {
        clear();
        ASSERT_TRUE(world.draw(ctx(), lily, NOON));
        const std::uint32_t plant = pixel(edge_x, 180);
        if (outlined) {
            ASSERT_TRUE(draw_aim(ctx(), lily, world));
            EXPECT_EQ(pixel(edge_x, 180), AIM_READY) << test::describe(pixel(edge_x, 180));
        } else {
            // The bud covers the cell there: neither the lawn nor an outline shows.
            EXPECT_TRUE(plant != AIM_READY && test::identify(plant) != test::cell_id("ground", 0, 0)) << test::describe(plant);
        }
    }
}

TEST(GardenCards, SayWhatTonightAndTheNightBring) {
    Forecast forecast{4, 4, 8, 9, 2, 1, 6.4, 0.4};
    EXPECT_EQ(forecast_lines(forecast, NOON),
              (std::vector<std::string>{"Tonight", "4 flowers will breed", "about 6 seeds, 4 to 8", "9 plants leave unbred",
                                        "2 dry buds open if watered", "1 more may still open"}));
    // Soil in reach too scarce for the seeds: a line of its own, and what to do.
    EXPECT_EQ(forecast_lines(Forecast{40, 60, 60, 0, 0, 0, 60, 59.6}, NOON),
              (std::vector<std::string>{"Tonight", "40 flowers will breed", "60 seeds",
                                        "The soil in reach is full: about 60 seeds find no place",
                                        "Till more soil within 8 cells of a hive"}));
    EXPECT_EQ(forecast_lines(Forecast{}, DAY_END - 100), (std::vector<std::string>{"Tonight", "No flower will breed"}));
    EXPECT_EQ(ending_now_text(Forecast{2, 2, 4}, forecast), "If it ends now: 2 flowers breed, 2 to 4 seeds to sow (4 by nightfall)");
    EXPECT_EQ(ending_now_text(Forecast{}, Forecast{}), "If it ends now, no flower breeds");
    EXPECT_EQ(seeds_per_flower_text(1), "each flower leaves 1 seed");
    EXPECT_EQ(seeds_per_flower_text(3), "each flower leaves 1 to 2 seeds");

    const std::vector<std::string> hive = hive_card_lines(BeeHive{cell(0, 0), HONEY_MAX / 2, 2}, 64, NOON);
    EXPECT_EQ(hive, (std::vector<std::string>{"Hive, level 2: each flower leaves 1 to 2 seeds", "Honey 50%, from 64 open flowers",
                                              "A harvest: level 3, 1.7 seeds a flower on average (now 1.5)", "Full at about 1:04 pm"}));

    Collection collection;
    collection.record(13, 1);
    NightReport night{3, 5, {}, 0};
    night.genomes[13] = 3;
    night.genomes[26] = 2;
    const std::vector<CardLine> rows = morning_report_rows(night, collection);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].text, "3 flowers bred");
    EXPECT_EQ(rows[3].text, "1 new genome among them:");
    EXPECT_TRUE(rows[4].marked && rows[4].text == "CCMMYY x2");
    EXPECT_EQ(morning_report_rows(NightReport{0, 0, {}, 27}, collection).back().text, "The garden was sown again: 27 seeds");
    night.lost = 4;
    EXPECT_EQ(morning_report_rows(night, collection)[3].text, "4 seeds found no place");

    // A bud watered late opens after the bees have gone: it says so, and the forecast counts it nowhere.
    World w;
    w.set_tile(cell(0, -10), test::hive_tile(cell(0, -10)));
    w.set_tile(cell(2, -10), test::bloom());
    w.set_tile(cell(4, -10), test::bloom());
    w.set_tile(cell(6, -10), test::plant(FlowerStage::Bud, DAY_END + 10 * 32, true));
    const NightPlan plan = plan_night(w, Open::ByNightfall);
    const FlowerOutlook late = flower_outlook(w, plan, cell(6, -10));
    EXPECT_EQ(planner_rows(late, {1, 1, 1}, collection).front().text,
              "CcMmYy: opens at about 7:10 pm, after nightfall: no seeds tonight");
    const Forecast tonight = forecast_night(w, plan);
    EXPECT_EQ(tonight.breeding, 2u);
    EXPECT_EQ(tonight.growing, 0u);

    // A cross of two all-heterozygous flowers has 27 outcomes: the likeliest dozen, the rest counted.
    FlowerOutlook outlook{Barren::No, {cell(2, 0)}, {}, 1, 1};
    for (std::size_t t = 0; t < GENOTYPES; ++t) outlook.offspring.push_back({t, 1.0 / 27, 1, 27});
    const std::vector<CardLine> planned = planner_rows(outlook, {1, 1, 1}, collection);
    EXPECT_EQ(std::ranges::count_if(planned, &CardLine::in_grid), 12);
    EXPECT_EQ(planned.back().text, "and 15 more genomes, 14 of them new");
}

}  // namespace
}  // namespace qm
