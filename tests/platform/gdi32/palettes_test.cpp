// Palette rules beside those the palette script compares with real GDI (see
// tests/differential): counts and ranges at their edges, on both builds, and
// the realisation rules where Wine departs from the documented GDI the model
// follows (known_differences.txt), on the portable build. Realisation needs a
// palette device: the palette step of scripts/test.sh runs this on an 8-bit
// display.
#include <stdio.h>

#include <algorithm>
#include <string>

#include "tests/platform/window_fixture.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY> &entries)
{
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto *palette = reinterpret_cast<LOGPALETTE *>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), palette->palPalEntry);
    return platform.CreatePalette(palette);
}

// The stock palette holds the 20 static colours, in this order.
TEST(Palettes, TheStockPaletteHoldsTheStaticColoursAndRangesStayWithinAPalette)
{
    PALETTEENTRY stock[20];
    ASSERT_EQ(platform.GetPaletteEntries(static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE)), 0, 20, stock),
              20u);
    std::string colours;
    for (const PALETTEENTRY &entry : stock) {
        char one[8];
        snprintf(one, sizeof one, "%02x%02x%02x ", entry.peRed, entry.peGreen, entry.peBlue);
        colours += one;
    }
    EXPECT_EQ(colours, "000000 800000 008000 808000 000080 800080 008080 c0c0c0 c0dcc0 a6caf0 "
                       "fffbf0 a0a0a4 808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff ");

    HPALETTE largest = MakePalette(std::vector<PALETTEENTRY>(0xFFFF));
    EXPECT_EQ(platform.GetPaletteEntries(largest, 0, 0, nullptr), 0xFFFFu);
    PALETTEENTRY entries[2] = {};
    EXPECT_EQ(platform.GetPaletteEntries(largest, 3, 0, entries), 0xFFFFu); // a count of 0 asks the size
    EXPECT_EQ(platform.SetPaletteEntries(largest, 0xFFFFFFFFu, 2, entries), 0u);
    EXPECT_EQ(platform.GetPaletteEntries(largest, 0xFFFFFFFFu, 2, entries), 0u);
    platform.DeleteObject(largest);
}

using PaletteTest = WindowTest;

// The colours in these slots of the system palette, as "rrggbb ...".
std::string Slots(HDC dc, std::initializer_list<UINT> slots)
{
    std::string text;
    for (UINT slot : slots) {
        PALETTEENTRY entry{};
        platform.GetSystemPaletteEntries(dc, slot, 1, &entry);
        char one[8];
        snprintf(one, sizeof one, "%02x%02x%02x", entry.peRed, entry.peGreen, entry.peBlue);
        text += (text.empty() ? "" : " ") + std::string(one);
    }
    return text;
}

// RealizePalette counts the system-palette slots it changed; a plain entry
// may not share another palette's PC_RESERVED slot; SYSPAL_NOSTATIC keeps
// black and white static, SYSPAL_NOSTATIC256 nothing. One sequence, since
// every realisation starts from what the last one left.
TEST_F(PaletteTest, RealisationFollowsTheDocumentedRules)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine departs from the documented GDI here; the palette script compares the rest";
#endif
    HDC dc = platform.GetDC(Open(320, 200, kWindowedStyle, true));
    if (!(platform.GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE))
        GTEST_SKIP() << "not a palette device (run on an 8-bit display)";
    std::vector<HPALETTE> made;
    const auto realize = [&](const std::vector<PALETTEENTRY> &entries, BOOL background) {
        made.push_back(MakePalette(entries));
        platform.SelectPalette(dc, made.back(), background);
        return platform.RealizePalette(dc);
    };
    std::vector<PALETTEENTRY> ramp(256);
    for (int i = 0; i < 256; ++i)
        ramp[i] = {static_cast<BYTE>(i), 7, static_cast<BYTE>(255 - i), PC_NOCOLLAPSE};
    EXPECT_EQ(realize(ramp, FALSE), 236u); // the free slots, not the 256 entries
    // Red is a static colour; the explicit entry takes no slot.
    EXPECT_EQ(realize({{40, 50, 60, PC_RESERVED}, {255, 0, 0, 0}, {1, 2, 3, PC_EXPLICIT}, {0, 7, 255, 0}}, FALSE), 2u);
    EXPECT_EQ(realize({{40, 50, 60, 0}, {99, 98, 97, PC_NOCOLLAPSE}}, TRUE), 2u);
    EXPECT_EQ(Slots(dc, {10, 11, 12, 13}), "28323c 0007ff 28323c 636261");

    const std::pair<UINT, const char *> uses[] = {
        {SYSPAL_NOSTATIC, "000000 0007ff 0907f6 f4070b fd0702 ffffff"},
        {SYSPAL_NOSTATIC256, "0007ff 0107fe 0a07f5 f5070a fe0701 ff0700"},
        {SYSPAL_STATIC, "000000 800000 0007ff eb0714 00ffff ffffff"}};
    for (const auto &[use, expected] : uses) {
        SCOPED_TRACE(use);
        platform.SetSystemPaletteUse(dc, use);
        realize(ramp, FALSE);
        EXPECT_EQ(Slots(dc, {0, 1, 10, 245, 254, 255}), expected);
    }
    platform.SelectPalette(dc, static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE)), FALSE);
    for (HPALETTE palette : made)
        platform.DeleteObject(palette);
}

} // namespace
