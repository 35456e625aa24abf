// The collection's seeds: the morning's grant kept up to its limit, and a seed only of a genome
// seen in bloom, carrying its genes.
#include "collection.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace qm {
namespace {

TEST(CollectionSeeds, ThreeAMorningKeptUpToSixAndOnlyOfGenomesSeen) {
    struct Day {
        std::uint32_t taken;  // seeds asked for that day, of a genome seen
        std::uint32_t left;   // left at the end of it
    };
    // Day 1 starts with three; untouched grants carry over, but never past six.
    const std::vector<Day> days{{0, 3}, {0, 6}, {0, 6}, {2, 4}, {9, 0}, {1, 2}, {0, 5}};
    Collection collection;
    collection.record(13, 1);
    for (std::size_t d = 0; d < days.size(); ++d) {
        collection.grant_seeds();
        for (std::uint32_t k = 0; k < days[d].taken; ++k) {
            const bool left = collection.seeds_left() > 0;
            EXPECT_EQ(collection.take_seed(14), std::nullopt) << "day " << d + 1 << ": a genome never seen";
            const std::optional<Flower> seed = collection.take_seed(13);
            EXPECT_EQ(seed.has_value(), left) << "day " << d + 1;
            if (seed) {
                EXPECT_EQ(*seed, (Flower{0, {1, 1, 1}, FlowerStage::Seed}));
            }
        }
        EXPECT_EQ(collection.seeds_left(), days[d].left) << "day " << d + 1;
    }
    EXPECT_FALSE(collection.can_take(GENOTYPES));
    collection.record(26, 8);
    collection.grant_seeds();
    EXPECT_EQ(collection.take_seed(26), (Flower{0, {2, 2, 2}, FlowerStage::Seed}));
}

}  // namespace
}  // namespace qm
