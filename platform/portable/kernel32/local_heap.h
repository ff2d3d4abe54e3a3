// The local heap: fixed blocks only.
#ifndef PLATFORM_PORTABLE_LOCAL_HEAP_H
#define PLATFORM_PORTABLE_LOCAL_HEAP_H

#include "platform/platform.h"

void PortableFillLocalHeap(PlatformTable *t);

#endif
