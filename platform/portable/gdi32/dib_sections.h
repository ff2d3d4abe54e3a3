// Memory device contexts and DIB sections.
#ifndef PLATFORM_PORTABLE_DIB_SECTIONS_H
#define PLATFORM_PORTABLE_DIB_SECTIONS_H

#include "platform/platform.h"

void PortableFillDibSections(PlatformTable *t);

#endif
