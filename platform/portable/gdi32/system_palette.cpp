// The system palette, as the Windows palette manager documents it: 256 slots,
// the static colours at both ends (20, 2 or none after SetSystemPaletteUse),
// and the rest handed out by realisation. A foreground realisation may take
// every non-static slot; a background one only those still free. Entries
// with PC_RESERVED or PC_NOCOLLAPSE take a slot of their own, others first
// look for the exact colour; PC_EXPLICIT entries name a slot and take none.
// What cannot be placed is matched to the nearest colour when drawn, which
// changes no slot. A realisation first gives back what the same palette took
// before, so it maps the palette afresh every time and UnrealizeObject has
// nothing to do. A palette is the foreground palette when it was selected,
// not forced into the background, into the device context of the active
// window; any other is realised in the background. There is one desktop, so
// one system palette per process.
#include "gdi32/system_palette.h"

#include "gdi32/device_caps.h"
#include "gdi32/gdi_objects.h"

namespace {

HWND (*activeWindowQuery)() = nullptr;

enum class SlotUse : unsigned char {
    Static,
    Free,
    Shared,  // taken by a palette; other palettes may match its colour
    Reserved // taken for animation (PC_RESERVED): no one else matches it
};

struct Slot {
    PALETTEENTRY colour{};
    SlotUse use = SlotUse::Free;
    HPALETTE owner = nullptr;
};

struct SystemPalette {
    Slot slots[kSystemPaletteSize];
    UINT use = SYSPAL_STATIC;
};

bool SameColour(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// How many static colours each end of the system palette holds.
unsigned StaticsAtEachEnd(UINT use)
{
    switch (use) {
    case SYSPAL_STATIC: return kStaticColourCount / 2;
    case SYSPAL_NOSTATIC: return 1; // black and white stay
    default: return 0;
    }
}

// Puts the static colours of the current use in place; slots that stop
// being static become free and keep their colour until taken.
void PlaceStatics(SystemPalette &system)
{
    const unsigned ends = StaticsAtEachEnd(system.use);
    for (unsigned i = 0; i < kSystemPaletteSize; ++i) {
        Slot &slot = system.slots[i];
        const bool low = i < ends, high = i >= kSystemPaletteSize - ends;
        if (low || high) {
            slot.colour = kStaticColours[low ? i : kStaticColourCount - (kSystemPaletteSize - i)];
            slot.use = SlotUse::Static;
            slot.owner = nullptr;
        } else if (slot.use == SlotUse::Static) {
            slot.use = SlotUse::Free;
        }
    }
}

// PortableGdiLock() held.
SystemPalette &System()
{
    static SystemPalette *system = [] {
        auto *made = new SystemPalette; // black and free but for the statics
        PlaceStatics(*made);
        return made;
    }();
    return *system;
}

// Places the palette's entries; returns how many slots changed colour.
UINT Realise(SystemPalette &system, HPALETTE palette, const std::vector<PALETTEENTRY> &entries, bool foreground)
{
    for (Slot &slot : system.slots)
        if (slot.use != SlotUse::Static && slot.use != SlotUse::Free && (foreground || slot.owner == palette))
            slot = {slot.colour, SlotUse::Free, nullptr};
    UINT changed = 0;
    for (const PALETTEENTRY &entry : entries) {
        if (entry.peFlags & PC_EXPLICIT)
            continue;
        const bool ownSlot = (entry.peFlags & (PC_RESERVED | PC_NOCOLLAPSE)) != 0;
        bool placed = false;
        for (unsigned i = 0; i < kSystemPaletteSize && !ownSlot && !placed; ++i) {
            const Slot &slot = system.slots[i];
            placed = (slot.use == SlotUse::Static || slot.use == SlotUse::Shared) && SameColour(slot.colour, entry);
        }
        for (unsigned i = 0; i < kSystemPaletteSize && !placed; ++i) {
            Slot &slot = system.slots[i];
            if (slot.use != SlotUse::Free)
                continue;
            changed += SameColour(slot.colour, entry) ? 0 : 1;
            slot.colour = {entry.peRed, entry.peGreen, entry.peBlue, 0};
            slot.use = (entry.peFlags & PC_RESERVED) ? SlotUse::Reserved : SlotUse::Shared;
            slot.owner = palette;
            placed = true;
        }
    }
    return changed;
}

HPALETTE WINAPI PortableSelectPalette(HDC dc, HPALETTE palette, BOOL background)
{
    const HWND active = activeWindowQuery ? activeWindowQuery() : nullptr;
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    PortableDeviceContext *context = PortableFindDeviceContext(dc);
    if (!context || !PortableFindPalette(palette))
        return nullptr;
    const HGDIOBJ previous = context->palette;
    context->palette = palette;
    context->paletteBackground = background != FALSE || !context->window || context->window != active;
    return static_cast<HPALETTE>(previous);
}

// The stock palette holds only static colours and never takes slots from
// the foreground palette, so it is always realised in the background.
UINT WINAPI PortableRealizePalette(HDC dc)
{
    const bool paletteDevice = PortableIsPaletteDevice();
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const PortableDeviceContext *context = PortableFindDeviceContext(dc);
    const PortablePalette *palette = context ? PortableFindPalette(context->palette) : nullptr;
    if (!palette)
        return GDI_ERROR;
    if (!paletteDevice)
        return 0;
    const bool foreground = !context->paletteBackground && !palette->stock;
    return Realise(System(), static_cast<HPALETTE>(context->palette), palette->entries, foreground);
}

// Only a palette device has static colours to give up.
UINT WINAPI PortableSetSystemPaletteUse(HDC dc, UINT use)
{
    const bool paletteDevice = PortableIsPaletteDevice();
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const bool known = use == SYSPAL_STATIC || use == SYSPAL_NOSTATIC || use == SYSPAL_NOSTATIC256;
    if (!PortableFindDeviceContext(dc) || !paletteDevice || !known)
        return SYSPAL_ERROR;
    SystemPalette &system = System();
    const UINT previous = system.use;
    system.use = use;
    PlaceStatics(system);
    return previous;
}

UINT WINAPI PortableGetSystemPaletteUse(HDC dc)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    return PortableFindDeviceContext(dc) ? System().use : SYSPAL_ERROR;
}

// Without a buffer, the size of the system palette.
UINT WINAPI PortableGetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries)
{
    const bool paletteDevice = PortableIsPaletteDevice();
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    if (!PortableFindDeviceContext(dc) || !paletteDevice)
        return 0;
    if (!entries)
        return kSystemPaletteSize;
    UINT n = 0;
    for (; start < kSystemPaletteSize && n < count && n < kSystemPaletteSize - start; ++n)
        entries[n] = System().slots[start + n].colour;
    return n;
}

} // namespace

void PortableOnActiveWindowQuery(HWND (*activeWindow)())
{
    activeWindowQuery = activeWindow;
}

void PortableFillSystemPalette(PlatformTable *t)
{
    t->SelectPalette = PortableSelectPalette;
    t->RealizePalette = PortableRealizePalette;
    t->SetSystemPaletteUse = PortableSetSystemPaletteUse;
    t->GetSystemPaletteUse = PortableGetSystemPaletteUse;
    t->GetSystemPaletteEntries = PortableGetSystemPaletteEntries;
}
