// The user's scheme, the static-colour takeover and return, the placement.
#include <string>
#include <tuple>

#include "tests/toolkit/palette_fixture.h"
#include "palettes.h"
#include "static_colour_slots.h"
#include "system_colours.h"

namespace {

using SystemColours = ScriptedWindowTest;

TEST_F(SystemColours, SchemeValuesParseOnlyWhenWholeAndTextual)
{
    const COLORREF kept = 0x123456;
    // Why, the value's type (REG_NONE: no such value) and bytes, the colour read.
    const std::tuple<const char *, DWORD, std::string, COLORREF> cases[] = {
        {"white", REG_SZ, std::string("255 255 255", 12), 0xFFFFFF},
        {"low 8 bits", REG_SZ, std::string("256 1 2", 8), RGB(0, 1, 2)},
        {"not text", REG_DWORD, std::string("1 2 3", 6), kept},
        {"missing", REG_NONE, "", kept},
        {"two numbers", REG_SZ, std::string("9 9", 4), kept},
        {"too long", REG_SZ, std::string(65, '1'), kept},
        // Fills the buffer with no terminator: the parse must stop at its end.
        {"unterminated", REG_SZ, "7 8 " + std::string(60, '9'), RGB(7, 8, 255)},
    };
    for (const auto &[why, type, bytes, expected] : cases) {
        SCOPED_TRACE(why);
        gdi.registry.clear();
        if (type != REG_NONE)
            gdi.registry["Scrollbar"] = {type, bytes};
        COLORREF colours[2] = {kept, kept};
        EXPECT_TRUE(ReadSchemeColors(colours, 2));
        EXPECT_EQ(colours[0], expected);
        EXPECT_EQ(colours[1], kept);
    }
    gdi.registryOpens = false;
    COLORREF colour = kept;
    EXPECT_FALSE(ReadSchemeColors(&colour, 1));
    EXPECT_EQ(colour, kept);
}

TEST_F(SystemColours, TakeoverAndReturnSwitchColoursAndStaticUseInOrder)
{
    for (int i = 0; i < 25; ++i)
        gdi.sysColors[i] = RGB(i, i, i);
    gdi.registry["Scrollbar"] = {REG_SZ, std::string("1 2 3", 6)};
    toolkitState.sysColorCount = 21;

    ASSERT_TRUE(TakeStaticColors(nullptr));
    EXPECT_EQ(callLog, (std::vector<std::string>{"SetSystemPaletteUse nostatic", "SetSysColors",
                                                 "broadcast WM_SYSCOLORCHANGE"}));
    EXPECT_EQ(gdi.sysColors[COLOR_SCROLLBAR], PALETTERGB(255, 255, 255));
    EXPECT_EQ(gdi.sysColors[COLOR_BACKGROUND], PALETTERGB(0, 0, 0));
    EXPECT_EQ(gdi.sysColors[COLOR_BTNHIGHLIGHT], PALETTERGB(0, 0, 0));
    EXPECT_EQ(gdi.sysColors[COLOR_3DLIGHT], RGB(22, 22, 22)); // past the 21 rows in use

    callLog.clear();
    EXPECT_TRUE(TakeStaticColors(nullptr)); // held already: nothing to do
    EXPECT_TRUE(callLog.empty());

    ASSERT_TRUE(ReturnStaticColors(nullptr));
    EXPECT_EQ(callLog, (std::vector<std::string>{"RegCloseKey", "SetSysColors", "SetSystemPaletteUse static",
                                                 "broadcast WM_SYSCOLORCHANGE"}));
    EXPECT_EQ(gdi.sysColors[COLOR_SCROLLBAR], RGB(1, 2, 3)); // from the registry
    EXPECT_EQ(gdi.sysColors[COLOR_BTNHIGHLIGHT], RGB(20, 20, 20)); // as saved

    callLog.clear();
    EXPECT_FALSE(ReturnStaticColors(nullptr));
    EXPECT_TRUE(callLog.empty());

    // A refusal is retried through one queued request, but only where static
    // use can be had later: a device without a system palette never gives it.
    for (UINT use : {UINT(SYSPAL_NOSTATIC), UINT(SYSPAL_ERROR)}) {
        SCOPED_TRACE(use);
        gdi.systemPaletteUse = use;
        gdi.posted.clear();
        EXPECT_FALSE(TakeStaticColors(nullptr));
        EXPECT_FALSE(TakeStaticColors(nullptr));
        EXPECT_EQ(gdi.Pending(kRealizePaletteRequest), use == SYSPAL_ERROR ? 0 : 1);
    }
}

TEST_F(SystemColours, StaticColoursTakeExactMatchesFirstThenTheNearestFreeEntry)
{
    auto place = [&] {
        std::vector<PALETTEENTRY> entries(256);
        BuildRgbEntries(ThreeThreeTwo(), entries.data(), 256); // without a takeover: places them
        return std::vector<uint32_t>(staticSlots, staticSlots + kStaticColourCount);
    };
    EXPECT_EQ(place(), (std::vector<uint32_t>{0, 3, 24, 27, 64, 67, 88, 173, 181, 236, 247, 164, 91, 7, 56, 63, 192,
                                              199, 248, 255}));

    // (0,0,1) is exact nowhere; entry 0 is taken, so it ties between (63,0,0)
    // and (0,63,0) and takes the lower. Equal colours share an exact entry.
    std::vector<PALETTEENTRY> &stock = gdi.palettes[0];
    stock.assign(20, {255, 0, 0, 0});
    stock[0] = {0, 0, 0, 0};
    stock[1] = {0, 0, 1, 0};
    std::vector<uint32_t> expected(20, 7);
    expected[0] = 0;
    expected[1] = 1;
    EXPECT_EQ(place(), expected);
}

} // namespace
