// The toolkit record: the start, the settings and the placement estimate.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/error_report.h"
#include "tests/toolkit/palette_fixture.h"
#include "toolkit/tk.h"

namespace {

// The record is constant-initialised, so this copy sees it before any test.
const ToolkitState startState = toolkitState;
const bool boxesAtStart = ErrorBoxesOn();

using Toolkit = ScriptedWindowTest;

int WINAPI DistinctMetrics(int index)
{
    return index == SM_CXFRAME ? 4 : index == SM_CYFRAME ? 5 : index == SM_CYCAPTION ? 19 : index == SM_CYBORDER ? 1 : 1000;
}

// systemPlaces, the client corner and the client size after placing at x, y.
std::vector<int32_t> Placed(int32_t x, int32_t y)
{
    tkPlaceWindow(x, y, 640, 480);
    const ToolkitState &s = toolkitState;
    return {s.systemPlaces, s.clientX, s.clientY, s.clientWidth, s.clientHeight};
}

// A fresh program asks for a platform-placed colour-index window with boxes
// on; the settings are kept unexamined, each in its own field.
TEST_F(Toolkit, SettingsStartFreshAndPlacementTurnsTheOuterCornerIntoTheClientCorner)
{
    const ToolkitState &s = startState;
    EXPECT_EQ((std::vector<int64_t>{s.modeFlags, s.formatPolicy, s.formatId, s.systemPlaces, s.clientWidth,
                                    s.clientHeight, boxesAtStart}),
              (std::vector<int64_t>{TKMODE_COLOR_INDEX | TKMODE_SINGLE_BUFFER, TKPF_CHOOSE, 0, 1, 100, 100, 1}));
    tkSetModeFlags(TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER);
    tkSetFormatPolicy(7); // acts as TKPF_BY_ID when a window opens
    EXPECT_EQ(tkSetFormatId(-3), 1);
    EXPECT_EQ((std::vector<int64_t>{tkModeFlags(), tkFormatPolicy(), tkFormatId()}),
              (std::vector<int64_t>{TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER, 7, -3}));

    platform.GetSystemMetrics = DistinctMetrics;
    EXPECT_EQ(Placed(CW_USEDEFAULT, 500), (std::vector<int32_t>{1, 4, 19 + 5 - 1, 640, 480})); // the 500 is dropped
    EXPECT_EQ(Placed(10, 20), (std::vector<int32_t>{0, 10 + 4, 20 + 19 + 5 - 1, 640, 480}));
}

RECT askedClient;
OSVERSIONINFOA version;
BOOL WINAPI RecordedAdjust(LPRECT rect, DWORD style, BOOL menu)
{
    askedClient = *rect;
    return realPlatform.AdjustWindowRect(rect, style, menu);
}
BOOL WINAPI ScriptedVersion(LPOSVERSIONINFOA out)
{
    *out = version;
    return TRUE;
}
ATOM WINAPI AnyClass(const WNDCLASSA *) { return 1; }
ATOM WINAPI NoClass(const WNDCLASSA *) { return 0; }
HWND WINAPI SomeWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return reinterpret_cast<HWND>(0x100);
}
BOOL WINAPI UnknownRect(HWND, LPRECT rect) // a failing call may leave anything behind
{
    *rect = {-77777, -77777, 5, 5};
    return FALSE;
}

// Up to the device context: the corner a placed window cannot report stays
// the estimate, placements at the ends of the range stay there, and the
// Windows version decides how many system colours the takeover replaces.
TEST_F(Toolkit, OpeningKeepsWhatItCannotCheckWithinRange)
{
    platform.GetSystemMetrics = DistinctMetrics;
    platform.AdjustWindowRect = RecordedAdjust;
    platform.RegisterClassA = AnyClass;
    platform.CreateWindowExA = SomeWindow;
    platform.GetWindowRect = UnknownRect; // then GetDC finds no such window
    const int32_t top = INT32_MAX;
    // The placement, then the client rectangle the open starts from.
    const std::pair<std::vector<int32_t>, std::vector<int32_t>> cases[] = {
        {{CW_USEDEFAULT, 9, 640, 480}, {4, 23, 644, 503}},
        {{top, top, top, top}, {top, top, top, top}},
        {{-10, top - 30, 20, 40}, {-6, top - 7, 14, top}},
    };
    for (const auto &[place, client] : cases) {
        tkPlaceWindow(place[0], place[1], place[2], place[3]);
        EXPECT_EQ(tkOpenWindow("scripted"), 0);
        EXPECT_EQ((std::vector<int32_t>{toolkitState.clientX, toolkitState.clientY, askedClient.right,
                                        askedClient.bottom}),
                  (std::vector<int32_t>{client[0], client[1], client[2], client[3]}));
    }

    platform.GetVersionExA = ScriptedVersion;
    platform.RegisterClassA = NoClass;
    // Platform, major and minor version, the system colours replaced.
    const std::tuple<DWORD, DWORD, DWORD, int32_t> versions[] = {
        {VER_PLATFORM_WIN32_NT, 3, 51, 21}, {VER_PLATFORM_WIN32_NT, 3, 5, 21}, {VER_PLATFORM_WIN32_NT, 3, 10, 25},
        {VER_PLATFORM_WIN32_NT, 4, 0, 25},  {1, 3, 51, 25}, // Windows 95's family
    };
    for (const auto &[id, major, minor, count] : versions) {
        version = {sizeof version, major, minor, 0, id, {}};
        tkOpenWindow("scripted");
        EXPECT_EQ(toolkitState.sysColorCount, count) << major << "." << minor;
    }
}

BOOL WINAPI PointerAt(LPPOINT pointer)
{
    *pointer = {50, -5};
    return TRUE;
}

// Either output may be left out; a corner at the end of the range gives the
// nearest offset there is.
TEST_F(Toolkit, PointerPositionFillsWhatItIsGiven)
{
    platform.GetCursorPos = PointerAt;
    toolkitState.clientX = 10;
    toolkitState.clientY = INT32_MAX;
    int32_t x = 1, y = 1;
    tkPointerPosition(&x, nullptr);
    tkPointerPosition(nullptr, &y);
    tkPointerPosition(nullptr, nullptr);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(40, INT32_MIN));
}

// Compiled programs carry these numbers.
TEST(PublicConstants, KeepTheirValues)
{
    EXPECT_EQ((std::vector<int64_t>{TKMODE_RGBA, TKMODE_COLOR_INDEX, TKMODE_SINGLE_BUFFER, TKMODE_DOUBLE_BUFFER,
                                    TKMODE_ACCUM_BUFFER, TKMODE_ALPHA, TKMODE_DEPTH_BUFFER, TKMODE_STENCIL_BUFFER,
                                    TKMODE_SHALLOW_DEPTH, TKMODE_TAKE_STATIC_COLORS, TKPF_BY_ID, TKPF_EXACT,
                                    TKPF_CHOOSE, TKKEY_RETURN, TKKEY_ESCAPE, TKKEY_SPACE, TKKEY_LEFT, TKKEY_UP,
                                    TKKEY_RIGHT, TKKEY_DOWN, TKMOD_SHIFT, TKMOD_CONTROL, TKBTN_LEFT, TKBTN_RIGHT,
                                    TKBTN_MIDDLE}),
              (std::vector<int64_t>{0, 1, 0, 2, 8, 0x10, 0x20, 0x40, 0x100, 0x200, 1, 2, 3, 13, 27, 32, 37, 38, 39,
                                    40, 1, 2, 1, 2, 4}));
}

} // namespace
