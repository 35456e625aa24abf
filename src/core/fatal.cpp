// The fatal path: print, flush, leave.
#include "fatal.hpp"

#include <cstdio>
#include <cstdlib>

namespace qm {

void fatal(std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(FATAL_EXIT_STATUS);
}

void fatal_unwrap(std::string_view error) {
    std::string text = "called `Result::unwrap()` on an `Err` value: ";
    text += error;
    fatal(text);
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

void fatal_sdl_error(std::string_view sdl_error) { fatal_unwrap(quoted(sdl_error)); }

}  // namespace qm
