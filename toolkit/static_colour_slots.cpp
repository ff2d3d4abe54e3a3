// Where each of the 20 static colours goes in a 3-3-2 palette: first the
// entry of exactly its colour, else the nearest entry not yet taken. The
// entries' flag bytes mark what is taken while the placement runs.
#include "static_colour_slots.h"

#include "platform/platform.h"

namespace {

constexpr int kEntries = 256;
constexpr uint32_t kAboveAnyDistance = 0x30001; // 3 x 255^2 is 195075
constexpr BYTE kMarked = 1;

uint32_t SquaredDistance(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    const int red = a.peRed - b.peRed, green = a.peGreen - b.peGreen, blue = a.peBlue - b.peBlue;
    return uint32_t(red * red + green * green + blue * blue);
}

bool SameColour(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

} // namespace

PALETTEENTRY staticColors[kStaticColourCount];
uint32_t staticSlots[kStaticColourCount];

void PlaceStaticColors(PALETTEENTRY *entries)
{
    platform.GetPaletteEntries(static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE)), 0,
                               kStaticColourCount, staticColors);
    for (PALETTEENTRY &colour : staticColors)
        colour.peFlags = 0;
    for (int i = 0; i < kEntries; ++i)
        entries[i].peFlags = 0;

    // Taken entries are not skipped here: two equal static colours share one.
    for (int k = 0; k < kStaticColourCount; ++k) {
        for (int i = 0; i < kEntries; ++i) {
            if (SameColour(entries[i], staticColors[k])) {
                staticColors[k].peFlags = kMarked;
                entries[i].peFlags = kMarked;
                staticSlots[k] = uint32_t(i);
                break;
            }
        }
    }
    // Ties go to the lowest index; the first free entry always qualifies.
    for (int k = 0; k < kStaticColourCount; ++k) {
        if (staticColors[k].peFlags == kMarked)
            continue;
        uint32_t best = kAboveAnyDistance;
        int winner = -1;
        for (int i = 0; i < kEntries; ++i) {
            if (entries[i].peFlags == kMarked)
                continue;
            const uint32_t distance = SquaredDistance(entries[i], staticColors[k]);
            if (distance < best) {
                best = distance;
                winner = i;
            }
        }
        if (winner >= 0) {
            staticSlots[k] = uint32_t(winner);
            entries[winner].peFlags = kMarked;
        }
    }

    for (PALETTEENTRY &colour : staticColors)
        colour.peFlags = 0;
    for (int i = 0; i < kEntries; ++i)
        entries[i].peFlags = PC_NOCOLLAPSE;
}
