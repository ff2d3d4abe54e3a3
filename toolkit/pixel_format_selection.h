// Turning the display-mode flags into a pixel format by the policy in
// formatPolicy, and setting it.
#ifndef TOOLKIT_PIXEL_FORMAT_SELECTION_H
#define TOOLKIT_PIXEL_FORMAT_SELECTION_H

#include <stdint.h>

#include "platform/win32_types.h"

// True when a format was chosen and set; reports its failure otherwise.
bool ApplyPixelFormat(HDC dc, uint32_t flags);

// Each fills out and returns a format number, 0 for none.
int RequestClosestFormat(HDC dc, uint32_t flags, PIXELFORMATDESCRIPTOR *out);
int SearchExactFormat(HDC dc, uint32_t flags, PIXELFORMATDESCRIPTOR *out);
bool CheckFormatId(HDC dc, int id, PIXELFORMATDESCRIPTOR *out);

#endif
