// What kind of device the display is. It is a palette device exactly when
// its pixels are 8-bit indices into a colour map (an X PseudoColor visual),
// which is how Wine decides it too.
#ifndef PLATFORM_PORTABLE_DEVICE_CAPS_H
#define PLATFORM_PORTABLE_DEVICE_CAPS_H

#include "platform/platform.h"

constexpr unsigned kSystemPaletteSize = 256;

bool PortableIsPaletteDevice();

void PortableFillDeviceCaps(PlatformTable *t);

#endif
