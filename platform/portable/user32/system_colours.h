// The 25 system colours, COLOR_SCROLLBAR to COLOR_INFOBK.
#ifndef PLATFORM_PORTABLE_SYSTEM_COLOURS_H
#define PLATFORM_PORTABLE_SYSTEM_COLOURS_H

#include "platform/platform.h"

constexpr int kSystemColourCount = 25;

// The standard scheme, the colours a new session starts with; also what the
// user's scheme in the registry holds.
COLORREF PortableStandardColour(int element);

#endif
