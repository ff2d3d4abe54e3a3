// Palette buffers come from the local heap so that they go back with LocalFree.
#include "local_blocks.h"

#include "platform/platform.h"

void *AllocBlock(SIZE_T size) { return platform.LocalAlloc(LMEM_FIXED, size); }

void *AllocZeroedBlock(SIZE_T size) { return platform.LocalAlloc(LMEM_ZEROINIT, size); }

void FreeBlock(void *block) { platform.LocalFree(block); }
