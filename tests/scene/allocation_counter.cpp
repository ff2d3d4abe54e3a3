// In a file of its own so that no caller sees malloc and free inlined
// behind new and delete.
#include "tests/scene/allocation_counter.h"

#include <stdlib.h>

#include <atomic>
#include <new>

namespace {
std::atomic<long> allocationCount{0};
}

long AllocationCount()
{
    return allocationCount.load();
}

// Every form that pairs with the plain delete is replaced, so that memory
// from any of them, also inside the GL driver, goes back the way it came.
void *operator new(size_t size, const std::nothrow_t &) noexcept
{
    ++allocationCount;
    return malloc(size ? size : 1);
}
void *operator new[](size_t size, const std::nothrow_t &tag) noexcept { return operator new(size, tag); }
void *operator new(size_t size)
{
    if (void *block = operator new(size, std::nothrow))
        return block;
    throw std::bad_alloc();
}
void *operator new[](size_t size) { return operator new(size); }
void operator delete(void *block) noexcept { free(block); }
void operator delete[](void *block) noexcept { free(block); }
void operator delete(void *block, size_t) noexcept { free(block); }
void operator delete[](void *block, size_t) noexcept { free(block); }
void operator delete(void *block, const std::nothrow_t &) noexcept { free(block); }
void operator delete[](void *block, const std::nothrow_t &) noexcept { free(block); }
