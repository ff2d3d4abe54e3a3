// The window procedure and teardown on a scripted device: what each message
// turns into, in which order, and what a callback may do meanwhile.
#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "tests/toolkit/palette_fixture.h"
#include "palettes.h"
#include "toolkit/tk.h"
#include "system_colours.h"
#include "window_procedure.h"

namespace {

SHORT heldKeys = 0; // bit 0: Shift, bit 1: Control
int paintsWaiting = 0;

LOGGED_MEMBER(SetCapture, HWND, (HWND window), window)
LOGGED_MEMBER(ReleaseCapture, BOOL, (), TRUE)
LOGGED_MEMBER(BeginPaint, HDC, (HWND, LPPAINTSTRUCT), (paintsWaiting = 0, nullptr))
LOGGED_MEMBER(EndPaint, BOOL, (HWND, const PAINTSTRUCT *), TRUE)
LOGGED_MEMBER(wglDeleteContext, BOOL, (HGLRC), TRUE)
LOGGED_MEMBER(ReleaseDC, int, (HWND, HDC), 1)

// A logged member whose log line adds a detail of its arguments.
#define LOGGED_DETAIL(name, result, params, detail, answer) \
    result WINAPI Logged##name params { LogCall(std::string(#name) + detail); return answer; }
LOGGED_DETAIL(InvalidateRect, BOOL, (HWND, const RECT *, BOOL erase), (erase ? " erase" : ""), ++paintsWaiting > 0)
LOGGED_DETAIL(wglMakeCurrent, BOOL, (HDC, HGLRC context), (context ? "" : " none"), TRUE)
LOGGED_DETAIL(PostQuitMessage, void, (int code), " " + std::to_string(code), void())
LOGGED_DETAIL(DefWindowProcA, LRESULT, (HWND, UINT message, WPARAM, LPARAM), " " + std::to_string(message), 0)
LOGGED_DETAIL(DestroyWindow, BOOL, (HWND window), "", ToolkitWindowProc(window, WM_DESTROY, 0, 0) == 0)

SHORT WINAPI KeyState(int key) { return heldKeys & (key == VK_SHIFT ? 1 : key == VK_CONTROL ? 2 : 0) ? -0x8000 : 0; }
decltype(platform.PeekMessageA) peekOthers = nullptr;
BOOL WINAPI PeekPaint(LPMSG message, HWND window, UINT first, UINT last, UINT flags)
{
    return first == WM_PAINT ? paintsWaiting > 0 : peekOthers(message, window, first, last, flags);
}
HLOCAL WINAPI NoBlock(UINT, SIZE_T) { return nullptr; }

// Logs what a callback saw among the calls; asks for no redraw.
int32_t Seen(const char *what, int32_t x, int32_t y, int32_t z)
{
    LogCall(what + (" " + std::to_string(x)) + "," + std::to_string(y) + " " + std::to_string(z));
    return 0;
}

class WindowProcedure : public ScriptedWindowTest {
protected:
    void SetUp() override
    {
        ScriptedWindowTest::SetUp();
        platform.GetKeyState = KeyState;
        platform.SetCapture = LoggedSetCapture;
        platform.ReleaseCapture = LoggedReleaseCapture;
        platform.InvalidateRect = LoggedInvalidateRect;
        peekOthers = platform.PeekMessageA;
        platform.PeekMessageA = PeekPaint;
        platform.BeginPaint = LoggedBeginPaint;
        platform.EndPaint = LoggedEndPaint;
        platform.wglMakeCurrent = LoggedwglMakeCurrent;
        platform.wglDeleteContext = LoggedwglDeleteContext;
        platform.ReleaseDC = LoggedReleaseDC;
        platform.PostQuitMessage = LoggedPostQuitMessage;
        platform.DefWindowProcA = LoggedDefWindowProcA;
        platform.DestroyWindow = LoggedDestroyWindow;
        heldKeys = 0;
        paintsWaiting = 0;
        toolkitState.onExpose = [] { LogCall("expose"); };
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ToolkitWindowProc(toolkitState.window, message, wParam, lParam);
    }
};

TEST_F(WindowProcedure, InputReachesTheProgramWithModifiersAndSignedPositions)
{
    tkOnKey([](int32_t key, int32_t modifiers) { return Seen("key", key, 0, modifiers); });
    // Message, key, held modifiers. The whole keyboard meets real input in the
    // end-to-end check; here the edges: each special key once, its character
    // dropped, letters' bounds.
    const std::tuple<UINT, WPARAM, SHORT> strokes[] = {
        {WM_CHAR, 'A', 1},     {WM_KEYDOWN, VK_ESCAPE, 2}, {WM_KEYDOWN, 'A', 0}, {WM_CHAR, 27, 0},
        {WM_KEYDOWN, VK_TAB, 0}, {WM_CHAR, 'z', 0},        {WM_KEYDOWN, VK_DOWN, 3}, {WM_KEYDOWN, VK_RETURN, 0},
        {WM_CHAR, '\r', 0},    {WM_CHAR, ' ', 0},          {WM_CHAR, '9', 0},     {WM_CHAR, 'Z', 0},
        {WM_CHAR, '@', 0},     {WM_CHAR, '0', 0},
    };
    for (const auto &[message, code, held] : strokes) {
        heldKeys = held;
        EXPECT_EQ(Send(message, code), 0);
    }
    tkOnButtonUp([](int32_t x, int32_t y, int32_t button) { return Seen("up", x, y, button); });
    tkOnPointerMove([](int32_t x, int32_t y, int32_t held) { return Seen("move", x, y, held); });
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6)); // no onButtonDown: captured all the same
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(-20, -3));
    Send(WM_RBUTTONUP, 0, MAKELPARAM(70000, 2));
    Send(WM_SIZE, SIZE_MINIMIZED, 0); // no onReshape: no redraw
    tkOnReshape([](int32_t width, int32_t height) { Seen("reshape", width, height, 0); });
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    Send(WM_MOVE, 0, MAKELPARAM(-8, 30));
    EXPECT_EQ(callLog, (std::vector<std::string>{"key 65,0 1", "key 27,0 2", "key 122,0 0", "key 40,0 3", "key 13,0 0",
                                                 "key 57,0 0", "key 90,0 0", "key 48,0 0", "SetCapture",
                                                 "move -20,-3 5", "ReleaseCapture", "up 4464,2 2", "reshape 640,480 0",
                                                 "InvalidateRect"}));
    EXPECT_EQ((std::vector<int32_t>{toolkitState.clientX, toolkitState.clientY, toolkitState.clientWidth,
                                    toolkitState.clientHeight}),
              (std::vector<int32_t>{-8, 30, 640, 480}));
}

TEST_F(WindowProcedure, RedrawRequestsBeforeAPaintCostOneExpose)
{
    tkOnKey([](int32_t, int32_t) { return int32_t(1); });
    for (int i = 0; i < 3; ++i)
        Send(WM_KEYDOWN, VK_SPACE);
    Send(WM_PAINT);
    EXPECT_EQ(callLog, (std::vector<std::string>{"InvalidateRect", "BeginPaint", "expose", "EndPaint"}));
}

// A callback that shuts the window asks for no redraw: nothing after it
// touches what is gone.
TEST_F(WindowProcedure, ShuttingFromACallbackGivesTheColoursBackOrSelectsTheStockPaletteFirst)
{
    // Whether the static colours are held, the calls before the palette goes.
    const std::pair<bool, std::vector<std::string>> cases[] = {
        {false, {"DestroyWindow", "SelectPalette"}},
        {true, {"DestroyWindow", "RegCloseKey", "SetSysColors", "DefWindowProcA 21", "SetSystemPaletteUse static",
                "broadcast WM_SYSCOLORCHANGE", "UnrealizeObject", "SelectPalette background", "RealizePalette"}},
    };
    for (auto [takeover, expected] : cases) {
        SCOPED_TRACE(takeover);
        Handles();
        toolkitState.palette = gdi.Palette(0);
        toolkitState.staticTakeover = toolkitState.staticSaved = takeover;
        tkOnIdle([] {});
        tkOnKey([](int32_t, int32_t) {
            tkShutWindow();
            return int32_t(1);
        });
        callLog.clear();
        Send(WM_KEYDOWN, VK_ESCAPE);
        for (const char *call :
             {"DeleteObject", "wglMakeCurrent none", "wglDeleteContext", "ReleaseDC", "PostQuitMessage 1"})
            expected.push_back(call);
        EXPECT_EQ(callLog, expected);
        // Handles and callbacks go; settings and flags stay.
        EXPECT_TRUE(!toolkitState.window && !toolkitState.palette && !toolkitState.onIdle && !toolkitState.onKey &&
                    toolkitState.staticTakeover == takeover);
    }
}

TEST_F(WindowProcedure, PaletteMessagesRealiseInFrontOrBehind)
{
    toolkitState.palette = gdi.Palette(0);
    gdi.realized = 3;
    const HWND other = reinterpret_cast<HWND>(0x999);
    const std::vector<std::string> front{"SelectPalette", "RealizePalette", "InvalidateRect"};
    // Message, its parameter, whether the static colours are held, the result, the calls.
    const std::tuple<UINT, WPARAM, int32_t, LRESULT, std::vector<std::string>> cases[] = {
        {WM_ACTIVATE, WA_ACTIVE, 0, 1, front},
        {WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0, 0, {"DefWindowProcA 6"}}, // minimised
        {WM_ACTIVATE, WA_INACTIVE, 0, 0, {"SelectPalette", "RealizePalette", "InvalidateRect", "DefWindowProcA 6"}},
        {kRealizePaletteRequest, 0, 0, 0, front}, // the queued realisation
        {WM_PALETTECHANGED, WPARAM(other), 0, 0, {"SelectPalette background", "RealizePalette"}},
        {WM_PALETTECHANGED, WPARAM(toolkitState.window), 0, 0, {}},
        {WM_PALETTECHANGED, WPARAM(other), 1, 0, {}}, // while the static colours are held
        {WM_QUERYNEWPALETTE, 0, 0, 1, {}},
    };
    for (const auto &[message, wParam, staticSaved, result, calls] : cases) {
        SCOPED_TRACE(message);
        callLog.clear();
        paintsWaiting = 0;
        toolkitState.staticSaved = staticSaved;
        EXPECT_EQ(ToolkitWindowProc(toolkitState.window, message, wParam, 0), result);
        EXPECT_EQ(callLog, calls);
    }
}

// The static colours are held exactly while the window is active and not
// minimised, whatever the colour changes of the takeover and its return
// bring back through the queue; each realisation in front succeeds at once,
// though SetSysColors sends WM_SYSCOLORCHANGE in the middle of it.
TEST_F(WindowProcedure, OnlyTheActiveWindowHoldsTheStaticColours)
{
    toolkitState.windowActive = 0; // opened behind another program's window
    toolkitState.modeFlags = TKMODE_TAKE_STATIC_COLORS;
    UseFormat(ThreeThreeTwo());
    gdi.realized = 3;
    for (int i = 0; i < 25; ++i)
        gdi.sysColors[i] = RGB(i, 1, 1);
    ASSERT_NE(EnsureRgbPalette(toolkitState.deviceContext), nullptr);
    EXPECT_EQ(std::count(callLog.begin(), callLog.end(), "CreatePalette"), 1); // the system palette is not cleared
    for (WPARAM activation : {WPARAM(WA_INACTIVE), WPARAM(WA_ACTIVE), WPARAM(WA_INACTIVE), WPARAM(WA_CLICKACTIVE),
                              MAKEWPARAM(WA_ACTIVE, 1),
                              WPARAM(WA_ACTIVE), MAKEWPARAM(WA_INACTIVE, 1)}) {
        SCOPED_TRACE(activation);
        const bool minimised = HIWORD(activation), front = LOWORD(activation) != WA_INACTIVE && !minimised;
        callLog.clear();
        paintsWaiting = 0;
        Send(WM_ACTIVATE, activation);
        EXPECT_EQ(gdi.Pending(kRealizePaletteRequest), 0);
        const bool realised = front || LOWORD(activation) == WA_INACTIVE;
        EXPECT_EQ(std::count(callLog.begin(), callLog.end(), "InvalidateRect"), realised ? 1 : 0);
        gdi.RunPosted();
        Send(kRealizePaletteRequest);
        EXPECT_EQ(toolkitState.staticSaved, front);
        EXPECT_EQ(gdi.sysColors[COLOR_BTNFACE], front ? PALETTERGB(255, 255, 255) : RGB(15, 1, 1));
        EXPECT_EQ(gdi.systemPaletteUse, UINT(front ? SYSPAL_NOSTATIC : SYSPAL_STATIC));
    }
}

TEST_F(WindowProcedure, NewSystemColoursRebuildAnRgbPaletteThatNeedsThem)
{
    UseFormat(ThreeThreeTwo());
    ASSERT_NE(EnsureRgbPalette(toolkitState.deviceContext), nullptr);
    const HPALETTE first = toolkitState.palette;
    Send(WM_SYSCOLORCHANGE);
    const HPALETTE second = toolkitState.palette;
    EXPECT_NE(second, first);
    EXPECT_EQ(std::vector<std::string>(callLog.end() - 3, callLog.end()),
              (std::vector<std::string>{"DeleteObject", "InvalidateRect", "DefWindowProcA 21"}));

    platform.LocalAlloc = NoBlock; // no new one: the old one stays
    Send(WM_SYSCOLORCHANGE);
    EXPECT_EQ(toolkitState.palette, second);
    gdi.formats = {Format(PFD_TYPE_RGBA, 24)}; // needs none: kept as it is
    callLog.clear();
    Send(WM_SYSCOLORCHANGE);
    EXPECT_EQ(callLog.size(), 2u); // the description, then default handling
}

} // namespace
