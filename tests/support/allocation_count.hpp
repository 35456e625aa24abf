// Counts the test binary's calls of operator new, for the checks that a frame allocates nothing.
#pragma once

#include <cstdint>

namespace qm::test {

// Calls of operator new (single and array) since the program began; zero under the sanitizers,
// whose allocator is left alone.
std::uint64_t allocations();
// Whether allocations() counts anything in this build.
bool counting_allocations();

}  // namespace qm::test
