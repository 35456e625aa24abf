// The fatal path: print, flush, leave.
#include "fatal.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

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

}  // namespace qm
