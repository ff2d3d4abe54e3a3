// Bringing memory in before it is used. A range about to be written whole is
// faulted in by one call rather than page by page, and backed by large pages
// where the system has them: for a picture-sized block, taking a fault for
// every 4 KiB page costs more than the work done on it.
#include <stdint.h>
#include <sys/mman.h>
#include <unistd.h>

#include "fill_table.h"

namespace {

constexpr uintptr_t kLargePage = uintptr_t(2) << 20;

// Only the large pages that lie wholly inside the range are asked for, so
// that nothing around it changes how it is backed. Bringing the range in
// changes no byte of it.
bool Prefetch(uintptr_t start, uintptr_t bytes)
{
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t end = start + bytes;
#ifdef MADV_HUGEPAGE
    const uintptr_t largeStart = (start + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t largeEnd = end & ~(kLargePage - 1);
    if (largeStart < largeEnd)
        madvise(reinterpret_cast<void *>(largeStart), largeEnd - largeStart, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    const uintptr_t first = start & ~(page - 1);
    return madvise(reinterpret_cast<void *>(first), end - first, MADV_POPULATE_WRITE) == 0;
#else
    return false;
#endif
}

BOOL WINAPI PortablePrefetchVirtualMemory(HANDLE process, ULONG_PTR count, PWIN32_MEMORY_RANGE_ENTRY ranges, ULONG flags)
{
    if (process != reinterpret_cast<HANDLE>(LONG_PTR(-1)) || ranges == nullptr || flags != 0)
        return FALSE;
    bool all = true;
    for (ULONG_PTR i = 0; i < count; ++i) {
        uintptr_t start = reinterpret_cast<uintptr_t>(ranges[i].VirtualAddress);
        if (ranges[i].NumberOfBytes > 0 && !Prefetch(start, ranges[i].NumberOfBytes))
            all = false;
    }
    return all ? TRUE : FALSE;
}

} // namespace

void PortableFillVirtualMemory(PlatformTable *t) { t->PrefetchVirtualMemory = PortablePrefetchVirtualMemory; }
