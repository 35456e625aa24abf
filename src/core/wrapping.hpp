// Wrapping integer arithmetic. The game's 32-bit world and 16-bit cell arithmetic wraps by design;
// signed overflow is undefined in C++, so every wrapping step goes through the unsigned type.
#pragma once

#include <cstdint>

namespace qm {

constexpr std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr std::int32_t wrap_neg(std::int32_t a) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}
// |a| with |INT32_MIN| wrapping to itself; callers read it as unsigned where that matters.
constexpr std::int32_t wrap_abs(std::int32_t a) { return a < 0 ? wrap_neg(a) : a; }

constexpr std::uint16_t wrap_add(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::uint16_t>(a + b);
}
constexpr std::uint16_t wrap_sub(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::uint16_t>(a - b);
}

// Widening casts that read as the intent.
constexpr std::uint16_t u16(int v) { return static_cast<std::uint16_t>(v); }
constexpr std::int16_t as_i16(std::uint16_t v) { return static_cast<std::int16_t>(v); }

}  // namespace qm
