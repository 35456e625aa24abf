// The clock's words: the time of day, the day with the time, and the frame time.
#include "clock_text.hpp"

#include <cstdio>

#include "day_clock.hpp"

namespace qm {

std::string clock_text(std::uint16_t time) {
    const unsigned minute = (time / TICKS_PER_MINUTE) % 60u;
    const unsigned h = time / TICKS_PER_HOUR;
    unsigned hour = 0;
    const char* suffix = "am";
    if (time < NOON) {
        hour = h + 5;
    } else if (time < NOON + TICKS_PER_HOUR) {
        hour = 12;
        suffix = "pm";
    } else {
        hour = h - 7;
        suffix = "pm";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u:%02u %s", hour, minute, suffix);
    return buf;
}

std::string daytime_text(std::uint64_t day, std::uint16_t time) {
    return "Day " + std::to_string(day) + " " + clock_text(time);
}

std::string frame_time_text(std::chrono::nanoseconds duration) {
    // A monotonic clock never runs backwards; should a negative span ever arrive, it reads as
    // zero rather than as a string of minus signs. Nanoseconds fit in 64 bits, and so do the
    // whole milliseconds and microseconds derived from them.
    const std::uint64_t ns = duration.count() < 0 ? 0 : static_cast<std::uint64_t>(duration.count());
    const std::uint64_t ms = ns / 1000000u;
    const std::uint64_t rest = (ns / 1000u) % 1000u;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%llu.%03llu ms", static_cast<unsigned long long>(ms),
                  static_cast<unsigned long long>(rest));
    return buf;
}

}  // namespace qm
