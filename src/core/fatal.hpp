// The one way the game stops on a broken invariant or an unrecoverable error: the message goes to
// stderr and the process exits with a failure status, without a core dump.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Exit status of every fatal stop.
inline constexpr int FATAL_EXIT_STATUS = 101;

// The fixed texts of broken invariants.
inline constexpr const char* NO_ENTRY_MESSAGE = "no entry found for key";
inline constexpr const char* ALLELE_MESSAGE = "Not a real allele pair!";

[[noreturn]] void fatal(std::string_view message);

// "called `Result::unwrap()` on an `Err` value: <error>", the form every fatal start-up, scaling
// or drawing error takes.
[[noreturn]] void fatal_unwrap(std::string_view error);

// An error text in double quotes with quotes, backslashes and control characters escaped: the
// way every error the game reports shows its payload.
std::string quoted(std::string_view text);

// Stops the program on a failed SDL call, its error text quoted.
[[noreturn]] void fatal_sdl_error(std::string_view sdl_error);

}  // namespace qm
