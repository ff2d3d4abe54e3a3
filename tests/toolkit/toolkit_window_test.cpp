// The toolkit window on the real platform: opening and its failures, the
// loop's two forms, redraws and closing.
#include <GL/gl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "common/error_report.h"
#include "toolkit_state.h"
#include "window_opening.h"

namespace {

void DrainQueue()
{
    MSG message;
    while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

class ToolkitWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifndef _WIN32
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no display (run under xvfb-run)";
#endif
        saved_ = toolkitState;
        DrainQueue();
        tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER);
        tkPlaceWindow(CW_USEDEFAULT, 0, 200, 150);
    }
    void TearDown() override
    {
        tkShutWindow();
        DrainQueue();
        platform.UnregisterClassA("tkLibWClass", platform.GetModuleHandleA(nullptr)); // a process opens once
        toolkitState = saved_;
        tkShowErrorBoxes(1); // the switch lives outside the record
    }
    ToolkitState saved_;
    ScopedPlatform scoped_;
};

ATOM WINAPI NoClass(const WNDCLASSA *) { return 0; }
HWND WINAPI NoWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}
HDC WINAPI NoDC(HWND) { return nullptr; }
int WINAPI NoFormat(HDC, const PIXELFORMATDESCRIPTOR *) { return 0; }
HGLRC WINAPI NoContext(HDC) { return nullptr; }
BOOL WINAPI NotCurrent(HDC, HGLRC) { return FALSE; }

int exposes = 0, idles = 0;

TEST_F(ToolkitWindow, EveryFailedStepIsToldAndLeavesNothingButAQuitRequest)
{
    // The message, the failure, whether a window was made first. Each way a
    // format fails is told on the scripted device.
    const std::tuple<const char *, void (*)(), bool, int32_t> rows[] = {
        {"Failed to register window class\n", [] { platform.RegisterClassA = NoClass; }, false, TK_ERROR_WINDOW},
        {"create window failed\n", [] { platform.CreateWindowExA = NoWindow; }, false, TK_ERROR_WINDOW},
        {"Could not get an HDC for window 0x", [] { platform.GetDC = NoDC; }, true, TK_ERROR_WINDOW},
        {"Selecting a pixel format failed\n", [] { platform.ChoosePixelFormat = NoFormat; }, true, TK_ERROR_PIXEL_FORMAT},
        {"wglCreateContext Failed\n", [] { platform.wglCreateContext = NoContext; }, true, TK_ERROR_CONTEXT},
        {"wglMakeCurrent Failed\n", [] { platform.wglMakeCurrent = NotCurrent; }, true, TK_ERROR_CONTEXT},
    };
    for (const auto &[text, fail, windowMade, code] : rows) {
        SCOPED_TRACE(text);
        ScopedPlatform failing;
        fail();
        tkOnKey([](int32_t, int32_t) { return int32_t(0); });
        EXPECT_EQ(tkOpenWindow("failing"), 0);
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text.rfind(text, 0), 0u) << messageBoxes[0].text;
        // The record holds the box's text as one line.
        EXPECT_EQ(tkLastError(), code);
        EXPECT_EQ(tkLastErrorText() + std::string("\n"), messageBoxes[0].text);
        EXPECT_EQ(toolkitState.onKey == nullptr, windowMade); // teardown ran
        MSG quit;
        EXPECT_EQ(platform.PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE, windowMade);
        tkRunLoop(); // takes the quit request and returns
        EXPECT_FALSE(platform.PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        DrainQueue();
        platform.UnregisterClassA("tkLibWClass", platform.GetModuleHandleA(nullptr));
    }
    tkShowErrorBoxes(0);
    messageBoxes.clear();
    platform.GetDC = NoDC;
    EXPECT_EQ(tkOpenWindow("silent"), 0);
    EXPECT_TRUE(messageBoxes.empty());
}

// Polls until the shown window was painted, or for a second; then clears
// onIdle from inside onIdle, turning the loop into the waiting one, until a
// key registers it again. The class stays registered: a second open fails.
void IdleUntilPainted()
{
    platform.Sleep(2);
    if (exposes == 0 && ++idles < 500)
        return;
    tkOnIdle(nullptr);
    platform.PostMessageA(toolkitState.window, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(ToolkitWindow, TheShownWindowPaintsTheLoopSwitchesFormsAndASecondOpenFails)
{
    exposes = idles = 0;
    tkOnExpose([] { ++exposes; });
    tkOnIdle(IdleUntilPainted);
    tkOnKey([](int32_t, int32_t) {
        tkOnIdle([] {
            tkOnIdle(nullptr);
            platform.PostMessageA(toolkitState.window, WM_CLOSE, 0, 0);
        });
        return int32_t(0);
    });
    const WCHAR title[] = {'w', 'i', 'd', 'e', 0};
    ASSERT_EQ(CreateToolkitWindow(title, true), 1);
    EXPECT_NE(glGetString(GL_VERSION), nullptr); // current on this thread
    tkRunLoop();
    EXPECT_GT(exposes, 0);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_EQ(tkOpenWindow("again"), 0);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Failed to register window class\n");
}

std::vector<std::pair<int32_t, int32_t>> reshapes;
RECT created;
std::vector<int64_t> Settings()
{
    const ToolkitState &s = toolkitState;
    return {s.modeFlags, s.formatPolicy, s.formatId, s.systemPlaces, ErrorBoxesOn(), s.sysColorCount, s.staticTakeover};
}
HWND WINAPI RecordedCreate(DWORD exStyle, LPCSTR name, LPCSTR title, DWORD style, int x, int y, int width, int height,
                           HWND parent, HMENU menu, HINSTANCE instance, LPVOID data)
{
    created = {x, y, x + width, y + height};
    return realPlatform.CreateWindowExA(exStyle, name, title, style, x, y, width, height, parent, menu, instance, data);
}

// A placed window is made around the estimated client corner, with the
// client area asked for. The loop starts with a reshape of its own, after
// those of the showing; minimising reshapes to nothing. The handles are null
// before and after, the settings stay; the loop returns at once without a
// window, handling what waits, and without a reshape.
TEST_F(ToolkitWindow, APlacedWindowIsMadeAsAskedAndReshapesAsTheLoopStartsAndWhenMinimised)
{
    EXPECT_TRUE(!tkWindowHandle() && !tkDeviceContext() && !tkRenderContext());
    platform.CreateWindowExA = RecordedCreate;
    tkPlaceWindow(100, 50, 640, 480);
    RECT outer{toolkitState.clientX, toolkitState.clientY, toolkitState.clientX + 640, toolkitState.clientY + 480};
    platform.AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    reshapes.clear();
    tkOnReshape([](int32_t width, int32_t height) { reshapes.emplace_back(width, height); });
    tkOnKey([](int32_t, int32_t) {
        platform.ShowWindow(toolkitState.window, SW_MINIMIZE);
        platform.PostMessageA(toolkitState.window, WM_CLOSE, 0, 0);
        return int32_t(0);
    });
    ASSERT_EQ(tkOpenWindow("placed"), 1);
    const std::vector<int64_t> settings = Settings();
    EXPECT_EQ(memcmp(&created, &outer, sizeof outer), 0);
    RECT client{};
    platform.GetClientRect(toolkitState.window, &client);
    EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(LONG(640), LONG(480)));
    const size_t shown = reshapes.size();
    platform.PostMessageA(toolkitState.window, WM_KEYDOWN, VK_SPACE, 0);
    tkRunLoop();
    ASSERT_GE(reshapes.size(), shown + 2);
    EXPECT_EQ(reshapes[shown], std::make_pair(640, 480));
    EXPECT_EQ(reshapes.back(), std::make_pair(0, 0));
    EXPECT_TRUE(!tkWindowHandle() && !tkDeviceContext() && !tkRenderContext());
    EXPECT_EQ(Settings(), settings);

    tkOnReshape([](int32_t width, int32_t height) { reshapes.emplace_back(width, height); });
    reshapes.clear();
    platform.PostThreadMessageA(platform.GetCurrentThreadId(), WM_USER + 3, 0, 0);
    tkRunLoop();
    MSG waiting;
    EXPECT_FALSE(platform.PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(reshapes.empty());
}

void WINAPI ReportingExit(UINT code)
{
    fprintf(stderr, "window %s\n", tkWindowHandle() ? "left" : "gone");
    realPlatform.ExitProcess(code);
}

TEST_F(ToolkitWindow, ExitProgramDestroysTheWindowAndEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            platform.ExitProcess = ReportingExit;
            if (tkOpenWindow("exiting"))
                tkExitProgram();
        },
        ::testing::ExitedWithCode(0), "window gone");
}

// The choosing and exact policies on the display's real formats: the
// context has what the flags asked for; an exact match also lacks what they
// did not ask for. Taking a number is checked on a scripted device.
TEST_F(ToolkitWindow, EachPolicySetsAFormatWhoseContextHasWhatWasAsked)
{
    const uint32_t rgba = TKMODE_RGBA | TKMODE_DOUBLE_BUFFER;
    const std::pair<int32_t, uint32_t> cases[] = {
        {TKPF_CHOOSE, rgba | TKMODE_DEPTH_BUFFER},
        {TKPF_CHOOSE, rgba | TKMODE_SHALLOW_DEPTH | TKMODE_STENCIL_BUFFER},
        {TKPF_EXACT, rgba | TKMODE_DEPTH_BUFFER | TKMODE_ALPHA},
        {TKPF_EXACT, TKMODE_RGBA | TKMODE_SINGLE_BUFFER},
        {TKPF_EXACT, rgba | TKMODE_ACCUM_BUFFER | TKMODE_ALPHA},
    };
    const std::pair<uint32_t, GLenum> buffers[] = {
        {TKMODE_DOUBLE_BUFFER, GL_DOUBLEBUFFER}, {TKMODE_DEPTH_BUFFER | TKMODE_SHALLOW_DEPTH, GL_DEPTH_BITS},
        {TKMODE_STENCIL_BUFFER, GL_STENCIL_BITS}, {TKMODE_ALPHA, GL_ALPHA_BITS},
        {TKMODE_ACCUM_BUFFER, GL_ACCUM_RED_BITS},
    };
    for (const auto &[policy, flags] : cases) {
        SCOPED_TRACE(std::to_string(policy) + " " + std::to_string(flags));
        tkSetFormatPolicy(policy);
        tkSetModeFlags(flags);
        ASSERT_EQ(tkOpenWindow("formats"), 1);
        for (const auto &[bit, name] : buffers) {
            GLint bits = 0;
            glGetIntegerv(name, &bits);
            const bool asked = (flags & bit) != 0;
            EXPECT_TRUE(policy == TKPF_EXACT ? asked == (bits > 0) : !asked || bits > 0) << name;
        }
        TearDown();
        SetUp();
    }
}

} // namespace
