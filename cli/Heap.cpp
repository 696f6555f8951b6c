#include "cli/Heap.h"

// Defines __GLIBC__.
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdint>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace Cli {

void useLargeHeapPages()
{
#if defined(__linux__) && defined(__GLIBC__)
    // Address space only: what is never touched takes no memory.
    constexpr std::size_t kReserve = std::size_t(512) << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    // One growth of the heap that then serves the whole command, and nothing given
    // back in between, so the range advised below stays the heap's.
    // Large blocks too come from the heap, up to the largest threshold there is.
    if (mallopt(M_TOP_PAD, int(kReserve)) != 1 || mallopt(M_TRIM_THRESHOLD, int(2 * kReserve)) != 1
        || mallopt(M_MMAP_THRESHOLD, 32 << 20) != 1)
        return;
    void *start = sbrk(0);
    // More than the heap has left, so it grows; volatile, or the pair is optimised away.
    void *volatile block = std::malloc(16 << 20);
    std::free(block);
    void *end = sbrk(0);
    const auto from = (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(end) & ~(kHugePage - 1);
    // Advice only: a kernel without huge pages refuses it and nothing changes.
    if (to > from)
        (void)madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#endif
}

} // namespace Cli
