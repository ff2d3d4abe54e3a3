// The toolkit window on the real platform: opening and its failures, the
// loop's two forms, redraws and closing.
#include <GL/gl.h>
#include <stdlib.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "toolkit/toolkit_state.h"
#include "toolkit/window_lifecycle.h"

namespace {

constexpr uint32_t kRgbaFlags = TKMODE_RGBA | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER;

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
        tkSetModeFlags(kRgbaFlags);
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
BOOL WINAPI FormatRefused(HDC, int, const PIXELFORMATDESCRIPTOR *) { return FALSE; }
HGLRC WINAPI NoContext(HDC) { return nullptr; }
BOOL WINAPI NotCurrent(HDC, HGLRC) { return FALSE; }

int exposes = 0, idles = 0;

TEST_F(ToolkitWindow, EveryFailedStepIsToldAndLeavesNothingButAQuitRequest)
{
    struct Row {
        const char *text;
        void (*fail)();
        bool windowMade;
    };
    const Row rows[] = {
        {"Failed to register window class\n", [] { platform.RegisterClassA = NoClass; }, false},
        {"create window failed\n", [] { platform.CreateWindowExA = NoWindow; }, false},
        {"Could not get an HDC for window 0x", [] { platform.GetDC = NoDC; }, true},
        {"Selecting a pixel format failed\n", [] { platform.ChoosePixelFormat = NoFormat; }, true},
        {"SetPixelFormat failed\n", [] { platform.SetPixelFormat = FormatRefused; }, true},
        {"wglCreateContext Failed\n", [] { platform.wglCreateContext = NoContext; }, true},
        {"wglMakeCurrent Failed\n", [] { platform.wglMakeCurrent = NotCurrent; }, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        ScopedPlatform failing;
        row.fail();
        tkOnKey([](int32_t, int32_t) { return int32_t(0); });
        EXPECT_EQ(tkOpenWindow("failing"), 0);
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text.rfind(row.text, 0), 0u) << messageBoxes[0].text;
        EXPECT_EQ(messageBoxes[0].caption, "Error");
        EXPECT_EQ(tkWindowHandle(), nullptr);
        EXPECT_EQ(tkDeviceContext(), nullptr);
        EXPECT_EQ(toolkitState.onKey == nullptr, row.windowMade); // teardown ran
        MSG quit;
        EXPECT_EQ(platform.PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, row.windowMade);
        DrainQueue();
        platform.UnregisterClassA("tkLibWClass", platform.GetModuleHandleA(nullptr));
    }
    messageBoxes.clear();
    tkShowErrorBoxes(0);
    platform.GetDC = NoDC;
    EXPECT_EQ(tkOpenWindow("silent"), 0);
    EXPECT_TRUE(messageBoxes.empty());
    tkRunLoop(); // the quit request the failure left: returns at once
}

TEST_F(ToolkitWindow, TheClassIsRegisteredOnceSoASecondOpenFails)
{
    const WCHAR title[] = {'w', 'i', 'd', 'e', 0};
    ASSERT_EQ(CreateToolkitWindow(title, true), 1);
    EXPECT_NE(glGetString(GL_VERSION), nullptr); // current on this thread
    tkShutWindow();
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_EQ(tkOpenWindow("again"), 0);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Failed to register window class\n");
}

// Three redraw requests before a paint: one expose. Clearing onIdle from
// inside onIdle turns the polling loop into the waiting one; registering it
// from a key turns it back.
int exposesForSpaces = -1;

void Settle()
{
    platform.Sleep(2); // the window manager's own repaints come and go meanwhile
    if (++idles < 100)
        return;
    tkOnIdle(nullptr);
    platform.PostMessageA(tkWindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(ToolkitWindow, RedrawsCoalesceAndTheLoopSwitchesForms)
{
    idles = 0;
    exposesForSpaces = -1;
    tkOnExpose([] { ++exposes; });
    tkOnIdle(Settle);
    tkOnKey([](int32_t key, int32_t) -> int32_t {
        if (key == TKKEY_SPACE)
            return 1;
        exposes = 0;
        for (int i = 0; i < 3; ++i)
            platform.PostMessageA(tkWindowHandle(), WM_KEYDOWN, VK_SPACE, 0);
        tkOnIdle([] {
            exposesForSpaces = exposes;
            tkOnIdle(nullptr);
            platform.PostMessageA(tkWindowHandle(), WM_CLOSE, 0, 0);
        });
        return 0;
    });
    ASSERT_EQ(tkOpenWindow("redraws"), 1);
    tkRunLoop();
    EXPECT_EQ(exposesForSpaces, 1);
}

GLint Bits(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// Every policy on the display's real formats: the context has what the
// flags asked for; an exact match also lacks what they did not ask for.
TEST_F(ToolkitWindow, EachPolicySetsAFormatWhoseContextHasWhatWasAsked)
{
    struct Case {
        int32_t policy;
        uint32_t flags;
    };
    const uint32_t rgba = TKMODE_RGBA;
    const Case cases[] = {
        {TKPF_CHOOSE, rgba | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER},
        {TKPF_CHOOSE, rgba | TKMODE_DOUBLE_BUFFER | TKMODE_SHALLOW_DEPTH | TKMODE_STENCIL_BUFFER},
        {TKPF_EXACT, rgba | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER | TKMODE_ALPHA},
        {TKPF_EXACT, rgba | TKMODE_SINGLE_BUFFER},
        {TKPF_EXACT, rgba | TKMODE_DOUBLE_BUFFER | TKMODE_ACCUM_BUFFER | TKMODE_ALPHA},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(std::to_string(each.policy) + " " + std::to_string(each.flags));
        tkSetFormatPolicy(each.policy);
        tkSetModeFlags(each.flags);
        ASSERT_EQ(tkOpenWindow("formats"), 1);
        const bool exact = each.policy == TKPF_EXACT;
        auto agrees = [&](uint32_t bit, GLenum name) {
            const bool asked = (each.flags & bit) != 0, present = Bits(name) > 0;
            return exact ? asked == present : !asked || present;
        };
        GLboolean doubleBuffered = GL_FALSE;
        glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
        EXPECT_EQ(doubleBuffered == GL_TRUE, (each.flags & TKMODE_DOUBLE_BUFFER) != 0);
        EXPECT_TRUE(agrees(TKMODE_DEPTH_BUFFER | TKMODE_SHALLOW_DEPTH, GL_DEPTH_BITS));
        EXPECT_TRUE(agrees(TKMODE_STENCIL_BUFFER, GL_STENCIL_BITS));
        EXPECT_TRUE(agrees(TKMODE_ALPHA, GL_ALPHA_BITS));
        EXPECT_TRUE(agrees(TKMODE_ACCUM_BUFFER, GL_ACCUM_RED_BITS));
        TearDown();
        SetUp();
    }

    // By number: the context is exactly what the description promised.
    tkSetFormatPolicy(TKPF_CHOOSE); // a window to read the list on
    ASSERT_EQ(tkOpenWindow("by number"), 1);
    HDC dc = tkDeviceContext();
    PIXELFORMATDESCRIPTOR d{};
    const int count = platform.DescribePixelFormat(dc, 1, sizeof d, &d);
    int chosen = 0;
    for (int n = 1; n <= count && !chosen; ++n) {
        platform.DescribePixelFormat(dc, n, sizeof d, &d);
        const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        if ((d.dwFlags & wanted) == wanted && d.iPixelType == PFD_TYPE_RGBA && d.cStencilBits && d.cDepthBits)
            chosen = n;
    }
    ASSERT_NE(chosen, 0);
    TearDown();
    SetUp();
    tkSetFormatPolicy(TKPF_BY_ID);
    tkSetFormatId(chosen);
    ASSERT_EQ(tkOpenWindow("by number"), 1);
    EXPECT_EQ(platform.GetPixelFormat(tkDeviceContext()), chosen);
    EXPECT_EQ(Bits(GL_DEPTH_BITS), d.cDepthBits);
    EXPECT_EQ(Bits(GL_STENCIL_BITS), d.cStencilBits);
    EXPECT_EQ(Bits(GL_RED_BITS) + Bits(GL_GREEN_BITS) + Bits(GL_BLUE_BITS), d.cRedBits + d.cGreenBits + d.cBlueBits);
}

} // namespace
