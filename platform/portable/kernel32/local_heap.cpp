// The local heap: fixed blocks only, so a block's handle is its memory.
#include "kernel32/local_heap.h"

#include <stdlib.h>

namespace {

// Blocks are fixed: the handle is the memory itself.
HLOCAL WINAPI PortableLocalAlloc(UINT flags, SIZE_T bytes)
{
    if ((flags & ~UINT(LMEM_ZEROINIT)) != LMEM_FIXED)
        return nullptr;
    size_t size = bytes ? bytes : 1;
    return (flags & LMEM_ZEROINIT) ? calloc(1, size) : malloc(size);
}

HLOCAL WINAPI PortableLocalFree(HLOCAL block)
{
    free(block);
    return nullptr;
}

} // namespace

void PortableFillLocalHeap(PlatformTable *t)
{
    t->LocalAlloc = PortableLocalAlloc;
    t->LocalFree = PortableLocalFree;
}
