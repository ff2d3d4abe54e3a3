// Memory as the host hands it out: brought in ahead of use, and large zeroed
// blocks taken whole.
#ifndef PLATFORM_PORTABLE_HOST_POSIX_MEMORY_H
#define PLATFORM_PORTABLE_HOST_POSIX_MEMORY_H

#include <stddef.h>
#include <stdint.h>

// Faults the range in at once, on large pages where the system has them,
// changing none of its bytes; false when the system cannot.
bool HostPrefetch(uintptr_t start, uintptr_t bytes);

// size zeroed bytes, or null; given back with the same size.
uint8_t *HostAllocateZeroed(size_t size);
void HostFreeZeroed(uint8_t *memory, size_t size);

#endif
