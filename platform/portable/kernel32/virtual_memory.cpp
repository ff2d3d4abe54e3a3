// Bringing memory in before it is used: a range about to be written whole is
// faulted in by one call rather than page by page.
#include <stdint.h>

#include "kernel32/virtual_memory.h"
#include "host/posix_memory.h"

namespace {

BOOL WINAPI PortablePrefetchVirtualMemory(HANDLE process, ULONG_PTR count, PWIN32_MEMORY_RANGE_ENTRY ranges, ULONG flags)
{
    if (process != reinterpret_cast<HANDLE>(LONG_PTR(-1)) || ranges == nullptr || flags != 0)
        return FALSE;
    bool all = true;
    for (ULONG_PTR i = 0; i < count; ++i) {
        uintptr_t start = reinterpret_cast<uintptr_t>(ranges[i].VirtualAddress);
        if (ranges[i].NumberOfBytes > 0 && !HostPrefetch(start, ranges[i].NumberOfBytes))
            all = false;
    }
    return all ? TRUE : FALSE;
}

} // namespace

void PortableFillVirtualMemory(PlatformTable *t) { t->PrefetchVirtualMemory = PortablePrefetchVirtualMemory; }
