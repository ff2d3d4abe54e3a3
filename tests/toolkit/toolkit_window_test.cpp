// The toolkit window on the real platform: opening and its failures, the
// loop's two forms, redraws and closing.
#include <GL/gl.h>
#include <stdlib.h>

#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "toolkit/toolkit_state.h"
#include "toolkit/window_lifecycle.h"

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
        EXPECT_EQ(platform.PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, windowMade);
        DrainQueue();
        platform.UnregisterClassA("tkLibWClass", platform.GetModuleHandleA(nullptr));
    }
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
