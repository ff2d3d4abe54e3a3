// The 25 system colours, COLOR_SCROLLBAR to COLOR_INFOBK, of the user's
// colour scheme: the standard one, as a new session has it.
#ifndef PLATFORM_PORTABLE_COLOUR_SCHEME_H
#define PLATFORM_PORTABLE_COLOUR_SCHEME_H

#include "platform/platform.h"

constexpr int kSystemColourCount = 25;

// 0 for an element that is none.
COLORREF PortableStandardColour(int element);

#endif
