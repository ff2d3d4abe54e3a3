// Logical palettes: the GDI objects of kind Palette, and the twenty static
// colours that the stock DEFAULT_PALETTE holds and the system palette keeps.
#ifndef PLATFORM_PORTABLE_PALETTES_H
#define PLATFORM_PORTABLE_PALETTES_H

#include <memory>
#include <vector>

#include "gdi32/gdi_objects.h"

constexpr unsigned kStaticColourCount = 20;

// In DEFAULT_PALETTE order: the first ten sit at the bottom of the system
// palette, the last ten at the top.
extern const PALETTEENTRY kStaticColours[kStaticColourCount];

struct PortablePalette : PortableGdiObject {
    PortablePalette(std::vector<PALETTEENTRY> colours, bool isStock)
        : PortableGdiObject(PortableGdiKind::Palette, isStock), entries(std::move(colours))
    {
    }
    std::vector<PALETTEENTRY> entries;
};

// DEFAULT_PALETTE, for the object registry to hold as a stock object.
std::unique_ptr<PortableGdiObject> PortableMakeStockPalette();

// The live palette behind handle, or null. PortableGdiLock() held.
PortablePalette *PortableFindPalette(HGDIOBJ handle);

#endif
