// The game's one random generator (64-bit wyrand), seeded once per run from the clock and the
// thread id, and the SipHash-1-3 that seeds it and keys the hash maps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace qm {

// SipHash-c-d with a 128-bit key (k0, k1), the standard 64-bit output.
std::uint64_t siphash(int c_rounds, int d_rounds, std::uint64_t k0, std::uint64_t k1,
                      std::span<const std::uint8_t> data);
// SipHash-1-3 with a 128-bit key (k0, k1): the standard 64-bit output.
std::uint64_t siphash13(std::uint64_t k0, std::uint64_t k1, std::span<const std::uint8_t> data);

// One generator step. The state is created lazily from the clock and the thread id.
std::uint64_t next_u64();
// Uniform in [0, n) by Lemire's multiply-and-reject, on 32-bit draws. n must be positive.
std::uint32_t rand_below(std::uint32_t n);
// The same on 64-bit draws.
std::uint64_t rand_below64(std::uint64_t n);
// A fair bit: rand_below(2).
std::uint32_t rand_bit();
// Uniform in [1, n]; n = 0 is an empty range and stops the program.
std::uint32_t rand_inclusive_from_one(std::uint32_t n);

// Fisher-Yates from the front: for k = 1 .. len-1, swap k with rand_below64(k + 1).
template <typename T>
void shuffle(std::span<T> list) {
    for (std::size_t k = 1; k < list.size(); ++k) {
        const auto other = static_cast<std::size_t>(rand_below64(k + 1));
        using std::swap;
        swap(list[k], list[other]);
    }
}

// Makes exactly the draws of `times` shuffles of a list of `length` elements, without the list:
// for a search that is known to find nothing yet must still draw as if it had looked.
void skip_shuffles(std::size_t length, std::uint64_t times);

// The seed a fresh generator would start from now.
std::uint64_t fresh_seed();

// Tests fix the state to get repeatable draws.
void set_rng_state(std::uint64_t state);
std::uint64_t rng_state();

// The key the cell maps hash under. Drawn from the kernel's random source the first time a map
// asks, so the maps' layout and iteration order (and with them the order the night visits the
// field in) differ from run to run, unless a seed fixed it first.
struct MapHashKey {
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;
    friend constexpr bool operator==(const MapHashKey&, const MapHashKey&) = default;
};
MapHashKey map_hash_key();
// Maps made from now on hash under a key worked out from `seed`.
void fix_map_hash_key(std::uint64_t seed);
// One seed for a run that must play the same again (the soak, the tests, the benchmarks): this
// thread's generator and the maps' key. The game itself never calls it.
void replay_from(std::uint64_t seed);

}  // namespace qm
