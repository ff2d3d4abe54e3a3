// The process: the version it reports, its pseudo handle and its end.
#ifndef PLATFORM_PORTABLE_PROCESS_H
#define PLATFORM_PORTABLE_PROCESS_H

#include "platform/platform.h"

void PortableFillProcess(PlatformTable *t);

#endif
