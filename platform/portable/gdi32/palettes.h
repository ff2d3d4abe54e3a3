// Logical palettes: creating them, their entries, and UnrealizeObject.
#ifndef PLATFORM_PORTABLE_PALETTES_H
#define PLATFORM_PORTABLE_PALETTES_H

#include "platform/platform.h"

void PortableFillPalettes(PlatformTable *t);

#endif
