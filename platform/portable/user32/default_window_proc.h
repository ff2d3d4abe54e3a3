// DefWindowProcA.
#ifndef PLATFORM_PORTABLE_DEFAULT_WINDOW_PROC_H
#define PLATFORM_PORTABLE_DEFAULT_WINDOW_PROC_H

#include "platform/platform.h"

void PortableFillDefaultWindowProc(PlatformTable *t);

#endif
