// What the allocator has handed out and not had back: for the checks that memory holds flat.
#pragma once

#include <cstddef>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's own count, from its runtime (g++'s packages ship no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace qm {

// Bytes in use on the heap, small blocks and mapped ones alike; under AddressSanitizer its
// allocator's own count (glibc's figures then see nothing).
inline std::size_t heap_in_use() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// Fixes glibc's two thresholds, which otherwise move on their own. Freeing one large block (a
// window's framebuffer, a frame target) raises the threshold for mapping blocks of their own up
// to 32 MB, and from then on every block of a new window size is carved from the heap, which
// keeps the holes: resident memory grew with every size a window was dragged through, and the
// heap's top was given back and taken again several hundred times a second. Blocks from 256 KiB
// are mapped and returned whole; up to 4 MiB of free space may stay at the heap's top.
inline void keep_memory_flat() {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 4 * 1024 * 1024);
}

}  // namespace qm
