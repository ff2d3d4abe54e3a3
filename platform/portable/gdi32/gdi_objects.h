// The one registry of GDI objects: every device context, bitmap, brush, pen
// and palette handle the portable build gives out is an entry here that knows
// its kind, so SelectObject and DeleteObject can refuse what does not fit.
// Everything below runs with PortableGdiLock() held unless it says otherwise.
#ifndef PLATFORM_PORTABLE_GDI_OBJECTS_H
#define PLATFORM_PORTABLE_GDI_OBJECTS_H

#include <memory>
#include <mutex>
#include <vector>

#include "platform/platform.h"

enum class PortableGdiKind { WindowDC, MemoryDC, Bitmap, Brush, Pen, Palette };

struct PortableGdiObject {
    PortableGdiObject(PortableGdiKind what, bool isStock) : kind(what), stock(isStock) {}
    virtual ~PortableGdiObject() = default;
    const PortableGdiKind kind;
    const bool stock;       // never deleted; DeleteObject succeeds and does nothing
    HDC selectedInto = nullptr; // a bitmap lives in one memory context at a time
};

// A window's or a memory device context, with what is selected into it.
struct PortableDeviceContext : PortableGdiObject {
    PortableDeviceContext(PortableGdiKind what, HWND owner);
    HWND window; // null for a memory context
    HGDIOBJ bitmap;
    HGDIOBJ brush;
    HGDIOBJ pen;
    HGDIOBJ palette;                // DEFAULT_PALETTE until SelectPalette
    bool paletteBackground = false; // selected with bForceBackground
};

// A logical palette.
struct PortablePalette : PortableGdiObject {
    PortablePalette(std::vector<PALETTEENTRY> colours, bool isStock)
        : PortableGdiObject(PortableGdiKind::Palette, isStock), entries(std::move(colours))
    {
    }
    std::vector<PALETTEENTRY> entries;
};

// The twenty static colours, which the stock DEFAULT_PALETTE holds and the
// system palette keeps, in DEFAULT_PALETTE order: the first ten sit at the
// bottom of the system palette, the last ten at the top.
constexpr unsigned kStaticColourCount = 20;
extern const PALETTEENTRY kStaticColours[kStaticColourCount];

std::mutex &PortableGdiLock();

// Registers the object under a new number; null when out of memory.
HGDIOBJ PortableAddGdiObject(std::unique_ptr<PortableGdiObject> object);

// The live object of that kind behind handle, or null.
PortableGdiObject *PortableFindGdiObject(HGDIOBJ handle, PortableGdiKind kind);
PortableDeviceContext *PortableFindDeviceContext(HDC handle); // window or memory context
PortablePalette *PortableFindPalette(HGDIOBJ handle);

// Unregisters and deletes a non-stock object.
void PortableRemoveGdiObject(HGDIOBJ handle);

// Deletes a memory context and lets its bitmap go; false for any other handle.
bool PortableDeleteMemoryContext(HDC handle);

// The 1 x 1 bitmap a new memory context holds, as Windows gives it one.
HGDIOBJ PortableStockBitmap();

// Any thread, the lock not held: the window behind a window device context, or null.
HWND PortableWindowOfDC(HDC dc);

void PortableFillGdiObjects(PlatformTable *t);

#endif
