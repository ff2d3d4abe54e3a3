// The toolkit record: its start values, the setters and getters, the window
// placement estimate and the local-heap blocks.
#include <string.h>

#include <gtest/gtest.h>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "toolkit/toolkit_state.h"

namespace {

// The record is constant-initialised, so this copy sees it before any test.
const ToolkitState startState = toolkitState;

TEST(ToolkitState, FreshProgramAsksForAPlatformPlacedColourIndexWindow)
{
    EXPECT_EQ(startState.modeFlags, uint32_t(TKMODE_COLOR_INDEX | TKMODE_SINGLE_BUFFER));
    EXPECT_EQ(startState.clientWidth, 100);
    EXPECT_EQ(startState.clientHeight, 100);
    EXPECT_EQ(startState.clientX, 0);
    EXPECT_EQ(startState.clientY, 0);
    EXPECT_EQ(startState.systemPlaces, 1);
    EXPECT_EQ(startState.formatPolicy, TKPF_CHOOSE);
    EXPECT_EQ(startState.formatId, 0);
    EXPECT_EQ(startState.errorBoxes, 1);
    EXPECT_EQ(startState.sysColorCount, 25);
    EXPECT_EQ(startState.window, nullptr);
    EXPECT_EQ(startState.deviceContext, nullptr);
    EXPECT_EQ(startState.renderContext, nullptr);
    EXPECT_EQ(startState.palette, nullptr);
    EXPECT_EQ(startState.staticTakeover, 0);
    EXPECT_EQ(startState.staticSaved, 0);
    EXPECT_EQ(startState.onReshape, nullptr);
    EXPECT_EQ(startState.onExpose, nullptr);
    EXPECT_EQ(startState.onKey, nullptr);
    EXPECT_EQ(startState.onButtonDown, nullptr);
    EXPECT_EQ(startState.onButtonUp, nullptr);
    EXPECT_EQ(startState.onPointerMove, nullptr);
    EXPECT_EQ(startState.onIdle, nullptr);
}

class ToolkitSettings : public ::testing::Test {
protected:
    void SetUp() override { saved_ = toolkitState; }
    void TearDown() override { toolkitState = saved_; }
    ToolkitState saved_;
    ScopedPlatform scoped_;
};

int WINAPI DistinctMetrics(int index)
{
    switch (index) {
    case SM_CXFRAME:
        return 4;
    case SM_CYFRAME:
        return 5;
    case SM_CYCAPTION:
        return 19;
    case SM_CYBORDER:
        return 1;
    default:
        return 1000;
    }
}

TEST_F(ToolkitSettings, PlacingTurnsTheOuterCornerIntoTheClientCorner)
{
    platform.GetSystemMetrics = DistinctMetrics;
    tkPlaceWindow(CW_USEDEFAULT, 500, 640, 480);
    EXPECT_EQ(toolkitState.systemPlaces, 1);
    EXPECT_EQ(toolkitState.clientX, 4);
    EXPECT_EQ(toolkitState.clientY, 19 + 5 - 1); // the 500 is dropped
    EXPECT_EQ(toolkitState.clientWidth, 640);
    EXPECT_EQ(toolkitState.clientHeight, 480);

    tkPlaceWindow(10, 20, 30, 40);
    EXPECT_EQ(toolkitState.systemPlaces, 0);
    EXPECT_EQ(toolkitState.clientX, 10 + 4);
    EXPECT_EQ(toolkitState.clientY, 20 + 19 + 5 - 1);
    EXPECT_EQ(toolkitState.clientWidth, 30);
    EXPECT_EQ(toolkitState.clientHeight, 40);
}

TEST_F(ToolkitSettings, PlacingReadsTheBuildsOwnMetrics)
{
    platform = realPlatform;
    tkPlaceWindow(100, 50, 640, 480);
    EXPECT_EQ(toolkitState.clientX, 100 + platform.GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(toolkitState.clientY, 50 + platform.GetSystemMetrics(SM_CYCAPTION) +
                                        platform.GetSystemMetrics(SM_CYFRAME) - platform.GetSystemMetrics(SM_CYBORDER));
    EXPECT_GT(platform.GetSystemMetrics(SM_CXFRAME), 0);
    EXPECT_GT(platform.GetSystemMetrics(SM_CYCAPTION), platform.GetSystemMetrics(SM_CYBORDER));
}

TEST_F(ToolkitSettings, FormatNumbersAreNotExaminedWhenSet)
{
    EXPECT_EQ(tkSetFormatId(0), 1);
    EXPECT_EQ(tkSetFormatId(-3), 1);
    EXPECT_EQ(tkFormatId(), -3);
    tkSetFormatPolicy(7); // acts as TKPF_BY_ID when a window opens
    EXPECT_EQ(tkFormatPolicy(), 7);
    EXPECT_EQ(tkWindowHandle(), nullptr);
}

UINT allocFlags = 0xFFFF;
SIZE_T allocSize = 0;
HLOCAL freed = nullptr;

HLOCAL WINAPI RecordAlloc(UINT flags, SIZE_T size)
{
    allocFlags = flags;
    allocSize = size;
    return realPlatform.LocalAlloc(flags, size);
}

HLOCAL WINAPI RecordFree(HLOCAL block)
{
    freed = block;
    return realPlatform.LocalFree(block);
}

TEST_F(ToolkitSettings, BlocksComeFromTheLocalHeap)
{
    platform.LocalAlloc = RecordAlloc;
    platform.LocalFree = RecordFree;
    void *plain = AllocBlock(1000);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(allocFlags, UINT(LMEM_FIXED));
    EXPECT_EQ(allocSize, SIZE_T(1000));
    memset(plain, 0x77, 1000);
    FreeBlock(plain);
    EXPECT_EQ(freed, plain);

    unsigned char *zeroed = static_cast<unsigned char *>(AllocZeroedBlock(1000));
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(allocFlags, UINT(0x40));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(zeroed[i], 0);
    FreeBlock(zeroed);
    EXPECT_EQ(freed, zeroed);
}

} // namespace
