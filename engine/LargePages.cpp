#include "engine/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

void adviseLargePages(void* p, size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const long size = sysconf(_SC_PAGESIZE);
    if (!p || size <= 0)
        return;
    const auto page = static_cast<uintptr_t>(size);
    const auto start = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
    if (end > start)
        (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}
