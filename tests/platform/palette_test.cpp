// Palette rules beside those the palette script compares with real GDI (see
// tests/differential): exact results, where Wine departs from the documented
// GDI the model follows (checked on the portable build only), and edges the
// script does not reach. Realisation needs a palette device: the palette step
// of scripts/test.sh runs this on an 8-bit display for both builds.
#include <string.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "tests/platform/window_fixture.h"

// Where gtest finds them for the type: compare and print an entry.
static bool operator==(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue && a.peFlags == b.peFlags;
}

static void PrintTo(const PALETTEENTRY &entry, std::ostream *out)
{
    *out << "(" << int(entry.peRed) << ", " << int(entry.peGreen) << ", " << int(entry.peBlue) << ", flags "
         << int(entry.peFlags) << ")";
}

namespace {

// Wine departs from the documented GDI in the realisation counts, in
// matching plain entries to PC_RESERVED slots, and in taking any block for a
// palette; the model follows the documentation (known_differences.txt).
#ifdef _WIN32
constexpr bool kDocumentedGdi = false;
#else
constexpr bool kDocumentedGdi = true;
#endif

HPALETTE MakePalette(const std::vector<PALETTEENTRY> &entries)
{
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto *palette = reinterpret_cast<LOGPALETTE *>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), palette->palPalEntry);
    return platform.CreatePalette(palette);
}


// The 20 static colours in DEFAULT_PALETTE order.
const PALETTEENTRY kStatics[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},   {128, 128, 0, 0}, {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};

TEST(Palettes, EntriesAreReadAndWrittenWithinThePalette)
{
    std::vector<PALETTEENTRY> colours(16);
    for (int i = 0; i < 16; ++i)
        colours[i] = {static_cast<BYTE>(i), 0, 0, 0};
    HPALETTE palette = MakePalette(colours);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(platform.GetPaletteEntries(palette, 0, 0, nullptr), 16u);

    const PALETTEENTRY written[4] = {{1, 2, 3, PC_NOCOLLAPSE}, {4, 5, 6, PC_RESERVED}, {7, 8, 9, 0}, {9, 9, 9, 0}};
    struct Case {
        UINT start, count, done;
    } cases[] = {{0, 4, 4}, {14, 4, 2}, {15, 1, 1}, {16, 1, 0}, {0xFFFFFFFFu, 2, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << " count " << c.count);
        EXPECT_EQ(platform.SetPaletteEntries(palette, c.start, c.count, written), c.done);
        PALETTEENTRY read[4];
        memset(read, 0xAB, sizeof read);
        EXPECT_EQ(platform.GetPaletteEntries(palette, c.start, c.count, read), c.done);
        for (UINT i = 0; i < c.done; ++i)
            EXPECT_TRUE(read[i] == written[i]) << "entry " << c.start + i;
    }
    PALETTEENTRY one;
    EXPECT_EQ(platform.SetPaletteEntries(palette, 3, 0, written), 0u);
    EXPECT_EQ(platform.GetPaletteEntries(palette, 3, 0, &one), 16u); // a count of 0 asks the size
    EXPECT_TRUE(platform.DeleteObject(palette));
    EXPECT_FALSE(platform.DeleteObject(palette));
    EXPECT_EQ(platform.GetPaletteEntries(palette, 0, 0, nullptr), 0u);
}

TEST(Palettes, CreationTakesAnyBlock)
{
    EXPECT_EQ(platform.CreatePalette(nullptr), nullptr);
    HPALETTE largest = MakePalette(std::vector<PALETTEENTRY>(0xFFFF));
    EXPECT_NE(largest, nullptr);
    EXPECT_EQ(platform.GetPaletteEntries(largest, 0, 0, nullptr), 0xFFFFu);
    platform.DeleteObject(largest);
    HPALETTE empty = MakePalette({});
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(platform.GetPaletteEntries(empty, 0, 0, nullptr), 0u);
    platform.DeleteObject(empty);
}

class PaletteTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        HWND window = Open(320, 200);
        ASSERT_NE(window, nullptr);
        platform.ShowWindow(window, SW_SHOW);
        platform.SetForegroundWindow(window);
        PumpFor(50);
        dc_ = platform.GetDC(window);
        ASSERT_NE(dc_, nullptr);
        stock_ = static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE));
        paletteDevice_ = (platform.GetDeviceCaps(dc_, RASTERCAPS) & RC_PALETTE) != 0;
    }

    UINT Realize(HPALETTE palette, BOOL background)
    {
        platform.SelectPalette(dc_, palette, background);
        return platform.RealizePalette(dc_);
    }

    std::vector<PALETTEENTRY> SystemPalette()
    {
        std::vector<PALETTEENTRY> entries(256);
        EXPECT_EQ(platform.GetSystemPaletteEntries(dc_, 0, 256, entries.data()), 256u);
        for (PALETTEENTRY &entry : entries)
            entry.peFlags = 0;
        return entries;
    }

    HDC dc_ = nullptr;
    HPALETTE stock_ = nullptr;
    bool paletteDevice_ = false;
};

// One sequence, since every realisation starts from what the last one left.
TEST_F(PaletteTest, RealisationPlacesEachEntryByItsFlags)
{
    if (!paletteDevice_)
        GTEST_SKIP() << "not a palette device (run on an 8-bit display)";
    std::vector<PALETTEENTRY> fill(236);
    for (int i = 0; i < 236; ++i)
        fill[i] = {static_cast<BYTE>(i + 1), 1, 2, PC_NOCOLLAPSE};
    HPALETTE filling = MakePalette(fill);
    const UINT filled = Realize(filling, FALSE);
    std::vector<PALETTEENTRY> system = SystemPalette();
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY expected = i < 10 ? kStatics[i] : i >= 246 ? kStatics[i - 236] : fill[i - 10];
        EXPECT_TRUE(system[i] == PALETTEENTRY({expected.peRed, expected.peGreen, expected.peBlue, 0})) << i;
    }
    if (kDocumentedGdi) {
        EXPECT_EQ(filled, 236u); // the free slots, not the 256 entries
    }

    // Foreground: plain entries share a colour that is there; the others take
    // a slot of their own from the bottom; an explicit entry takes none.
    const PALETTEENTRY red{255, 0, 0, 0}, x{10, 20, 30, 0}, reserved{40, 50, 60, PC_RESERVED},
        y{70, 80, 90, 0};
    HPALETTE front = MakePalette({red, x, x, {255, 0, 0, PC_NOCOLLAPSE}, {10, 20, 30, PC_NOCOLLAPSE}, reserved,
                                  {3, 0, 0, PC_EXPLICIT}, y});
    const UINT taken = Realize(front, FALSE);
    system = SystemPalette();
    const PALETTEENTRY expected[] = {{10, 20, 30, 0}, {255, 0, 0, 0}, {10, 20, 30, 0}, {40, 50, 60, 0},
                                     {70, 80, 90, 0}, {6, 1, 2, 0}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(system[10 + i], expected[i]) << "slot " << 10 + i;
    if (kDocumentedGdi) {
        EXPECT_EQ(taken, 5u);
    }

    // Background: a reserved colour is no one else's to match, so the plain
    // one like it takes the first free slot; so does a new colour.
    HPALETTE back = MakePalette({{40, 50, 60, 0}, x, {99, 98, 97, PC_NOCOLLAPSE}});
    const UINT added = Realize(back, TRUE);
    system = SystemPalette();
    EXPECT_EQ(system[10], PALETTEENTRY({10, 20, 30, 0}));
    EXPECT_EQ(system[17], PALETTEENTRY({8, 1, 2, 0}));
    if (kDocumentedGdi) {
        EXPECT_EQ(system[15], PALETTEENTRY({40, 50, 60, 0}));
        EXPECT_EQ(system[16], PALETTEENTRY({99, 98, 97, 0}));
        EXPECT_EQ(added, 2u);
    }
    EXPECT_EQ(platform.RealizePalette(dc_), 0u); // nothing moves the second time

    platform.SelectPalette(dc_, stock_, FALSE);
    for (HPALETTE palette : {filling, front, back})
        platform.DeleteObject(palette);
}

TEST_F(PaletteTest, StaticUseSwitchesAndReturnsThePreviousUse)
{
    if (!paletteDevice_)
        GTEST_SKIP() << "not a palette device (run on an 8-bit display)";
    std::vector<PALETTEENTRY> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = {static_cast<BYTE>(i), 7, static_cast<BYTE>(255 - i), PC_NOCOLLAPSE};
    HPALETTE palette = MakePalette(all);
    // Use, the previous use, and the first and last slot a foreground
    // palette then takes: black and white stay static without the others.
    const struct Step {
        UINT use, previous, firstFree, lastFree;
    } steps[] = {{SYSPAL_NOSTATIC, SYSPAL_STATIC, 1, 254},
                 {SYSPAL_NOSTATIC256, SYSPAL_NOSTATIC, 0, 255},
                 {SYSPAL_STATIC, SYSPAL_NOSTATIC256, 10, 245}};
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << "use " << step.use);
        EXPECT_EQ(platform.SetSystemPaletteUse(dc_, step.use), step.previous);
        EXPECT_EQ(platform.GetSystemPaletteUse(dc_), step.use);
        Realize(palette, FALSE);
        const std::vector<PALETTEENTRY> system = SystemPalette();
        if (kDocumentedGdi) { // Wine keeps the 20 statics whatever the use
            const PALETTEENTRY first = all[0], last = all[step.lastFree - step.firstFree];
            EXPECT_EQ(system[step.firstFree], PALETTEENTRY({first.peRed, first.peGreen, first.peBlue, 0}));
            EXPECT_EQ(system[step.lastFree], PALETTEENTRY({last.peRed, last.peGreen, last.peBlue, 0}));
            if (step.firstFree > 0) {
                EXPECT_EQ(system[0], kStatics[0]);
                EXPECT_EQ(system[255], kStatics[19]);
            }
        }
    }
    platform.SelectPalette(dc_, stock_, FALSE);
    platform.DeleteObject(palette);
    const std::vector<PALETTEENTRY> system = SystemPalette();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(system[i] == kStatics[i]) << i;
        EXPECT_TRUE(system[246 + i] == kStatics[10 + i]) << 246 + i;
    }
}

} // namespace
