// Local-heap blocks for palette buffers.
#ifndef TOOLKIT_LOCAL_BLOCKS_H
#define TOOLKIT_LOCAL_BLOCKS_H

#include "platform/win32_types.h"

// Null when the heap is exhausted.
void *AllocBlock(SIZE_T size);
void *AllocZeroedBlock(SIZE_T size);
void FreeBlock(void *block);

#endif
