// The RGB and colour-index palettes, their realisation and the colour maps.
#include <math.h>

#include "tests/toolkit/palette_fixture.h"
#include "palettes.h"
#include "system_colours.h"
#include "toolkit/tk.h"

namespace {

using Palettes = ScriptedWindowTest;

TEST_F(Palettes, AThreeThreeTwoPaletteMakesRoomForTheStaticColoursOrTakesThem)
{
    UseFormat(ThreeThreeTwo());
    ASSERT_NE(EnsureRgbPalette(toolkitState.deviceContext), nullptr);
    EXPECT_EQ(Made()[100], (PALETTEENTRY{171, 171, 116, PC_NOCOLLAPSE}));
    EXPECT_EQ(Made()[173], (PALETTEENTRY{192, 192, 192, 0})); // a static colour's slot
    // The system palette is cleared to black first, then the palette realised.
    EXPECT_EQ(callLog, (std::vector<std::string>{"DescribePixelFormat", "CreatePalette", "CreatePalette",
                                                 "SelectPalette", "RealizePalette", "SelectPalette", "DeleteObject",
                                                 "SelectPalette", "RealizePalette"}));
    EXPECT_EQ(gdi.palettes[2][9], (PALETTEENTRY{0, 0, 0, PC_RESERVED | PC_NOCOLLAPSE}));
    EXPECT_EQ(gdi.largestBlock, 4u + 256 * 4);
    EXPECT_EQ(gdi.allocFlags, UINT(LMEM_FIXED | LMEM_ZEROINIT)); // fixed blocks, the cleared one zeroed
    EXPECT_EQ(EnsureIndexPalette(toolkitState.deviceContext), toolkitState.palette); // made once, either form

    // Without a takeover even a background realisation selects in front.
    callLog.clear();
    RealizeToolkitPalette(nullptr, gdi.Palette(0), true);
    EXPECT_EQ(callLog, (std::vector<std::string>{"SelectPalette", "RealizePalette"}));

    // Taking them leaves only black and white collapsible.
    UseFormat(ThreeThreeTwo());
    toolkitState.modeFlags = TKMODE_TAKE_STATIC_COLORS;
    ASSERT_NE(EnsureRgbPalette(toolkitState.deviceContext), nullptr);
    EXPECT_EQ(Made()[0].peFlags, 0);
    EXPECT_EQ(Made()[173], (PALETTEENTRY{200, 200, 191, PC_NOCOLLAPSE})); // no static colour placed
    EXPECT_EQ(Made()[255].peFlags, 0);
    EXPECT_EQ(toolkitState.staticSaved, 1); // realised in front: colours taken
}

TEST_F(Palettes, OnlyAReadableFormatThatNeedsOneGetsAPaletteOfASizeThatFits)
{
    // Only the 4-bit one: palNumEntries cannot count 2^16 entries; 2^255 cannot be allocated.
    for (const PIXELFORMATDESCRIPTOR &format :
         {Format(PFD_TYPE_RGBA, 24), Format(PFD_TYPE_RGBA, 4, PFD_NEED_PALETTE),
          Format(PFD_TYPE_RGBA, 16, PFD_NEED_PALETTE), Format(PFD_TYPE_RGBA, 255, PFD_NEED_PALETTE)}) {
        SCOPED_TRACE(int(format.cColorBits));
        const bool made = format.cColorBits == 4;
        gdi.largestBlock = 0;
        UseFormat(format);
        EXPECT_EQ(EnsureRgbPalette(toolkitState.deviceContext) != nullptr, made);
        EXPECT_LE(gdi.largestBlock, 4u + 256 * 4);
        EXPECT_EQ(tkCountMapEntries(), made ? 16 : 0);
    }
    PIXELFORMATDESCRIPTOR d;
    gdi.setFormat = 0;
    EXPECT_EQ(DescribeCurrentFormat(reinterpret_cast<HDC>(0xAB), &d), 0);
    gdi.setFormat = 3;
    EXPECT_EQ(DescribeCurrentFormat(nullptr, &d), 0);
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[0].text, "Could not get pixel format for Dc 0x000000AB\n");
    EXPECT_EQ(messageBoxes[1].text, "Could not get a description of pixel format 3\n");
}

std::vector<int> Reds(const std::vector<PALETTEENTRY> &entries)
{
    std::vector<int> reds;
    for (const PALETTEENTRY &entry : entries)
        reds.push_back(entry.peRed);
    return reds;
}

TEST_F(Palettes, ColourIndexMapsStartFromTheDefaultPaletteAndTakeRamps)
{
    UseFormat(Format(PFD_TYPE_COLORINDEX, 4));
    EXPECT_EQ(tkCountMapEntries(), 16);
    EXPECT_EQ(Made()[13], (PALETTEENTRY{255, 0, 0, 0}));
    tkStoreGreyRamp();
    EXPECT_EQ(Reds(Made()), (std::vector<int>{0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170, 187, 204, 221, 238, 255}));
    UseFormat(Format(PFD_TYPE_COLORINDEX, 3));
    tkStoreGreyRamp();
    EXPECT_EQ(Made()[2], (PALETTEENTRY{73, 73, 73, 0})); // rounded to the nearest grey: 72.9 is 73

    UseFormat(Format(PFD_TYPE_COLORINDEX, 8));
    tkStoreFogRamps(3, 5); // 32 ramps of 8: ramp k starts at 8k and climbs by 32 up to white
    EXPECT_EQ(Made()[15], (PALETTEENTRY{232, 232, 232, 0}));
    EXPECT_EQ(Made()[255], (PALETTEENTRY{255, 255, 255, 0})); // reserved only while the static colours are taken
    tkStoreFogRamps(4, 4); // 16 ramps of 16: ramp 1 starts at 16 and passes white
    EXPECT_EQ(std::make_pair(Made()[16].peRed, Made()[31].peRed), std::make_pair(BYTE(16), BYTE(255)));
    // Counts whose powers overflow write nothing past the map.
    for (auto bits : {std::pair<int, int>{40, 3}, {3, 40}, {-1, -1}, {31, 31}})
        tkStoreFogRamps(bits.first, bits.second);
    EXPECT_EQ(Made().size(), 256u);
    EXPECT_LE(gdi.largestBlock, 4u + 256 * 4);

    // The layout fills the map after the format's fields (none here: grey
    // by index) and is realised at once.
    gdi.posted.clear();
    callLog.clear();
    tkStoreRgbLayout(7, 9);
    EXPECT_EQ(Made()[200], (PALETTEENTRY{200, 200, 200, PC_NOCOLLAPSE}));
    EXPECT_EQ(callLog, (std::vector<std::string>{"DescribePixelFormat", "SelectPalette", "RealizePalette"}));
    EXPECT_TRUE(gdi.posted.empty());
    EXPECT_EQ(gdi.versions, std::vector<WORD>(gdi.versions.size(), 0x300));
}

TEST_F(Palettes, IndexColoursWrapRespectTheTakeoverAndQueueOneRealisation)
{
    UseFormat(Format(PFD_TYPE_COLORINDEX, 8, PFD_NEED_SYSTEM_PALETTE));
    ASSERT_EQ(tkCountMapEntries(), 256);
    // Black and white stay the system's own; the rest may not collapse onto them.
    EXPECT_EQ(std::vector<PALETTEENTRY>({Made()[0], Made()[254], Made()[255]}),
              std::vector<PALETTEENTRY>({{0, 0, 0, 0}, {0, 0, 0, PC_NOCOLLAPSE}, {255, 255, 255, 0}}));
    gdi.posted.clear();
    tkStoreIndexColor(5, 1.0f, 0.5f, 0.0f);
    tkStoreIndexColor(10, 1.0f, 1.0f, 1.0f);
    tkStoreIndexColor(11, 2.0f, -1.0f, NAN);
    tkStoreIndexColor(12, 1e30f, 0.0f, 0.0f);
    EXPECT_EQ(Made()[5], (PALETTEENTRY{255, 128, 0, PC_NOCOLLAPSE}));
    EXPECT_EQ(Made()[10], (PALETTEENTRY{255, 255, 255, PC_NOCOLLAPSE | PC_RESERVED}));
    EXPECT_EQ(Made()[11], (PALETTEENTRY{254, 2, 0, PC_NOCOLLAPSE}));
    EXPECT_EQ(gdi.Pending(kRealizePaletteRequest), 1);

    const std::vector<PALETTEENTRY> before = Made();
    gdi.posted.clear();
    for (int index : {0, 255, 256, -1})
        tkStoreIndexColor(index, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ(Made(), before);
    EXPECT_EQ(gdi.Pending(kRealizePaletteRequest), 0);

    gdi.unrealizeFails = true; // nothing is selected then
    callLog.clear();
    EXPECT_EQ(RealizeToolkitPalette(toolkitState.deviceContext, toolkitState.palette, false), -1);
    EXPECT_EQ(callLog, std::vector<std::string>{"UnrealizeObject"});
}

} // namespace
