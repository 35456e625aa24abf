// The clock's words, as the top line of the screen shows them; no SDL here.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace qm {

// "5:00 am": the time of day of a tick.
std::string clock_text(std::uint16_t time);
// "Day 1 5:00 am": the clock text for a day and a tick.
std::string daytime_text(std::uint64_t day, std::uint16_t time);
// "16.666 ms": whole milliseconds and the truncated microsecond remainder.
std::string frame_time_text(std::chrono::nanoseconds duration);

}  // namespace qm
