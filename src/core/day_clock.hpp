// The day clock: one tick per frame, 32 ticks a clock minute, tick 0 at 5:00 am.
#pragma once

#include <cstdint>

namespace qm {

inline constexpr std::uint16_t TICKS_PER_MINUTE = 32;
inline constexpr std::uint16_t TICKS_PER_HOUR = 1920;
inline constexpr std::uint16_t NOON = 13440;              // seven hours after 5:00 am
inline constexpr std::uint16_t FIRST_DAY_START = NOON;    // the first day starts at noon
inline constexpr std::uint16_t DAY_START = 0;             // every later day at 5:00 am
inline constexpr std::uint16_t DAY_END = 26880;           // 7:00 pm

}  // namespace qm
