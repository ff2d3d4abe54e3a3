// Palette buffers come from the local heap so that they go back with LocalFree.
#include "platform/platform.h"
#include "toolkit/toolkit_state.h"

void *AllocBlock(SIZE_T size) { return platform.LocalAlloc(LMEM_FIXED, size); }

void *AllocZeroedBlock(SIZE_T size) { return platform.LocalAlloc(LMEM_ZEROINIT, size); }

void FreeBlock(void *block) { platform.LocalFree(block); }
