// The shared generator: wyrand steps, Lemire's bounded draws and their rejection, shuffling, and
// the SipHash that seeds it.
#include "random.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <vector>

namespace qm {
namespace {

constexpr std::uint64_t INCREMENT = 0x2D358DCCAA6C78A5ULL;

TEST(Wyrand, KnownSequencesFromFixedStates) {
    // Outputs computed independently with arbitrary-precision arithmetic.
    const struct {
        std::uint64_t state;
        std::array<std::uint64_t, 3> outputs;
    } cases[] = {
        {0, {11116517241604665558ULL, 91298403691422709ULL, 1747996488805885078ULL}},
        {42, {14587678697106979209ULL, 9105053682160394182ULL, 14839644324764355487ULL}},
    };
    for (const auto& c : cases) {
        set_rng_state(c.state);
        for (const std::uint64_t expected : c.outputs) EXPECT_EQ(next_u64(), expected);
        EXPECT_EQ(rng_state(), c.state + 3 * INCREMENT);
    }
}

TEST(RandBelow, ConsumesOneStepWhenNothingIsRejected) {
    for (const std::uint32_t n : {2u, 3u, 1920u, 3840u, 7u}) {
        set_rng_state(1234567);
        const std::uint32_t value = rand_below(n);
        EXPECT_LT(value, n);
        EXPECT_EQ(rng_state(), 1234567 + INCREMENT) << n;
    }
}

TEST(RandBelow, ABitIsTheTopBitOfOneDraw) {
    for (std::uint64_t s = 0; s < 64; ++s) {
        set_rng_state(s);
        const auto r = static_cast<std::uint32_t>(next_u64());
        set_rng_state(s);
        EXPECT_EQ(rand_bit(), r >> 31);
        EXPECT_EQ(rng_state(), s + INCREMENT);
    }
}

TEST(RandBelow, RejectsDrawsBelowTheThreshold) {
    // Every product r * 3840 is a multiple of 256, so with the threshold 256 a draw is rejected
    // exactly when the low word is zero; products r * 1920 are multiples of 128, so 0 and 128 are
    // rejected. The states were found by search so that the first draw falls in those cases.
    const struct {
        std::uint64_t state;
        std::uint32_t n;
        std::uint32_t low_word;
    } cases[] = {{12050354, 3840, 0}, {12529898, 3840, 0}, {14727889, 1920, 0}, {83201881, 1920, 128}};
    for (const auto& c : cases) {
        set_rng_state(c.state);
        const auto first = static_cast<std::uint32_t>(next_u64());
        ASSERT_EQ(static_cast<std::uint32_t>(static_cast<std::uint64_t>(first) * c.n), c.low_word);
        const auto second = static_cast<std::uint32_t>(next_u64());
        set_rng_state(c.state);
        EXPECT_EQ(rand_below(c.n), static_cast<std::uint32_t>((static_cast<std::uint64_t>(second) * c.n) >> 32));
        EXPECT_EQ(rng_state(), c.state + 2 * INCREMENT) << c.state;
    }
    // A low word of 2^31 is far above the threshold: one draw.
    set_rng_state(12050354);
    rand_below(1920);
    EXPECT_EQ(rng_state(), 12050354 + INCREMENT);
}

TEST(RandBelow64, TakesTheHighWordOfTheProduct) {
    for (const std::uint64_t n : {2ULL, 3ULL, 4ULL, 5ULL, 6ULL, 1000ULL}) {
        set_rng_state(99);
        const std::uint64_t r = next_u64();
        set_rng_state(99);
        __extension__ typedef unsigned __int128 u128;
        EXPECT_EQ(rand_below64(n), static_cast<std::uint64_t>((static_cast<u128>(r) * n) >> 64));
        EXPECT_EQ(rng_state(), 99 + INCREMENT);
    }
}

TEST(RandBelow, IsUniform) {
    set_rng_state(7);
    constexpr int N = 60000;
    std::array<int, 6> counts{};
    for (int k = 0; k < N; ++k) ++counts[rand_below(6)];
    // Each count is binomial(N, 1/6): allow five standard deviations.
    const double sigma = std::sqrt(N * (1.0 / 6) * (5.0 / 6));
    for (const int c : counts) EXPECT_NEAR(c, N / 6.0, 5 * sigma);
}

TEST(Shuffle, SwapsFromTheFrontWithGrowingBounds) {
    set_rng_state(2024);
    std::array<int, 6> list{0, 1, 2, 3, 4, 5};
    shuffle(std::span<int>(list));
    // Replay the swaps by hand from the same state: k = 1..5 with rand_below64(k + 1).
    set_rng_state(2024);
    std::array<int, 6> expected{0, 1, 2, 3, 4, 5};
    for (std::size_t k = 1; k < expected.size(); ++k) std::swap(expected[k], expected[rand_below64(k + 1)]);
    EXPECT_EQ(list, expected);
    // Five draws in all.
    set_rng_state(2024);
    shuffle(std::span<int>(expected));
    EXPECT_EQ(rng_state(), 2024 + 5 * INCREMENT);
}

TEST(Shuffle, EveryPermutationOfThreeIsEquallyLikely) {
    set_rng_state(5);
    std::map<std::array<int, 3>, int> seen;
    constexpr int N = 60000;
    for (int k = 0; k < N; ++k) {
        std::array<int, 3> list{0, 1, 2};
        shuffle(std::span<int>(list));
        ++seen[list];
    }
    ASSERT_EQ(seen.size(), 6u);
    const double sigma = std::sqrt(N * (1.0 / 6) * (5.0 / 6));
    for (const auto& [perm, count] : seen) EXPECT_NEAR(count, N / 6.0, 5 * sigma);
}

TEST(SipHash, MatchesThePublishedTwoFourVector) {
    // The reference vector: key 00..0f, message 00..0e, SipHash-2-4.
    std::vector<std::uint8_t> message(15);
    std::iota(message.begin(), message.end(), std::uint8_t{0});
    EXPECT_EQ(siphash(2, 4, 0x0706050403020100ULL, 0x0f0e0d0c0b0a0908ULL, message), 0xa129ca6149be45e5ULL);
    // And the empty message of the same key.
    EXPECT_EQ(siphash(2, 4, 0x0706050403020100ULL, 0x0f0e0d0c0b0a0908ULL, {}), 0x726fdb47dd0e0e31ULL);
}

TEST(Seed, DiffersFromRunToRun) {
    // Two seeds taken at different instants differ (the nanoseconds move).
    const std::uint64_t a = fresh_seed();
    timespec pause{0, 1000};
    nanosleep(&pause, nullptr);
    EXPECT_NE(a, fresh_seed());
}

TEST(RandDeath, EmptyInclusiveRangeStops) {
    EXPECT_DEATH(rand_inclusive_from_one(0), testing::HasSubstr("empty range: "));
}

}  // namespace
}  // namespace qm
