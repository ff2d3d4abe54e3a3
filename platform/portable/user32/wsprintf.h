// wsprintfA and wvsprintfA.
#ifndef PLATFORM_PORTABLE_WSPRINTF_H
#define PLATFORM_PORTABLE_WSPRINTF_H

#include "platform/platform.h"

void PortableFillFormatting(PlatformTable *t);

#endif
