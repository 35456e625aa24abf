// The one way the game stops on a broken invariant or an unrecoverable error: the message goes to
// stderr and the process exits with a failure status, without a core dump.
#pragma once

#include <string_view>

namespace qm {

// Exit status of every fatal stop.
inline constexpr int FATAL_EXIT_STATUS = 101;

[[noreturn]] void fatal(std::string_view message);

// "called `Result::unwrap()` on an `Err` value: <error>", the form every fatal start-up, scaling
// or drawing error takes.
[[noreturn]] void fatal_unwrap(std::string_view error);

}  // namespace qm
