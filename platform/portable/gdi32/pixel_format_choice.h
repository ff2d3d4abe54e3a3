// ChoosePixelFormat's rules over any list of formats.
#ifndef PLATFORM_PORTABLE_PIXEL_FORMAT_CHOICE_H
#define PLATFORM_PORTABLE_PIXEL_FORMAT_CHOICE_H

#include "platform/platform.h"

// The number (from 1) of the format closest to the request among count
// formats, or 0 when none qualifies. The rules are in the source.
int PortableClosestPixelFormat(const PIXELFORMATDESCRIPTOR *formats, int count,
                               const PIXELFORMATDESCRIPTOR &request);

#endif
