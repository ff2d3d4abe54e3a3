// The pixel-format operations of window device contexts.
#ifndef PLATFORM_PORTABLE_PIXEL_FORMATS_H
#define PLATFORM_PORTABLE_PIXEL_FORMATS_H

#include "platform/platform.h"

void PortableFillPixelFormats(PlatformTable *t);

#endif
