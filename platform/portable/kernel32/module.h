// The program's own module.
#ifndef PLATFORM_PORTABLE_MODULE_H
#define PLATFORM_PORTABLE_MODULE_H

#include "platform/platform.h"

// GetModuleHandleA(NULL): fixed and never null.
HINSTANCE PortableProgramInstance();

void PortableFillModule(PlatformTable *t);

#endif
