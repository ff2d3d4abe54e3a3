// PrefetchVirtualMemory.
#ifndef PLATFORM_PORTABLE_VIRTUAL_MEMORY_H
#define PLATFORM_PORTABLE_VIRTUAL_MEMORY_H

#include "platform/platform.h"

void PortableFillVirtualMemory(PlatformTable *t);

#endif
