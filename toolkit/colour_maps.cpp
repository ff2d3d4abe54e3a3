// The colour-map operations of a colour-index window. Changes are realised
// later through one pending request, so any number of them before the event
// loop runs again costs one realisation.
#include <math.h>

#include "local_blocks.h"
#include "palettes.h"
#include "platform/platform.h"
#include "system_colours.h"
#include "toolkit_state.h"

namespace {

// 0.5 + 255 x component, truncated, low 8 bits: 2.0 wraps to 254. Values
// beyond what an int holds (or not numbers) wrap the same way instead of
// converting out of range.
uint8_t ComponentByte(float component)
{
    const double scaled = trunc(0.5 + 255 * component);
    if (!isfinite(scaled))
        return 0;
    return uint8_t(int(fmod(scaled, 256.0)) & 0xFF);
}

// While the static colours are taken, entries 0 and 255 stay the system's
// black and white; the others must not collapse onto them.
BYTE NoCollapseFlag(uint32_t index)
{
    return toolkitState.staticTakeover && index != 0 && index != 255 ? PC_NOCOLLAPSE : 0;
}

// The palette's entries as they stand, in a block the caller frees.
PALETTEENTRY *CurrentEntries(HPALETTE palette, uint32_t count)
{
    PALETTEENTRY *entries = static_cast<PALETTEENTRY *>(AllocBlock(count * sizeof(PALETTEENTRY)));
    if (entries)
        platform.GetPaletteEntries(palette, 0, count, entries);
    return entries;
}

void StoreAll(HPALETTE palette, PALETTEENTRY *entries, uint32_t count)
{
    platform.SetPaletteEntries(palette, 0, count, entries);
    FreeBlock(entries);
}

} // namespace

extern "C" {

void tkStoreIndexColor(int32_t index, float red, float green, float blue)
{
    HPALETTE palette = EnsureIndexPalette(toolkitState.deviceContext);
    if (!palette)
        return;
    if (toolkitState.staticTakeover && (index == 0 || index == 255))
        return;
    PALETTEENTRY entry{ComponentByte(red), ComponentByte(green), ComponentByte(blue), NoCollapseFlag(uint32_t(index))};
    if (entry.peFlags && entry.peRed == 255 && entry.peGreen == 255 && entry.peBlue == 255)
        entry.peFlags |= PC_RESERVED;
    // GDI refuses an index outside the palette; then there is nothing to realise.
    if (platform.SetPaletteEntries(palette, UINT(index), 1, &entry) == 0)
        return;
    QueuePaletteRealize();
}

void tkStoreFogRamps(int32_t levelBits, int32_t rampBits)
{
    HPALETTE palette = EnsureIndexPalette(toolkitState.deviceContext);
    if (!palette)
        return;
    const uint32_t count = PaletteSize(palette);
    PALETTEENTRY *entries = CurrentEntries(palette, count);
    if (!entries)
        return;
    // b ramps of a entries each; ramp k starts at grey k x a and climbs by b.
    // A map has at most 2^16 entries, so bit counts past 32 change nothing
    // and the arithmetic stays well inside 64 bits.
    const unsigned levelShift = levelBits < 0 || levelBits > 32 ? 32 : unsigned(levelBits);
    const unsigned rampShift = rampBits < 0 || rampBits > 32 ? 32 : unsigned(rampBits);
    const uint64_t perRamp = uint64_t(1) << levelShift;
    const uint64_t ramps = uint64_t(1) << rampShift;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t k = i >> levelShift;
        if (k >= ramps)
            break; // entries past the ramps keep their colours
        const uint64_t j = i & (perRamp - 1);
        const uint64_t grey64 = k * perRamp + j * ramps;
        const uint32_t grey = grey64 > 255 ? 255 : uint32_t(grey64);
        BYTE flags = NoCollapseFlag(uint32_t(i));
        if (flags && grey == 255)
            flags |= PC_RESERVED;
        entries[i] = {BYTE(grey), BYTE(grey), BYTE(grey), flags};
    }
    StoreAll(palette, entries, count);
    QueuePaletteRealize();
}

void tkStoreGreyRamp(void)
{
    HPALETTE palette = EnsureIndexPalette(toolkitState.deviceContext);
    if (!palette)
        return;
    const uint32_t count = PaletteSize(palette);
    PALETTEENTRY *entries = static_cast<PALETTEENTRY *>(AllocBlock(count * sizeof(PALETTEENTRY)));
    if (!entries)
        return;
    for (uint32_t i = 0; i < count; ++i) {
        // A one-entry map has no step: its only grey is black.
        const uint32_t grey = count > 1 ? uint32_t(0.5 + 255.0 * i / (count - 1)) : 0;
        entries[i] = {BYTE(grey), BYTE(grey), BYTE(grey), NoCollapseFlag(i)};
    }
    StoreAll(palette, entries, count);
    QueuePaletteRealize();
}

void tkStoreRgbLayout(int32_t, int32_t)
{
    HPALETTE palette = EnsureIndexPalette(toolkitState.deviceContext);
    if (!palette)
        return;
    PIXELFORMATDESCRIPTOR format;
    if (!DescribeCurrentFormat(toolkitState.deviceContext, &format))
        return;
    // 2^colour bits entries, but never more than the palette holds.
    const uint32_t size = PaletteSize(palette);
    const uint32_t count = format.cColorBits < 32 && (uint64_t(1) << format.cColorBits) < size
                               ? uint32_t(1) << format.cColorBits
                               : size;
    PALETTEENTRY *entries = static_cast<PALETTEENTRY *>(AllocBlock(count * sizeof(PALETTEENTRY)));
    if (!entries)
        return;
    BuildRgbEntries(format, entries, count);
    StoreAll(palette, entries, count);
    RealizeToolkitPalette(toolkitState.deviceContext, toolkitState.palette, false);
}

int32_t tkCountMapEntries(void)
{
    EnsureIndexPalette(toolkitState.deviceContext);
    return int32_t(PaletteSize(toolkitState.palette));
}

} // extern "C"
