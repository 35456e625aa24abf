// The test binary's own operator new: malloc, counted. libstdc++'s delete frees with free and its
// nothrow forms call these, so replacing the two is enough. Under AddressSanitizer its own stays.
#include "allocation_count.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> made{0};

#if !defined(__SANITIZE_ADDRESS__)
void* counted(std::size_t size) {
    made.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
#endif

}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
#endif

namespace qm::test {

std::uint64_t allocations() { return made.load(std::memory_order_relaxed); }

bool counting_allocations() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

}  // namespace qm::test
