// Making and realising the toolkit palette. A palette takes over the static
// colours when the format needs the system palette or the program asks for it.
#include "palettes.h"

#include <stddef.h>

#include "common/error_report.h"
#include "local_blocks.h"
#include "platform/platform.h"
#include "static_colour_slots.h"
#include "system_colours.h"
#include "toolkit_state.h"

namespace {

const uint8_t oneBitLevels[2] = {0, 255};
const uint8_t twoBitLevels[4] = {0, 116, 191, 255};
const uint8_t threeBitLevels[8] = {0, 63, 104, 139, 171, 200, 229, 255};

constexpr WORD kPaletteVersion = 0x300;
constexpr uint32_t kStaticPaletteSize = 256;

size_t PaletteBlockBytes(uint32_t count)
{
    return offsetof(LOGPALETTE, palPalEntry) + size_t(count) * sizeof(PALETTEENTRY);
}

void DecideStaticTakeover(const PIXELFORMATDESCRIPTOR &format)
{
    toolkitState.staticTakeover =
        (format.dwFlags & PFD_NEED_SYSTEM_PALETTE) || (toolkitState.modeFlags & TKMODE_TAKE_STATIC_COLORS) ? 1 : 0;
}

bool IsThreeThreeTwo(const PIXELFORMATDESCRIPTOR &format)
{
    return format.cRedBits == 3 && format.cRedShift == 0 && format.cGreenBits == 3 && format.cGreenShift == 3 &&
           format.cBlueBits == 2 && format.cBlueShift == 6;
}

// 2^bits entries, or 0 when a LOGPALETTE cannot hold that many.
uint32_t EntriesForBits(unsigned bits)
{
    return bits < 16 ? uint32_t(1) << bits : 0;
}

LOGPALETTE *NewPaletteBlock(uint32_t count, bool zeroed)
{
    void *block = zeroed ? AllocZeroedBlock(PaletteBlockBytes(count)) : AllocBlock(PaletteBlockBytes(count));
    LOGPALETTE *header = static_cast<LOGPALETTE *>(block);
    if (header) {
        header->palVersion = kPaletteVersion;
        header->palNumEntries = WORD(count);
    }
    return header;
}

HPALETTE MakePalette(LOGPALETTE *block)
{
    HPALETTE made = platform.CreatePalette(block);
    FreeBlock(block);
    return made;
}

} // namespace

uint8_t ExpandComponent(int32_t index, int bits, int shift)
{
    // A shift past the index's width leaves nothing of it.
    const uint32_t v = shift < 32 ? uint32_t(index) >> shift : 0;
    switch (bits) {
    case 1: return oneBitLevels[v & 1];
    case 2: return twoBitLevels[v & 3];
    case 3: return threeBitLevels[v & 7];
    default: return uint8_t(v);
    }
}

PALETTEENTRY *BuildRgbEntries(const PIXELFORMATDESCRIPTOR &format, PALETTEENTRY *entries, uint32_t count)
{
    if (!entries)
        return nullptr;
    for (uint32_t i = 0; i < count; ++i) {
        entries[i].peRed = ExpandComponent(int32_t(i), format.cRedBits, format.cRedShift);
        entries[i].peGreen = ExpandComponent(int32_t(i), format.cGreenBits, format.cGreenShift);
        entries[i].peBlue = ExpandComponent(int32_t(i), format.cBlueBits, format.cBlueShift);
        entries[i].peFlags = PC_NOCOLLAPSE;
    }
    if (count != kStaticPaletteSize)
        return entries;
    if (toolkitState.staticTakeover) {
        entries[0].peFlags = 0;
        entries[255].peFlags = 0;
    } else if (IsThreeThreeTwo(format)) {
        PlaceStaticColors(entries);
        for (int k = 0; k < kStaticColourCount; ++k)
            entries[staticSlots[k]] = staticColors[k];
    }
    return entries;
}

void ClearSystemPalette(HDC dc, uint32_t count)
{
    if (count != kStaticPaletteSize)
        return;
    LOGPALETTE *block = NewPaletteBlock(count, true);
    if (!block)
        return;
    for (uint32_t i = 0; i < count; ++i)
        block->palPalEntry[i].peFlags = PC_RESERVED | PC_NOCOLLAPSE;
    HPALETTE black = MakePalette(block);
    HPALETTE previous = platform.SelectPalette(dc, black, FALSE);
    platform.RealizePalette(dc);
    platform.SelectPalette(dc, previous, FALSE);
    platform.DeleteObject(black);
}

HPALETTE EnsureRgbPalette(HDC dc)
{
    if (toolkitState.palette)
        return toolkitState.palette;
    PIXELFORMATDESCRIPTOR format;
    if (!DescribeCurrentFormat(dc, &format))
        return toolkitState.palette;
    if (format.iPixelType != PFD_TYPE_RGBA || !(format.dwFlags & PFD_NEED_PALETTE))
        return nullptr;
    DecideStaticTakeover(format);
    const uint32_t count = EntriesForBits(format.cColorBits);
    LOGPALETTE *block = count ? NewPaletteBlock(count, false) : nullptr;
    if (!block)
        return nullptr;
    BuildRgbEntries(format, block->palPalEntry, count);
    toolkitState.palette = MakePalette(block);
    if (toolkitState.windowActive) // behind another program's window the system palette is not ours to clear
        ClearSystemPalette(dc, count);
    RealizeToolkitPalette(dc, toolkitState.palette, false);
    return toolkitState.palette;
}

HPALETTE EnsureIndexPalette(HDC dc)
{
    if (!dc || toolkitState.palette)
        return toolkitState.palette;
    PIXELFORMATDESCRIPTOR format;
    if (!DescribeCurrentFormat(dc, &format) || format.iPixelType != PFD_TYPE_COLORINDEX)
        return toolkitState.palette;
    DecideStaticTakeover(format);
    const uint32_t count = format.cColorBits >= 8 ? kStaticPaletteSize : EntriesForBits(format.cColorBits);
    LOGPALETTE *block = NewPaletteBlock(count, true);
    if (!block)
        return nullptr;
    const HPALETTE stock = static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE));
    const uint32_t stockSize = PaletteSize(stock);
    platform.GetPaletteEntries(stock, 0, stockSize < count ? stockSize : count, block->palPalEntry);
    if (toolkitState.staticTakeover && count == kStaticPaletteSize) {
        block->palPalEntry[0] = {0, 0, 0, 0};
        block->palPalEntry[255] = {255, 255, 255, 0};
        for (uint32_t i = 1; i < 255; ++i)
            block->palPalEntry[i].peFlags = PC_NOCOLLAPSE;
    }
    toolkitState.palette = MakePalette(block);
    RealizeToolkitPalette(dc, toolkitState.palette, false);
    return toolkitState.palette;
}

int32_t RealizeToolkitPalette(HDC dc, HPALETTE palette, bool background)
{
    // Taking the static colours while another window is active would leave
    // the desktop black and white under it: an inactive window realises
    // behind, and takes them again when it is activated.
    background = background || !toolkitState.windowActive;
    HPALETTE selected;
    if (toolkitState.staticTakeover) {
        if (!background) {
            if (!TakeStaticColors(dc))
                return -1;
        } else {
            ReturnStaticColors(dc);
        }
        if (!platform.UnrealizeObject(palette))
            return -1;
        selected = platform.SelectPalette(dc, palette, background ? TRUE : FALSE);
    } else {
        selected = platform.SelectPalette(dc, palette, FALSE);
    }
    if (!selected)
        return -1;
    return int32_t(platform.RealizePalette(dc));
}

int DescribeCurrentFormat(HDC dc, PIXELFORMATDESCRIPTOR *out)
{
    const int number = platform.GetPixelFormat(dc);
    if (number <= 0) {
        ReportError(TK_ERROR_PIXEL_FORMAT, "Could not get pixel format for Dc 0x%08lX\n", HandleNumber(dc));
        return 0;
    }
    if (platform.DescribePixelFormat(dc, number, sizeof(PIXELFORMATDESCRIPTOR), out) > 0)
        return number;
    ReportError(TK_ERROR_PIXEL_FORMAT, "Could not get a description of pixel format %d\n", number);
    return 0;
}

uint32_t PaletteSize(HPALETTE palette)
{
    return palette ? platform.GetPaletteEntries(palette, 0, 0, nullptr) : 0;
}
