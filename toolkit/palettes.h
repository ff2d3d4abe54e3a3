// The toolkit's one logical palette: an RGB palette following an RGBA
// format's bit fields, or a colour-index palette the colour-map operations
// fill, and its realisation.
#ifndef TOOLKIT_PALETTES_H
#define TOOLKIT_PALETTES_H

#include <stdint.h>

#include "platform/win32_types.h"

// Largest palette a LOGPALETTE can describe: palNumEntries is 16 bits.
constexpr uint32_t kMaxPaletteEntries = 0xFFFF;

// One component of entry index in a field of bits at shift, as 8 bits.
uint8_t ExpandComponent(int32_t index, int bits, int shift);

// Fills count entries after the format's fields; null entries give null.
PALETTEENTRY *BuildRgbEntries(const PIXELFORMATDESCRIPTOR &format, PALETTEENTRY *entries, uint32_t count);

// With a 256-entry palette coming, clears the system palette to black first.
void ClearSystemPalette(HDC dc, uint32_t count);

// Make the palette once, for an RGBA format that needs one or a
// colour-index format; either returns the palette already made.
HPALETTE EnsureRgbPalette(HDC dc);
HPALETTE EnsureIndexPalette(HDC dc);

// Entries changed in the system palette, or -1.
int32_t RealizeToolkitPalette(HDC dc, HPALETTE palette, bool background);

// The number of the format set on dc with its description, or 0 after
// reporting why there is none.
int DescribeCurrentFormat(HDC dc, PIXELFORMATDESCRIPTOR *out);

// The number of entries of a palette, 0 for none.
uint32_t PaletteSize(HPALETTE palette);

#endif
