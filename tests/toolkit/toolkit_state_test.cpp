// The toolkit record and its services: the start, the settings, the
// placement estimate, the error reporter and the local-heap blocks.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "toolkit/toolkit_state.h"

namespace {

// The record is constant-initialised, so this copy sees it before any test.
const ToolkitState startState = toolkitState;

TEST(ToolkitState, FreshProgramAsksForAPlatformPlacedColourIndexWindowWithBoxesOn)
{
    EXPECT_EQ(startState.modeFlags, uint32_t(TKMODE_COLOR_INDEX | TKMODE_SINGLE_BUFFER));
    EXPECT_EQ(startState.formatPolicy, TKPF_CHOOSE);
    EXPECT_EQ(startState.formatId, 0);
    EXPECT_EQ(startState.systemPlaces, 1);
    EXPECT_EQ(startState.clientWidth, 100);
    EXPECT_EQ(startState.clientHeight, 100);
    EXPECT_EQ(startState.errorBoxes, 1);
}

// Each test gets the record back as it found it, and scripted boxes.
class Toolkit : public ::testing::Test {
protected:
    void SetUp() override { saved_ = toolkitState; }
    void TearDown() override { toolkitState = saved_; }
    ToolkitState saved_;
    ScopedPlatform scoped_;
};

TEST_F(Toolkit, SettingsAreKeptUnexaminedEachInItsOwnField)
{
    tkSetModeFlags(TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER);
    tkSetFormatPolicy(7); // acts as TKPF_BY_ID when a window opens
    EXPECT_EQ(tkSetFormatId(-3), 1);
    EXPECT_EQ(tkModeFlags(), uint32_t(TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER));
    EXPECT_EQ(tkFormatPolicy(), 7);
    EXPECT_EQ(tkFormatId(), -3);
}

int WINAPI DistinctMetrics(int index)
{
    return index == SM_CXFRAME ? 4 : index == SM_CYFRAME ? 5 : index == SM_CYCAPTION ? 19 : index == SM_CYBORDER ? 1 : 1000;
}

// systemPlaces, the client corner and the client size.
std::array<int32_t, 5> Placement()
{
    const ToolkitState &s = toolkitState;
    return {s.systemPlaces, s.clientX, s.clientY, s.clientWidth, s.clientHeight};
}

TEST_F(Toolkit, PlacingTurnsTheOuterCornerIntoTheClientCorner)
{
    platform.GetSystemMetrics = DistinctMetrics;
    tkPlaceWindow(CW_USEDEFAULT, 500, 640, 480); // the 500 is dropped
    EXPECT_EQ(Placement(), (std::array<int32_t, 5>{1, 4, 19 + 5 - 1, 640, 480}));
    tkPlaceWindow(10, 20, 30, 40);
    EXPECT_EQ(Placement(), (std::array<int32_t, 5>{0, 10 + 4, 20 + 19 + 5 - 1, 30, 40}));

    // The build's own frame puts the client corner inside the outer one.
    platform.GetSystemMetrics = realPlatform.GetSystemMetrics;
    tkPlaceWindow(100, 50, 640, 480);
    EXPECT_GT(toolkitState.clientX, 100);
    EXPECT_GT(toolkitState.clientY, 50);
}

HWND const kFocused = reinterpret_cast<HWND>(0x4321);
HWND WINAPI FocusedWindow(void) { return kFocused; }

TEST_F(Toolkit, ReportShowsTheFormattedTextInOneBoxOwnedByTheFocusWhileSwitchedOn)
{
    platform.GetFocus = FocusedWindow;
    tkShowErrorBoxes(1);
    ReportError("Cannot realize palette %d.\n", 3);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Cannot realize palette 3.\n");
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(messageBoxes[0].owner, kFocused);

    tkShowErrorBoxes(0);
    ReportError("dropped %s", "text");
    EXPECT_EQ(messageBoxes.size(), 1u);
}

TEST_F(Toolkit, ReportFormatsByTheWin32RulesAndCutsAt255Bytes)
{
    const char16_t wide[] = u"wide";
    ReportError("%d|%i|%u|%x|%X|%lX|%08lX|%c|%%|%s|%ws|%5d|%-5d|%05d|%.3s|%#x", -42, 7, 4000000000u, 255u, 255u,
                LONG(0xABCDEF), LONG(0x1234), 'Q', "nm", reinterpret_cast<const WCHAR *>(wide), 12, 12, -12, "abcdef",
                26u);
    ReportError("%s", std::string(2000, 'x').c_str());
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[0].text, "-42|7|4000000000|ff|FF|ABCDEF|00001234|Q|%|nm|wide|   12|12   |-0012|abc|0x1a");
    EXPECT_EQ(messageBoxes[1].text, std::string(255, 'x'));
#ifndef _WIN32
    // UTF-8 text is never cut inside a character.
    ReportError("%s", (std::string(254, 'z') + "\xc3\xa9").c_str());
    EXPECT_EQ(messageBoxes.back().text, std::string(254, 'z'));
#endif
}

std::pair<UINT, SIZE_T> allocated;
HLOCAL freed;

HLOCAL WINAPI RecordAlloc(UINT flags, SIZE_T size)
{
    allocated = {flags, size};
    return realPlatform.LocalAlloc(flags, size);
}

HLOCAL WINAPI RecordFree(HLOCAL block)
{
    freed = block;
    return realPlatform.LocalFree(block);
}

TEST_F(Toolkit, BlocksComeFromTheLocalHeapAndGoBackThere)
{
    platform.LocalAlloc = RecordAlloc;
    platform.LocalFree = RecordFree;
    // Plain first: its bytes, set here, must not show in the zeroed block.
    for (bool zeroed : {false, true}) {
        auto *block = static_cast<unsigned char *>(zeroed ? AllocZeroedBlock(1000) : AllocBlock(1000));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(allocated, std::make_pair(zeroed ? UINT(0x40) : UINT(LMEM_FIXED), SIZE_T(1000)));
        EXPECT_TRUE(!zeroed || std::count(block, block + 1000, 0) == 1000) << "not zeroed";
        memset(block, 0x77, 1000);
        FreeBlock(block);
        EXPECT_EQ(freed, block);
    }
}

} // namespace
