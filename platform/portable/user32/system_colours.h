// The system colours: GetSysColor and SetSysColors.
#ifndef PLATFORM_PORTABLE_SYSTEM_COLOURS_H
#define PLATFORM_PORTABLE_SYSTEM_COLOURS_H

#include "platform/platform.h"

void PortableFillSystemColours(PlatformTable *t);

#endif
