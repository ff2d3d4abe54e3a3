// The window procedure and teardown on a scripted device: what each message
// turns into, in which order, and what a callback may do meanwhile.
#include <string>

#include "tests/toolkit/palette_fixture.h"
#include "toolkit/palettes.h"
#include "toolkit/tk.h"
#include "toolkit/window_lifecycle.h"

namespace {

SHORT heldKeys = 0; // bit 0: Shift, bit 1: Control
int paintsWaiting = 0;
std::vector<std::string> seen; // what the callbacks saw

LOGGED_MEMBER(SetCapture, HWND, (HWND window), window)
LOGGED_MEMBER(ReleaseCapture, BOOL, (), TRUE)
LOGGED_MEMBER(BeginPaint, HDC, (HWND, LPPAINTSTRUCT), (paintsWaiting = 0, nullptr))
LOGGED_MEMBER(EndPaint, BOOL, (HWND, const PAINTSTRUCT *), TRUE)
LOGGED_MEMBER(wglDeleteContext, BOOL, (HGLRC), TRUE)
LOGGED_MEMBER(ReleaseDC, int, (HWND, HDC), 1)

SHORT WINAPI KeyState(int key)
{
    const int bit = key == VK_SHIFT ? 1 : key == VK_CONTROL ? 2 : 0;
    return (heldKeys & bit) ? SHORT(0x8000) : 0;
}
BOOL WINAPI Invalidate(HWND, const RECT *, BOOL erase)
{
    LogCall(erase ? "InvalidateRect erase" : "InvalidateRect");
    return ++paintsWaiting > 0;
}
decltype(platform.PeekMessageA) peekOthers = nullptr;
BOOL WINAPI PeekPaint(LPMSG message, HWND window, UINT first, UINT last, UINT flags)
{
    return first == WM_PAINT ? paintsWaiting > 0 : peekOthers(message, window, first, last, flags);
}
BOOL WINAPI MakeCurrent(HDC, HGLRC context)
{
    LogCall(context ? "wglMakeCurrent" : "wglMakeCurrent none");
    return TRUE;
}
void WINAPI Quit(int code) { LogCall("PostQuitMessage " + std::to_string(code)); }
LRESULT WINAPI Default(HWND, UINT message, WPARAM, LPARAM)
{
    LogCall("DefWindowProcA " + std::to_string(message));
    return 0;
}
BOOL WINAPI Destroy(HWND window)
{
    LogCall("DestroyWindow");
    return ToolkitWindowProc(window, WM_DESTROY, 0, 0) == 0;
}
HLOCAL WINAPI NoBlock(UINT, SIZE_T) { return nullptr; }

class WindowProcedure : public ScriptedWindowTest {
protected:
    void SetUp() override
    {
        ScriptedWindowTest::SetUp();
        platform.GetKeyState = KeyState;
        platform.SetCapture = LoggedSetCapture;
        platform.ReleaseCapture = LoggedReleaseCapture;
        platform.InvalidateRect = Invalidate;
        peekOthers = platform.PeekMessageA;
        platform.PeekMessageA = PeekPaint;
        platform.BeginPaint = LoggedBeginPaint;
        platform.EndPaint = LoggedEndPaint;
        platform.wglMakeCurrent = MakeCurrent;
        platform.wglDeleteContext = LoggedwglDeleteContext;
        platform.ReleaseDC = LoggedReleaseDC;
        platform.PostQuitMessage = Quit;
        platform.DefWindowProcA = Default;
        platform.DestroyWindow = Destroy;
        heldKeys = 0;
        paintsWaiting = 0;
        seen.clear();
        toolkitState.renderContext = reinterpret_cast<HGLRC>(0x300);
        toolkitState.onExpose = [] { seen.push_back("expose"); };
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ToolkitWindowProc(toolkitState.window, message, wParam, lParam);
    }
    // Whatever paint is waiting, as the loop would take it.
    void PaintIfWaiting()
    {
        if (paintsWaiting)
            Send(WM_PAINT);
    }
};

int32_t RecordKey(int32_t key, int32_t modifiers)
{
    seen.push_back("key " + std::to_string(key) + " mod " + std::to_string(modifiers));
    return 1;
}

TEST_F(WindowProcedure, KeysReachTheProgramOnceEachWithTheirModifiers)
{
    tkOnKey(RecordKey);
    struct Stroke {
        UINT message;
        WPARAM code;
        SHORT held;
    };
    // The whole keyboard meets real input in the end-to-end check; here the
    // edges: each special key once, its character dropped, letters' bounds.
    const Stroke strokes[] = {
        {WM_CHAR, 'A', 1},     {WM_KEYDOWN, VK_ESCAPE, 2}, {WM_KEYDOWN, 'A', 0}, {WM_CHAR, 27, 0},
        {WM_KEYDOWN, VK_TAB, 0}, {WM_CHAR, 'z', 0},        {WM_KEYDOWN, VK_DOWN, 3}, {WM_KEYDOWN, VK_RETURN, 0},
        {WM_CHAR, '\r', 0},    {WM_CHAR, ' ', 0},          {WM_CHAR, '9', 0},     {WM_CHAR, 'Z', 0},
        {WM_CHAR, '@', 0},     {WM_CHAR, '0', 0},
    };
    for (const Stroke &stroke : strokes) {
        heldKeys = stroke.held;
        EXPECT_EQ(Send(stroke.message, stroke.code), 0);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"key 65 mod 1", "key 27 mod 2", "key 122 mod 0", "key 40 mod 3",
                                              "key 13 mod 0", "key 57 mod 0", "key 90 mod 0", "key 48 mod 0"}));
}

TEST_F(WindowProcedure, RedrawRequestsBeforeAPaintCostOneExpose)
{
    tkOnKey([](int32_t, int32_t) { return int32_t(1); });
    for (int i = 0; i < 3; ++i)
        Send(WM_KEYDOWN, VK_SPACE);
    tkOnKey([](int32_t, int32_t) { return int32_t(0); });
    Send(WM_KEYDOWN, VK_SPACE);
    PaintIfWaiting();
    EXPECT_EQ(seen, std::vector<std::string>{"expose"});
    EXPECT_EQ(callLog, (std::vector<std::string>{"InvalidateRect", "BeginPaint", "EndPaint"}));
}

TEST_F(WindowProcedure, ButtonsCaptureThePointerAndMovesReportSignedPositions)
{
    tkOnButtonUp([](int32_t x, int32_t y, int32_t button) {
        seen.push_back("up " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(button));
        return int32_t(0);
    });
    tkOnPointerMove([](int32_t x, int32_t y, int32_t held) {
        seen.push_back("move " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(held));
        return int32_t(0);
    });
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6)); // no onButtonDown: captured all the same
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(-20, -3));
    Send(WM_RBUTTONUP, 0, MAKELPARAM(70000, 2));
    EXPECT_EQ(callLog, (std::vector<std::string>{"SetCapture", "ReleaseCapture"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"move -20,-3 5", "up 4464,2 2"}));
}

TEST_F(WindowProcedure, SizeAndMoveKeepTheRecordCurrentAndReshape)
{
    Send(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(paintsWaiting, 0); // no onReshape: no redraw
    tkOnReshape([](int32_t width, int32_t height) {
        seen.push_back("reshape " + std::to_string(width) + "x" + std::to_string(height));
    });
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    Send(WM_MOVE, 0, MAKELPARAM(-8, 30));
    PaintIfWaiting();
    EXPECT_EQ(toolkitState.clientWidth, 640);
    EXPECT_EQ(toolkitState.clientHeight, 480);
    EXPECT_EQ(toolkitState.clientX, -8);
    EXPECT_EQ(toolkitState.clientY, 30);
    EXPECT_EQ(seen, (std::vector<std::string>{"reshape 640x480", "expose"}));
}

// A callback that shuts the window: nothing after it touches what is gone.
TEST_F(WindowProcedure, ACallbackMayShutTheWindow)
{
    tkOnKey([](int32_t, int32_t) {
        tkShutWindow();
        return int32_t(1);
    });
    Send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(toolkitState.window, nullptr);
    EXPECT_EQ(toolkitState.onKey, nullptr);
    EXPECT_EQ(paintsWaiting, 0);
    EXPECT_EQ(callLog.back(), "PostQuitMessage 1");
}

TEST_F(WindowProcedure, TeardownGivesTheColoursBackOrSelectsTheStockPaletteFirst)
{
    for (bool takeover : {true, false}) {
        SCOPED_TRACE(takeover);
        toolkitState.window = reinterpret_cast<HWND>(0x100);
        toolkitState.deviceContext = reinterpret_cast<HDC>(0x200);
        toolkitState.renderContext = reinterpret_cast<HGLRC>(0x300);
        toolkitState.palette = gdi.Palette(0);
        toolkitState.staticTakeover = toolkitState.staticSaved = takeover;
        tkOnIdle([] {});
        callLog.clear();
        tkShutWindow();
        const std::vector<std::string> front =
            takeover ? std::vector<std::string>{"DestroyWindow", "RegCloseKey", "SetSysColors",
                                                "SetSystemPaletteUse static", "broadcast WM_SYSCOLORCHANGE",
                                                "UnrealizeObject", "SelectPalette background", "RealizePalette"}
                     : std::vector<std::string>{"DestroyWindow", "SelectPalette"};
        std::vector<std::string> expected = front;
        for (const char *call : {"DeleteObject", "wglMakeCurrent none", "wglDeleteContext", "ReleaseDC",
                                 "PostQuitMessage 1"})
            expected.push_back(call);
        EXPECT_EQ(callLog, expected);
        EXPECT_EQ(toolkitState.palette, nullptr);
        EXPECT_EQ(toolkitState.onIdle, nullptr);
        EXPECT_EQ(toolkitState.staticTakeover, takeover); // settings and flags survive
    }
}

TEST_F(WindowProcedure, PaletteMessagesRealiseInFrontOrBehind)
{
    toolkitState.palette = gdi.Palette(0);
    gdi.realized = 3;
    struct Case {
        const char *why;
        UINT message;
        WPARAM wParam;
        int32_t staticSaved;
        LRESULT result;
        std::vector<std::string> calls;
    };
    const HWND other = reinterpret_cast<HWND>(0x999);
    const Case cases[] = {
        {"activated", WM_ACTIVATE, WA_ACTIVE, 0, 1, {"SelectPalette", "RealizePalette", "InvalidateRect"}},
        {"activated while minimised", WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0, 0, {"DefWindowProcA 6"}},
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, 0, 0,
         {"SelectPalette", "RealizePalette", "InvalidateRect", "DefWindowProcA 6"}},
        {"queued realisation", WM_USER, 0, 0, 0, {"SelectPalette", "RealizePalette", "InvalidateRect"}},
        {"another window's palette", WM_PALETTECHANGED, WPARAM(other), 0, 0,
         {"SelectPalette background", "RealizePalette"}},
        {"our own palette", WM_PALETTECHANGED, WPARAM(toolkitState.window), 0, 0, {}},
        {"while the static colours are held", WM_PALETTECHANGED, WPARAM(other), 1, 0, {}},
        {"asked for a new palette", WM_QUERYNEWPALETTE, 0, 0, 1, {}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.why);
        callLog.clear();
        paintsWaiting = 0;
        toolkitState.staticSaved = each.staticSaved;
        EXPECT_EQ(Send(each.message, each.wParam), each.result);
        EXPECT_EQ(callLog, each.calls);
    }
}

TEST_F(WindowProcedure, NewSystemColoursRebuildAnRgbPaletteThatNeedsThem)
{
    UseFormat(ThreeThreeTwo());
    ASSERT_NE(EnsureRgbPalette(toolkitState.deviceContext), nullptr);
    const HPALETTE first = toolkitState.palette;
    callLog.clear();
    Send(WM_SYSCOLORCHANGE);
    EXPECT_NE(toolkitState.palette, first);
    EXPECT_EQ(callLog[callLog.size() - 3], "DeleteObject");
    EXPECT_EQ(callLog.back(), "DefWindowProcA 21");

    const HPALETTE second = toolkitState.palette;
    platform.LocalAlloc = NoBlock; // no new one: the old one stays
    Send(WM_SYSCOLORCHANGE);
    EXPECT_EQ(toolkitState.palette, second);
    UseFormat(Format(PFD_TYPE_RGBA, 24)); // needs none: kept as it is
    callLog.clear();
    Send(WM_SYSCOLORCHANGE);
    EXPECT_EQ(toolkitState.palette, second);
    EXPECT_EQ(callLog.size(), 2u); // the description, then default handling
}

} // namespace
