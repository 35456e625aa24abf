// Flowers: colour, growth through the stages on the day clock, replanting and the genetics.
#include "day_clock.hpp"
#include "flowers.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "random.hpp"

namespace qm {
namespace {

Flower make(FlowerStage stage, std::uint16_t next_stage, std::array<std::uint8_t, 3> genes = {1, 1, 1}) {
    Flower f;
    f.stage = stage;
    f.next_stage = next_stage;
    f.genes = genes;
    return f;
}

TEST(FlowerColour, EachDominantAlleleDarkensItsChannel) {
    EXPECT_EQ(flower_colour(make(FlowerStage::Flower, NEVER, {0, 1, 2})), 255u | 128u << 8 | 0u << 16);
    EXPECT_EQ(flower_colour(make(FlowerStage::Flower, NEVER, {0, 0, 0})), 0xFFFFFFu);
    EXPECT_EQ(flower_colour(make(FlowerStage::Flower, NEVER, {2, 2, 2})), 0u);
    EXPECT_EQ(flower_colour(make(FlowerStage::Flower, NEVER, {0, 2, 1})), 255u | 0u << 8 | 128u << 16);
    EXPECT_EQ(packed_genes(make(FlowerStage::Flower, NEVER, {0, 1, 2})), 0x020100u);
}

TEST(Grow, DoesNothingAndDrawsNothingBeforeItsTime) {
    set_rng_state(11);
    Flower f = make(FlowerStage::Seed, 5000);
    f.grow(4999, true);
    EXPECT_EQ(f, make(FlowerStage::Seed, 5000));
    EXPECT_EQ(rng_state(), 11u);
}

TEST(Grow, CatchesUpSeveralStagesCountingFromTheOldDueTime) {
    set_rng_state(3);
    Flower f = make(FlowerStage::Seed, 100);
    f.grow(30000, true);  // watered: seed, sprout, bud, all long due
    EXPECT_EQ(f.stage, FlowerStage::Flower);
    EXPECT_EQ(f.next_stage, NEVER);

    // Replay the draws: each due time is the previous one plus 1920..5759.
    set_rng_state(3);
    const std::uint16_t sprout_due = static_cast<std::uint16_t>(100 + 1920 + rand_below(3840));
    const std::uint16_t bud_due = static_cast<std::uint16_t>(sprout_due + 1920 + rand_below(3840));
    Flower g = make(FlowerStage::Seed, 100);
    set_rng_state(3);
    g.grow(sprout_due, true);
    EXPECT_EQ(g.stage, FlowerStage::Bud);
    EXPECT_EQ(g.next_stage, bud_due);
}

TEST(Grow, ASproutOnDrySoilStallsAsABud) {
    Flower f = make(FlowerStage::Seed, 1920);
    f.grow(NOON, false);
    EXPECT_TRUE(f.stalled());
    f.grow(DAY_END, false);
    EXPECT_TRUE(f.stalled());
}

TEST(Grow, FarmSeedsStallOnTheFirstNoon) {
    // Seeds sown at set-up are due at 1920..5759; by noon two stages have passed.
    for (std::uint16_t due : {std::uint16_t{1920}, std::uint16_t{5759}}) {
        for (std::uint64_t s = 0; s < 50; ++s) {
            set_rng_state(s);
            Flower f = make(FlowerStage::Seed, due);
            f.grow(NOON, false);
            EXPECT_TRUE(f.stalled()) << due << " state " << s;
        }
    }
}

TEST(ResetNextStage, ReschedulesByStage) {
    set_rng_state(8);
    Flower bud = make(FlowerStage::Bud, 100);
    bud.reset_next_stage(1000, false);
    EXPECT_EQ(bud.next_stage, NEVER);
    bud.reset_next_stage(1000, true);
    EXPECT_GE(bud.next_stage, 1000 + 1920);
    EXPECT_LE(bud.next_stage, 1000 + 5759);

    // A seed waits at least 1920 ticks from now, keeping a later due time (one draw either way).
    Flower seed = make(FlowerStage::Seed, 100);
    seed.reset_next_stage(1000, false);
    EXPECT_GE(seed.next_stage, 1000 + 1920);
    EXPECT_LE(seed.next_stage, 1000 + 3839);
    set_rng_state(8);
    Flower late = make(FlowerStage::Sprout, 9000);
    late.reset_next_stage(1000, true);
    EXPECT_EQ(late.next_stage, 9000);
    EXPECT_EQ(rng_state(), 8 + 0x2D358DCCAA6C78A5ULL);
}

TEST(Recombine, DrawsOnlyForHeterozygousParents) {
    const struct {
        std::uint8_t a, b;
        int draws;
        std::uint8_t low, high;
    } cases[] = {
        {0, 0, 0, 0, 0}, {2, 2, 0, 2, 2}, {0, 2, 0, 1, 1}, {2, 0, 0, 1, 1},
        {1, 0, 1, 0, 1}, {0, 1, 1, 0, 1}, {1, 2, 1, 1, 2}, {1, 1, 2, 0, 2},
    };
    for (const auto& c : cases) {
        for (std::uint64_t s = 0; s < 20; ++s) {
            set_rng_state(s);
            const std::uint8_t child = recombine(c.a, c.b);
            EXPECT_GE(child, c.low);
            EXPECT_LE(child, c.high);
            EXPECT_EQ(rng_state(), s + static_cast<std::uint64_t>(c.draws) * std::uint64_t{0x2D358DCCAA6C78A5});
        }
    }
}

TEST(Mate, OneByOneGivesMendelianRatios) {
    set_rng_state(77);
    constexpr int N = 40000;
    std::array<int, 3> counts{};
    const Flower parent = make(FlowerStage::Flower, NEVER, {1, 1, 1});
    for (int k = 0; k < N; ++k) {
        const Flower child = mate(parent, parent);
        ++counts[child.genes[0]];
        EXPECT_EQ(child.stage, FlowerStage::Seed);
        ASSERT_GE(child.next_stage, 1920);
        ASSERT_LE(child.next_stage, 5759);
    }
    // Binomial counts: five standard deviations either side.
    const double probabilities[] = {0.25, 0.5, 0.25};
    for (int g = 0; g < 3; ++g) {
        const double p = probabilities[g];
        EXPECT_NEAR(counts[static_cast<std::size_t>(g)], N * p, 5 * std::sqrt(N * p * (1 - p))) << g;
    }
}

TEST(Mate, KeepsTheGenesOfPureParents) {
    const Flower white = make(FlowerStage::Flower, NEVER, {0, 0, 0});
    const Flower black = make(FlowerStage::Flower, NEVER, {2, 2, 2});
    const Flower child = mate(white, black);
    EXPECT_EQ(child.genes, (std::array<std::uint8_t, 3>{1, 1, 1}));
}

TEST(FlowerDeath, BrokenInvariantsStop) {
    EXPECT_DEATH(recombine(3, 0), testing::HasSubstr("Not a real allele pair!"));
    EXPECT_DEATH(recombine(0, 7), testing::HasSubstr("Not a real allele pair!"));
    Flower open = make(FlowerStage::Flower, 10);
    EXPECT_DEATH(open.grow(20, true), testing::HasSubstr("assertion failed: self.stage != FlowerStage::Flower"));
}

}  // namespace
}  // namespace qm
