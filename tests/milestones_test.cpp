// The milestones reached by their events and only once, the morning's hint chosen by the garden at
// nightfall and never the same twice in a row, and the finale at the 27th colour.
#include "milestones.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/world_helpers.hpp"

namespace qm {
namespace {

using Kind = MilestoneEvent::Kind;
using Events = std::vector<MilestoneEvent>;

// New colours from..to-1, leaving out every `skip_every`-th.
Events colours(std::uint32_t from, std::uint32_t to, std::uint32_t skip_every = 0) {
    Events out;
    for (std::uint32_t k = from; k < to; ++k) {
        if (skip_every == 0 || k % skip_every != skip_every - 1) out.push_back({Kind::NewColour, k});
    }
    return out;
}

bool has(const std::vector<Milestone>& got, Milestone m) { return std::ranges::find(got, m) != got.end(); }

TEST(MilestonesTest, EachIsReachedByItsEventAndOnlyOnce) {
    struct Case {
        Milestone id;
        Events before;  // falls just short
        MilestoneEvent reaching;
    };
    const std::vector<Case> cases{
        {Milestone::FirstBloom, {{Kind::Harvest, 2}}, {Kind::NewColour, 13}},
        {Milestone::FirstHarvest, colours(0, 27), {Kind::Harvest, 2}},
        {Milestone::BredColour, {{Kind::NewColour, 13}, {Kind::NewColour, 13}}, {Kind::NewColour, 12}},
        {Milestone::HiveLevel3, {{Kind::Harvest, 2}, {Kind::HiveSetDown, 3}}, {Kind::Harvest, 3}},
        {Milestone::TwoHives, {{Kind::HiveSetDown, 1}, {Kind::Harvest, 5}}, {Kind::HiveSetDown, 2}},
        {Milestone::TenColours, colours(0, 9), {Kind::NewColour, 20}},
        {Milestone::White, colours(1, 27), {Kind::NewColour, 0}},
        {Milestone::Black, colours(0, 26), {Kind::NewColour, 26}},
        {Milestone::FullRow, colours(0, 27, 9), {Kind::NewColour, 17}},  // every row but its last shade
        {Milestone::AllColours, colours(1, 27), {Kind::NewColour, 0}},
    };
    ASSERT_EQ(cases.size(), MILESTONE_COUNT);
    for (const Case& c : cases) {
        const std::string name = MILESTONES.at(static_cast<std::size_t>(c.id)).name;
        EXPECT_EQ(MILESTONES.at(static_cast<std::size_t>(c.id)).id, c.id) << name;
        Milestones m;
        for (const auto& e : c.before) EXPECT_FALSE(has(m.hear(e, 1), c.id)) << name;
        EXPECT_FALSE(m.reached_on(c.id)) << name;
        EXPECT_TRUE(has(m.hear(c.reaching, 2), c.id)) << name;
        // Heard again, nothing is reached twice and the day stays the first one.
        for (const auto& e : c.before) EXPECT_FALSE(has(m.hear(e, 3), c.id)) << name;
        EXPECT_TRUE(m.hear(c.reaching, 3).empty()) << name;
        EXPECT_EQ(m.reached_on(c.id), std::optional<std::uint64_t>(2)) << name;
    }
}

TEST(MilestonesTest, TheFinaleComesOnceWithTheTwentySeventhColour) {
    Milestones m;
    std::vector<std::uint32_t> finales;
    // Every colour three times over, in a scrambled order: the 27th new one is n = 26.
    for (std::uint32_t n = 0; n < 81; ++n) {
        if (has(m.hear({Kind::NewColour, n * 10 % 27}, 5 + n / 27), Milestone::AllColours)) finales.push_back(n);
    }
    EXPECT_EQ(finales, std::vector<std::uint32_t>{26});
    EXPECT_EQ(m.reached_on(Milestone::AllColours), std::optional<std::uint64_t>(5));
}

// Gardens at nightfall around a hive at the origin, each fitting the hint named beside it first.
TEST(MilestonesTest, TheHintFitsTheGardenAndNeverRepeats) {
    using test::bloom;
    const Cell hive = cell(0, 0);
    struct Case {
        const char* name;
        std::function<void(World&)> lay_out;
        Hint first;
    };
    const auto shades = [](World& w, std::initializer_list<int> columns, int per_shade) {
        for (int i : columns) w.set_tile(cell(i, 0), bloom(static_cast<std::uint8_t>(i / per_shade)));
    };
    const std::vector<Case> cases{
        {"a bud left dry", [](World& w) { w.set_tile(cell(2, 0), test::plant(FlowerStage::Bud, NEVER)); },
         Hint::WaterBuds},
        {"a full hive", [&](World& w) { w.set_tile(hive, test::hive_tile(hive, HONEY_MAX)); }, Hint::HarvestFullHive},
        {"open flowers far apart", [&](World& w) { shades(w, {4, 12}, 8); }, Hint::KeepCrossesClose},
        {"a hive that can split", [&](World& w) { w.set_tile(hive, test::hive_tile(hive, 0, 3)); }, Hint::TwoRanges},
        {"a bed of mostly one colour", [&](World& w) { shades(w, {2, 4, 6, 8}, 8); }, Hint::DigUpUnwanted},
        {"an open flower out of reach", [](World& w) { w.set_tile(cell(40, 0), bloom()); }, Hint::StayNearHive},
        {"a bed of many colours", [&](World& w) { shades(w, {2, 4, 6}, 3); }, Hint::StayNearHive},
    };
    for (const Case& c : cases) {
        World world = test::bare_lawn();
        world.set_tile(hive, test::hive_tile(hive));
        c.lay_out(world);
        const GardenSurvey garden = survey_garden(world);
        Milestones m;
        std::optional<Hint> last = m.end_day(garden)->id;
        EXPECT_EQ(last, c.first) << c.name;
        // Stuck day after day in the same garden: a fitting hint every morning, never one twice in a row.
        for (int day = 0; day < 4; ++day) {
            const std::optional<HintNote> next = m.end_day(garden);
            ASSERT_TRUE(next) << c.name;
            EXPECT_NE(next->id, last) << c.name;
            EXPECT_TRUE(hint_fits(next->id, garden)) << c.name;
            EXPECT_EQ(next->text, hint_text(next->id)) << c.name;
            last = next->id;
        }
        // A day with a new colour or a milestone gives no hint the next morning.
        m.hear({Kind::NewColour, 4}, 9);
        EXPECT_FALSE(m.end_day(garden)) << c.name;
        EXPECT_TRUE(m.end_day(garden)) << c.name;
    }
}

// A field that lacks an allele a colour still to collect needs: the hint names it and the seed
// that brings it back. Grey, of the first garden, carries every allele.
TEST(MilestonesTest, TheGenePoolHintNamesTheLostAlleleAndTheSeed) {
    struct Case {
        std::array<std::uint8_t, 3> only;  // every flower's value of the gene, 3 where they vary
        const char* text;                  // empty: no gap
    };
    const std::vector<Case> cases{
        {{2, 3, 3}, "Every flower is CC: take a grey seed from the collection to breed cc again"},
        {{0, 3, 3}, "Every flower is cc: take a grey seed from the collection to breed CC again"},
        {{3, 2, 3}, "Every flower is MM: take a grey seed from the collection to breed mm again"},
        {{3, 0, 3}, "Every flower is mm: take a grey seed from the collection to breed MM again"},
        {{3, 3, 2}, "Every flower is YY: take a grey seed from the collection to breed yy again"},
        {{1, 1, 0}, "Every flower is yy: take a grey seed from the collection to breed YY again"},
        {{3, 3, 3}, ""},
        {{1, 1, 1}, ""},
    };
    const std::uint32_t grey = 1u << 13;
    for (const Case& c : cases) {
        World world = test::bare_lawn();
        for (std::uint8_t k = 0; k < 3; ++k) {
            std::array<std::uint8_t, 3> genes{};
            for (std::size_t g = 0; g < 3; ++g) genes[g] = c.only[g] == 3 ? k : c.only[g];
            world.set_tile(cell(2 * k, 0), Soil{Flower{NEVER, genes, FlowerStage::Bud}, false});
        }
        const GardenSurvey garden = survey_garden(world);
        const std::optional<GenePoolGap> gap = gene_pool_gap(garden.pool, grey);
        EXPECT_EQ(gap ? gene_pool_text(*gap) : "", c.text) << c.text;
        // Nothing to say once every colour is collected, nor when no colour collected carries it.
        EXPECT_FALSE(gene_pool_gap(garden.pool, (1u << GENOTYPES) - 1)) << c.text;
        EXPECT_FALSE(gene_pool_gap(garden.pool, 0)) << c.text;
        if (!gap) continue;
        Milestones m;
        m.hear({Kind::NewColour, 13}, 1);
        m.end_day(garden);  // the day of the first bloom earns no hint
        EXPECT_EQ(m.end_day(garden), (HintNote{Hint::GenePool, c.text}));
    }
    // Not the grey, when the grey was never seen: a collected colour that carries the allele.
    const std::optional<GenePoolGap> gap = gene_pool_gap(GenePool{{0b100, 0b111, 0b111}}, 1u << 1);
    ASSERT_TRUE(gap);
    EXPECT_EQ(gene_pool_text(*gap), "Every flower is CC: take a Ccmmyy seed from the collection to breed cc again");
}

}  // namespace
}  // namespace qm
