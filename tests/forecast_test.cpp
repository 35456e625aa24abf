// The forecast and the planner against the night itself: on random gardens the plan of the day is
// the plan the night uses, checked against a plain scan; the seeds sown fall in the forecast's
// range; the planner's odds are exact fractions that mate's draws follow.
#include "forecast.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numeric>

#include "day_clock.hpp"
#include "random.hpp"
#include "support/world_helpers.hpp"
#include "world.hpp"

namespace qm {
namespace {

using namespace test;

// Hives of levels 1 to 9 with overlapping ranges, plants of every stage (growing buds open before
// or after nightfall, seeds and sprouts too late to open), pockets walled in by grass, lawn and
// water; a third of the gardens reach the endless soil of rows 0 to 2.
void random_garden(World& w, std::uint64_t seed) {
    set_rng_state(seed);
    const std::uint32_t walls = 2 + rand_below(22);
    for_each_in_hexagon(cell(1, seed % 3 ? -31 : 5), 9, [&](Cell c) {
        const std::uint32_t roll = rand_below(40);
        const auto gene = [] { return static_cast<std::uint8_t>(rand_below(3)); };
        const auto stage = static_cast<FlowerStage>(rand_below(4));
        const std::uint16_t due = stage == FlowerStage::Flower ? NEVER
                                  : stage == FlowerStage::Bud ? static_cast<std::uint16_t>(rand_bit() ? NEVER : rand_below(2 * DAY_END))
                                                              : static_cast<std::uint16_t>(25000 + rand_below(3000));
        if (roll < 2) w.set_tile(c, Hive{BeeHive{c, 0, static_cast<std::uint16_t>(1 + rand_below(9))}});
        else if (roll < 2 + walls) w.set_tile(c, roll % 3 == 0 ? Tile{Water{}} : roll % 3 == 1 ? Tile{Lawn{}} : Tile{TallGrass{}});
        else w.set_tile(c, Soil{roll < 30 ? std::optional<Flower>(Flower{due, {gene(), gene(), gene()}, stage}) : std::nullopt, rand_bit() != 0});
    });
}

// The lists and partners a plain reading of the night's rules gives.
void expect_plain_lists(const NightPlan& plan, std::uint64_t garden) {
    for (const HiveList& list : plan.hives) {
        std::vector<std::uint32_t> parents;
        for (std::uint32_t k = 0; k < plan.open.size(); ++k) {
            if (distance(plan.open[k].position, list.hive.position) <= HIVE_RANGE) parents.push_back(k);
        }
        ASSERT_EQ(list.parents, parents) << "garden " << garden;
        for (std::size_t a = 0; list.breeds() && a < parents.size(); ++a) {
            std::vector<std::uint32_t> nearest;
            std::uint16_t best = NEVER;
            for (std::uint32_t b = 0; b < parents.size(); ++b) {
                const std::uint16_t d = distance(plan.open[parents[a]].position, plan.open[parents[b]].position);
                if (b == a || d > best) continue;
                if (d < best) nearest.clear(), best = d;
                nearest.push_back(b);
            }
            const auto partners = list.partners_of(a);
            EXPECT_EQ(std::vector<std::uint32_t>(partners.begin(), partners.end()), nearest) << "garden " << garden;
            EXPECT_EQ(nearest_partners(plan, list, a), nearest) << "garden " << garden;
        }
    }
}

// The chances of each seed count against a count of every draw, levels at and around powers of two.
TEST(SeedCountChances, AreTheSharesOfTheDrawsByBitLength) {
    for (const std::uint16_t level : std::initializer_list<std::uint16_t>{1, 2, 3, 4, 5, 7, 8, 9, 255, 256, 1000, 65535}) {
        std::vector<double> counted(static_cast<std::size_t>(std::bit_width(level)) + 1, 0.0);
        for (std::uint32_t draw = 1; draw <= level; ++draw) counted[static_cast<std::size_t>(std::bit_width(draw))] += 1.0 / level;
        const std::vector<double> chances = seed_count_chances(level);
        ASSERT_EQ(chances.size(), counted.size()) << "level " << level;
        for (std::size_t n = 0; n < counted.size(); ++n) EXPECT_NEAR(chances[n], counted[n], 1e-9) << "level " << level << ", " << n;
    }
}

TEST(Forecast, TheDaysPlanIsTheNightsAndItsSeedsFallInTheRange) {
    std::size_t at_least = 0, at_most = 0, walled = 0;
    for (std::uint64_t garden = 1; garden <= 250; ++garden) {
        World w;
        random_garden(w, garden);
        const NightPlan day = plan_night(w, Open::ByNightfall);
        const Forecast forecast = forecast_night(w, day);
        expect_plain_lists(day, garden);

        w.update(DAY_END);  // the last frame of the day opens the buds that were due
        const NightPlan night = plan_night(w, Open::Now);
        ASSERT_EQ(night.open.size(), day.open.size()) << "garden " << garden;
        for (std::size_t k = 0; k < day.open.size(); ++k) {
            ASSERT_EQ(night.open[k].position, day.open[k].position);
            ASSERT_EQ(night.open[k].flower.genes, day.open[k].flower.genes);
        }
        for (std::size_t h = 0; h < day.hives.size(); ++h) {
            EXPECT_EQ(night.hives[h].parents, day.hives[h].parents) << "garden " << garden;
            EXPECT_EQ(night.hives[h].partner_index, day.hives[h].partner_index) << "garden " << garden;
        }

        const std::size_t plants = count_flowers(w);
        const NightReport report = w.overnight();
        EXPECT_EQ(plants, forecast.breeding + forecast.leaving);
        EXPECT_EQ(report.bred, forecast.breeding) << "garden " << garden;
        EXPECT_TRUE(report.sown >= forecast.seeds_least && report.sown <= forecast.seeds_most)
            << "garden " << garden << ": " << report.sown << " sown, forecast " << forecast.seeds_least << " to " << forecast.seeds_most;
        EXPECT_EQ(report.sown, count_flowers(w));
        EXPECT_EQ(report.sown, std::accumulate(report.genomes.begin(), report.genomes.end(), std::size_t{0}));
        at_least += report.sown == forecast.seeds_least;
        at_most += report.sown == forecast.seeds_most;
        std::size_t entries = 0;
        for (const HiveList& list : day.hives) entries += list.breeds() ? list.parents.size() : 0;
        walled += forecast.seeds_least < entries;
    }
    // The gardens reach both ends of the range, and walled-in patches lower its floor.
    EXPECT_GT(at_least, 10u);
    EXPECT_GT(at_most, 10u);
    EXPECT_GT(walled, 10u);
}

// Night after night from the same field, the seeds sown average out at the forecast's expected
// figure, and those that found no place at its figure for them; gardens whose patches fill up
// are among them.
TEST(Forecast, TheExpectedSeedsAreTheMeanOfTheNights) {
    constexpr int NIGHTS = 120;
    std::size_t filling = 0;
    for (std::uint64_t garden = 1; garden <= 24; ++garden) {
        Forecast forecast;
        double sown = 0, sown_squares = 0, lost = 0, lost_squares = 0;
        for (int night = 0; night < NIGHTS; ++night) {
            World w;
            random_garden(w, garden);
            w.update(DAY_END);
            if (night == 0) forecast = forecast_night(w, plan_night(w, Open::Now, Partners::OnRequest));
            set_rng_state(garden << 32 | static_cast<std::uint64_t>(night));
            const NightReport report = w.overnight();
            ASSERT_EQ(report.bred, forecast.breeding) << "garden " << garden;
            sown += static_cast<double>(report.sown), sown_squares += static_cast<double>(report.sown * report.sown);
            lost += static_cast<double>(report.lost), lost_squares += static_cast<double>(report.lost * report.lost);
        }
        // Five standard errors of the mean, and a sliver for a garden whose nights all agree.
        const auto near = [](double sum, double squares, double expected) {
            const double mean = sum / NIGHTS;
            const double sd = std::sqrt(std::max(0.0, squares / NIGHTS - mean * mean));
            return std::abs(mean - expected) <= 5 * sd / std::sqrt(double{NIGHTS}) + 0.05;
        };
        EXPECT_TRUE(near(sown, sown_squares, forecast.seeds_expected)) << "garden " << garden << ": " << sown / NIGHTS
                                                                        << " sown on average, expected " << forecast.seeds_expected;
        EXPECT_TRUE(near(lost, lost_squares, forecast.seeds_lost)) << "garden " << garden << ": " << lost / NIGHTS
                                                                     << " lost on average, expected " << forecast.seeds_lost;
        filling += forecast.seeds_lost >= 1 && forecast.seeds_least < forecast.seeds_most;
    }
    EXPECT_GE(filling, 4u);
}

TEST(Planner, OddsAreExactAndMateFollowsThem) {
    constexpr std::size_t DRAWS = 20000;
    std::size_t tables = 0;
    for (std::uint64_t garden = 1; garden <= 40 && tables < 12; ++garden) {
        World w;
        random_garden(w, garden);
        const NightPlan plan = plan_night(w, Open::ByNightfall);
        for (const HiveList& list : plan.hives) {
            for (std::size_t a = 0; list.breeds() && a < list.parents.size(); a += 7) {
                const Parent& self = plan.open[list.parents[a]];
                const FlowerOutlook outlook = flower_outlook(w, plan, self.position);
                ASSERT_EQ(outlook.why, Barren::No);
                if (outlook.offspring.front().denominator == 0) continue;  // paired differently by two hives
                // Each chance is a whole number of 64ths of a partner's share, and they add up to one.
                const auto partners = list.partners_of(a);
                const std::uint64_t whole = 64 * partners.size();
                std::uint64_t sum = 0;
                std::array<double, GENOTYPES> chance{};
                for (const Offspring& o : outlook.offspring) {
                    ASSERT_EQ(whole % o.denominator, 0u);
                    sum += o.numerator * (whole / o.denominator);
                    chance[o.genotype] = o.chance;
                }
                EXPECT_EQ(sum, whole);
                std::array<std::size_t, GENOTYPES> seen{};
                for (std::size_t n = 0; n < DRAWS; ++n) {
                    const Parent& other = plan.open[list.parents[partners[rand_below64(partners.size())]]];
                    ++seen[genotype_of(mate(self.flower, other.flower))];
                }
                for (std::size_t t = 0; t < GENOTYPES; ++t) {
                    EXPECT_NEAR(static_cast<double>(seen[t]), DRAWS * chance[t], five_sigma(DRAWS, chance[t]) + 0.5) << "genotype " << t;
                }
                ++tables;
            }
        }
    }
    EXPECT_GE(tables, 12u);

    World w;
    w.set_tile(cell(0, -10), hive_tile(cell(0, -10)));
    w.set_tile(cell(2, -10), bloom());
    w.set_tile(cell(4, -10), plant(FlowerStage::Bud, NEVER));
    w.set_tile(cell(40, -10), bloom());
    const NightPlan plan = plan_night(w, Open::ByNightfall);
    EXPECT_EQ(flower_outlook(w, plan, cell(2, -10)).why, Barren::NoPartner);
    EXPECT_EQ(flower_outlook(w, plan, cell(4, -10)).why, Barren::NotOpen);
    EXPECT_EQ(flower_outlook(w, plan, cell(40, -10)).why, Barren::NoHive);
}

}  // namespace
}  // namespace qm
