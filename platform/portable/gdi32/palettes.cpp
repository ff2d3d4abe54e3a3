// Logical palettes: creating them, their entries, and UnrealizeObject.
#include <algorithm>
#include <new>

#include "gdi32/palettes.h"
#include "gdi32/gdi_objects.h"

namespace {

// How many of count entries from start fit in a palette of size entries.
UINT EntriesInRange(size_t size, UINT start, UINT count)
{
    return start >= size ? 0 : static_cast<UINT>(std::min<size_t>(count, size - start));
}

// Any version and any count, as GDI takes them: nothing says otherwise.
HPALETTE WINAPI PortableCreatePalette(const LOGPALETTE *block)
{
    if (!block)
        return nullptr;
    std::unique_ptr<PortablePalette> made;
    try {
        made = std::make_unique<PortablePalette>(
            std::vector<PALETTEENTRY>(block->palPalEntry, block->palPalEntry + block->palNumEntries), false);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    return static_cast<HPALETTE>(PortableAddGdiObject(std::move(made)));
}

// The stock palette cannot be changed.
UINT WINAPI PortableSetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY *entries)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    PortablePalette *found = PortableFindPalette(palette);
    if (!found || found->stock || !entries)
        return 0;
    const UINT n = EntriesInRange(found->entries.size(), start, count);
    if (n > 0) // a start past the end names no entry to begin at
        std::copy(entries, entries + n, found->entries.begin() + start);
    return n;
}

// Without a buffer or a count, the number of entries the palette has.
UINT WINAPI PortableGetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const PortablePalette *found = PortableFindPalette(palette);
    if (!found)
        return 0;
    if (!entries || count == 0)
        return static_cast<UINT>(found->entries.size());
    const UINT n = EntriesInRange(found->entries.size(), start, count);
    if (n > 0)
        std::copy_n(found->entries.begin() + start, n, entries);
    return n;
}

// Every realisation maps a palette afresh (see system_palette.cpp), so no
// object has anything to forget; only a handle that is none fails.
BOOL WINAPI PortableUnrealizeObject(HGDIOBJ handle)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    for (PortableGdiKind kind : {PortableGdiKind::Palette, PortableGdiKind::Bitmap, PortableGdiKind::Brush,
                                 PortableGdiKind::Pen})
        if (PortableFindGdiObject(handle, kind))
            return TRUE;
    return FALSE;
}

} // namespace

void PortableFillPalettes(PlatformTable *t)
{
    t->CreatePalette = PortableCreatePalette;
    t->SetPaletteEntries = PortableSetPaletteEntries;
    t->GetPaletteEntries = PortableGetPaletteEntries;
    t->UnrealizeObject = PortableUnrealizeObject;
}
