// ChangeDisplaySettingsA.
#ifndef PLATFORM_PORTABLE_DISPLAY_MODES_H
#define PLATFORM_PORTABLE_DISPLAY_MODES_H

#include "platform/platform.h"

void PortableFillDisplayModes(PlatformTable *t);

#endif
