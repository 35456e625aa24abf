// wyrand, Lemire's bounded draws and SipHash-1-3.
#include "random.hpp"

#include <pthread.h>
#include <sys/random.h>
#include <time.h>

#include <array>
#include <cerrno>
#include <bit>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "fatal.hpp"

namespace qm {

namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t rotl(std::uint64_t x, int b) { return std::rotl(x, b); }

struct SipState {
    std::uint64_t v0, v1, v2, v3;
    void round() {
        v0 += v1; v1 = rotl(v1, 13); v1 ^= v0; v0 = rotl(v0, 32);
        v2 += v3; v3 = rotl(v3, 16); v3 ^= v2;
        v0 += v3; v3 = rotl(v3, 21); v3 ^= v0;
        v2 += v1; v1 = rotl(v1, 17); v1 ^= v2; v2 = rotl(v2, 32);
    }
};

constexpr std::uint64_t STEP = 0x2D358DCCAA6C78A5ULL;

// The output for a state that has already taken its step.
inline std::uint64_t output(std::uint64_t s) {
    const u128 product = static_cast<u128>(s) * static_cast<u128>(s ^ 0x8BB84B93962EACC9ULL);
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

thread_local std::optional<std::uint64_t> state;

std::uint64_t& generator() {
    if (!state) state = fresh_seed();
    return *state;
}

// A shuffle of LENGTH draws rand_below64(k + 1) for k = 1 .. LENGTH - 1. Each takes one step unless
// Lemire's method rejects its draw, which needs an output r with (r · n mod 2^64) below
// (2^64 - n) mod n: never for a power of two, and for the other bounds a handful of outputs out of
// 2^64. So whole shuffles are checked for such an output without storing anything, the state jumps
// over every clean one, and a shuffle that has one is made draw by draw.
template <std::uint64_t LENGTH>
void skip_clean_shuffles(std::uint64_t times) {
    std::uint64_t& s = generator();
    while (times > 0) {
        std::uint64_t clean = 0;
        for (std::uint64_t probe = s; clean < times; ++clean, probe += (LENGTH - 1) * STEP) {
            const bool rejected = [probe]<std::uint64_t... K>(std::integer_sequence<std::uint64_t, K...>) {
                // Draw K + 1 of the shuffle has the bound K + 2.
                return ((((K + 2) & (K + 1)) != 0 &&
                         output(probe + (K + 1) * STEP) * (K + 2) < (0ULL - (K + 2)) % (K + 2)) || ...);
            }(std::make_integer_sequence<std::uint64_t, LENGTH - 1>{});
            if (rejected) break;
        }
        s += clean * (LENGTH - 1) * STEP;
        times -= clean;
        if (times == 0) return;
        for (std::uint64_t k = 1; k < LENGTH; ++k) rand_below64(k + 1);
        --times;
    }
}

}  // namespace

std::uint64_t siphash(int c_rounds, int d_rounds, std::uint64_t k0, std::uint64_t k1,
                      std::span<const std::uint8_t> data) {
    SipState s{k0 ^ 0x736f6d6570736575ULL, k1 ^ 0x646f72616e646f6dULL, k0 ^ 0x6c7967656e657261ULL,
               k1 ^ 0x7465646279746573ULL};
    const std::size_t n = data.size();
    std::size_t at = 0;
    for (; at + 8 <= n; at += 8) {
        std::uint64_t m = 0;
        for (int b = 0; b < 8; ++b) m |= static_cast<std::uint64_t>(data[at + static_cast<std::size_t>(b)]) << (8 * b);
        s.v3 ^= m;
        for (int r = 0; r < c_rounds; ++r) s.round();
        s.v0 ^= m;
    }
    std::uint64_t last = static_cast<std::uint64_t>(n & 0xFF) << 56;
    for (std::size_t b = 0; at + b < n; ++b) last |= static_cast<std::uint64_t>(data[at + b]) << (8 * b);
    s.v3 ^= last;
    for (int r = 0; r < c_rounds; ++r) s.round();
    s.v0 ^= last;
    s.v2 ^= 0xFF;
    for (int r = 0; r < d_rounds; ++r) s.round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

std::uint64_t siphash13(std::uint64_t k0, std::uint64_t k1, std::span<const std::uint8_t> data) {
    return siphash(1, 3, k0, k1, data);
}

std::uint64_t fresh_seed() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto seconds = static_cast<std::uint64_t>(now.tv_sec);
    const auto nanos = static_cast<std::uint32_t>(now.tv_nsec);
    const auto thread = static_cast<std::uint64_t>(pthread_self());
    std::array<std::uint8_t, 20> bytes{};
    for (int b = 0; b < 8; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(seconds >> (8 * b));
    for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(8 + b)] = static_cast<std::uint8_t>(nanos >> (8 * b));
    for (int b = 0; b < 8; ++b) bytes[static_cast<std::size_t>(12 + b)] = static_cast<std::uint8_t>(thread >> (8 * b));
    return siphash13(0, 0, bytes);
}

std::uint64_t next_u64() {
    std::uint64_t& s = generator();
    s += STEP;
    return output(s);
}

std::uint32_t rand_below(std::uint32_t n) {
    auto r = static_cast<std::uint32_t>(next_u64());
    std::uint64_t m = static_cast<std::uint64_t>(r) * n;
    auto lo = static_cast<std::uint32_t>(m);
    if (lo < n) {
        const std::uint32_t t = (0u - n) % n;  // (2^32 - n) mod n
        while (lo < t) {
            r = static_cast<std::uint32_t>(next_u64());
            m = static_cast<std::uint64_t>(r) * n;
            lo = static_cast<std::uint32_t>(m);
        }
    }
    return static_cast<std::uint32_t>(m >> 32);
}

std::uint64_t rand_below64(std::uint64_t n) {
    std::uint64_t r = next_u64();
    u128 m = static_cast<u128>(r) * n;
    auto lo = static_cast<std::uint64_t>(m);
    if (lo < n) {
        const std::uint64_t t = (0ULL - n) % n;
        while (lo < t) {
            r = next_u64();
            m = static_cast<u128>(r) * n;
            lo = static_cast<std::uint64_t>(m);
        }
    }
    return static_cast<std::uint64_t>(m >> 64);
}

std::uint32_t rand_bit() { return rand_below(2); }

std::uint32_t rand_inclusive_from_one(std::uint32_t n) {
    if (n == 0) fatal("empty range: cannot sample empty range 1..=0");
    return 1 + rand_below(n);
}

void skip_shuffles(std::size_t length, std::uint64_t times) {
    if (length == 6) {
        skip_clean_shuffles<6>(times);
    } else {
        for (; times > 0; --times) {
            for (std::uint64_t k = 1; k < length; ++k) rand_below64(k + 1);
        }
    }
}

void set_rng_state(std::uint64_t s) { state = s; }
std::uint64_t rng_state() { return generator(); }

namespace {

// Should the kernel's source be missing (a very old kernel or a locked-down sandbox) the clock-and-
// thread seed is good enough for a key that only keeps the layout unpredictable.
MapHashKey draw_map_hash_key() {
    std::array<std::uint64_t, 2> words{};
    auto* bytes = reinterpret_cast<unsigned char*>(words.data());
    std::size_t got = 0;
    while (got < sizeof words) {
        const ssize_t n = getrandom(bytes + got, sizeof words - got, 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            return {fresh_seed(), fresh_seed() ^ 0x9E3779B97F4A7C15ULL};
        }
    }
    return {words[0], words[1]};
}

std::mutex map_key_lock;
std::optional<MapHashKey> map_key;

}  // namespace

MapHashKey map_hash_key() {
    const std::scoped_lock hold(map_key_lock);
    if (!map_key) map_key = draw_map_hash_key();
    return *map_key;
}

void fix_map_hash_key(std::uint64_t seed) {
    // Two SipHash outputs of the seed, so nearby seeds give unrelated keys.
    std::array<std::uint8_t, 8> bytes{};
    for (std::size_t b = 0; b < bytes.size(); ++b) bytes[b] = static_cast<std::uint8_t>(seed >> (8 * b));
    const MapHashKey key{siphash13(0x6D61'7073, 0, bytes), siphash13(0x6D61'7073, 1, bytes)};
    const std::scoped_lock hold(map_key_lock);
    map_key = key;
}

void replay_from(std::uint64_t seed) {
    set_rng_state(seed);
    fix_map_hash_key(seed);
}

}  // namespace qm
