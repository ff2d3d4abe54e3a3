// For a picture-sized block, taking a fault for every 4 KiB page costs more
// than the work done on it: such blocks are faulted in by one call and backed
// by large pages where the system has them.
#include "host/posix_memory.h"

#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr uintptr_t kLargePage = uintptr_t(2) << 20;

// Small blocks come from the heap, where the sanitizers watch their bounds.
constexpr size_t kMappedSize = size_t(1) << 20;

} // namespace

// Only the large pages that lie wholly inside the range are asked for, so
// that nothing around it changes how it is backed.
bool HostPrefetch(uintptr_t start, uintptr_t bytes)
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
    (void)page;
    return false;
#endif
}

// Fresh mapped pages read as zero.
uint8_t *HostAllocateZeroed(size_t size)
{
#ifdef MAP_POPULATE
    if (size >= kMappedSize) {
        void *memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return nullptr;
#ifdef MADV_HUGEPAGE
        madvise(memory, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
        madvise(memory, size, MADV_POPULATE_WRITE);
#endif
        return static_cast<uint8_t *>(memory);
    }
#endif
    return static_cast<uint8_t *>(calloc(size, 1));
}

void HostFreeZeroed(uint8_t *memory, size_t size)
{
#ifdef MAP_POPULATE
    if (size >= kMappedSize) {
        munmap(memory, size);
        return;
    }
#endif
    (void)size;
    free(memory);
}
