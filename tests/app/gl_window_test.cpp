// GLWindow against the real platform. Every window, context and class
// operation is logged through the wrapped table and can be failed by name;
// boxes are answered by script and logged as their text in brackets, so one
// log shows what was released, in which order, and where each box came.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/gl_window.h"
#include "tests/support/gl_context.h"
#include "tests/support/platform_script.h"

namespace {

std::string failing; // the one operation the wrappers fail, by its logged name

// Logs the call, then fails it with zero, as every one of these operations
// reports failure, when it is the one named in `failing`.
template <typename F, F PlatformTable::*member> struct Logged;
template <typename R, typename... A, R(WINAPI *PlatformTable::*member)(A...)>
struct Logged<R(WINAPI *)(A...), member> {
    inline static const char *name = "";
    static R WINAPI Call(A... arguments)
    {
        LogCall(name);
        return failing == name ? R() : (realPlatform.*member)(arguments...);
    }
};
#define LOGGED(op) Logged<decltype(PlatformTable::op), &PlatformTable::op>
#define LOG_CALL(op) (LOGGED(op)::name = #op, platform.op = LOGGED(op)::Call)

DWORD createdExStyle, createdStyle;
HWND WINAPI LoggedCreateWindow(DWORD exStyle, LPCSTR name, LPCSTR title, DWORD style, int x, int y, int width,
                               int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    createdExStyle = exStyle, createdStyle = style;
    return LOGGED(CreateWindowExA)::Call(exStyle, name, title, style, x, y, width, height, parent, menu, instance,
                                         parameter);
}

// Releasing with nothing current, after a failed bind, is refused by Wine and
// accepted elsewhere: here it always succeeds unless failed on purpose.
BOOL WINAPI LoggedMakeCurrent(HDC dc, HGLRC context)
{
    const char *name = context ? "wglMakeCurrent" : "wglMakeCurrent(none)";
    LogCall(name);
    return failing != name && (realPlatform.wglMakeCurrent(dc, context) || !context);
}

// The display is never really switched: the answer comes from the test.
LONG displaySwitch;
LONG WINAPI ScriptedDisplayMode(DEVMODEA *mode, DWORD flags)
{
    const bool asked = mode && mode->dmSize == 148 && mode->dmFields == (DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT) &&
                       mode->dmPelsWidth == 800 && mode->dmPelsHeight == 600 && mode->dmBitsPerPel == 16 &&
                       flags == CDS_FULLSCREEN;
    LogCall(mode ? (asked ? "ChangeDisplaySettingsA(800x600x16)" : "ChangeDisplaySettingsA(other)")
                 : "ChangeDisplaySettingsA(restore)");
    return mode ? displaySwitch : DISP_CHANGE_SUCCESSFUL;
}

int WINAPI LoggedShowCursor(BOOL show) { LogCall(show ? "ShowCursor(TRUE)" : "ShowCursor(FALSE)"); return 0; }

// Not posted: the test's own queue stays clean.
void WINAPI LoggedPostQuitMessage(int code) { LogCall("PostQuitMessage(" + std::to_string(code) + ")"); }

std::string Log()
{
    std::string joined;
    for (const std::string &entry : callLog)
        joined += (joined.empty() ? "" : " ") + entry;
    return joined;
}

// The viewport, a 45-degree perspective of this aspect from 0.1 to 300, and
// the model-view matrix selected for the frame loop.
void ExpectProjection(GLint width, GLint height, double aspect)
{
    GLint viewport[4], mode;
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, width, height}));
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / tan(22.5 * 3.14159265358979323846 / 180.0), nearPlane = 0.1, farPlane = 300.0;
    EXPECT_NEAR(m[5], f, 1e-6);
    EXPECT_NEAR(m[5] / m[0], aspect, aspect * 1e-6);
    EXPECT_NEAR(m[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-6);
    EXPECT_NEAR(m[14], 2 * farPlane * nearPlane / (nearPlane - farPlane), 1e-6);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        failing.clear();
        LOG_CALL(RegisterClassA), LOG_CALL(UnregisterClassA), LOG_CALL(CreateWindowExA), LOG_CALL(DestroyWindow);
        LOG_CALL(GetDC), LOG_CALL(ReleaseDC), LOG_CALL(ChoosePixelFormat), LOG_CALL(SetPixelFormat);
        LOG_CALL(wglCreateContext), LOG_CALL(wglDeleteContext), LOG_CALL(ShowWindow);
        platform.CreateWindowExA = LoggedCreateWindow;
        platform.wglMakeCurrent = LoggedMakeCurrent;
        platform.ChangeDisplaySettingsA = ScriptedDisplayMode;
        platform.ShowCursor = LoggedShowCursor;
        platform.PostQuitMessage = LoggedPostQuitMessage;
    }

    ScopedPlatform scoped;
};

#define OPEN_STEPS "CreateWindowExA GetDC ChoosePixelFormat SetPixelFormat wglCreateContext wglMakeCurrent ShowWindow"
#define CLOSE_STEPS "wglMakeCurrent(none) wglDeleteContext ReleaseDC DestroyWindow UnregisterClassA"
#define NO_ACTIVATION "wglMakeCurrent " CLOSE_STEPS " [Can't Activate The GL Rendering Context.]"

enum Phase { kOpen, kMakeCurrent, kClose };
// The operation that fails, and the log: for Open, from that operation on
// (what Close releases, then the one box); for the others, the whole call.
const struct Failure {
    const char *failing;
    Phase phase;
    const char *log;
} kFailures[] = {
    {"RegisterClassA", kOpen, "RegisterClassA [Failed To Register The Window Class.]"},
    {"CreateWindowExA", kOpen, "CreateWindowExA UnregisterClassA [Window Creation Error.]"},
    {"GetDC", kOpen, "GetDC DestroyWindow UnregisterClassA [Can't Create A GL Device Context.]"},
    {"ChoosePixelFormat", kOpen,
     "ChoosePixelFormat ReleaseDC DestroyWindow UnregisterClassA [Can't Find A Suitable PixelFormat.]"},
    {"SetPixelFormat", kOpen, "SetPixelFormat ReleaseDC DestroyWindow UnregisterClassA [Can't Set The PixelFormat.]"},
    {"wglCreateContext", kOpen,
     "wglCreateContext ReleaseDC DestroyWindow UnregisterClassA [Can't Create A GL Rendering Context.]"},
    {"wglMakeCurrent", kOpen, NO_ACTIVATION},
    {"wglMakeCurrent", kMakeCurrent, NO_ACTIVATION},
    {"wglMakeCurrent(none)", kClose,
     "wglMakeCurrent(none) [Release Of DC And RC Failed.] wglDeleteContext ReleaseDC DestroyWindow UnregisterClassA"},
    {"wglDeleteContext", kClose,
     "wglMakeCurrent(none) wglDeleteContext [Release Rendering Context Failed.] ReleaseDC DestroyWindow UnregisterClassA"},
    {"ReleaseDC", kClose,
     "wglMakeCurrent(none) wglDeleteContext ReleaseDC [Release Device Context Failed.] DestroyWindow UnregisterClassA"},
    // A window that is not destroyed keeps its class registered.
    {"DestroyWindow", kClose, "wglMakeCurrent(none) wglDeleteContext ReleaseDC DestroyWindow [Could Not Release hWnd.] "
                              "UnregisterClassA [Could Not Unregister Class.]"},
    {"UnregisterClassA", kClose, CLOSE_STEPS " [Could Not Unregister Class.]"},
};

TEST_F(GLWindowTest, EachFailureShowsItsBoxAfterWhatCloseReleases)
{
    for (const Failure &row : kFailures) {
        SCOPED_TRACE(std::string(row.failing) + " in phase " + std::to_string(row.phase));
        GLWindow window;
        ResetScript();
        if (row.phase != kOpen) {
            ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
            ResetScript();
        }
        const HWND hwnd = window.hWnd;
        const HGLRC context = window.glContext;
        const HINSTANCE instance = window.moduleInstance;
        failing = row.failing;
        if (row.phase == kClose)
            window.Close();
        else
            EXPECT_FALSE(row.phase == kOpen ? window.Open("Open Voskar", 800, 600, 16, false) : window.MakeCurrent());
        failing.clear();
        const std::string log = Log();
        const size_t length = strlen(row.log);
        EXPECT_EQ(row.phase == kOpen && log.size() > length ? log.substr(log.size() - length) : log, row.log);
        for (const MessageBoxRecord &box : messageBoxes) {
            EXPECT_EQ(box.caption, row.phase == kClose ? "SHUTDOWN ERROR" : "ERROR") << box.text;
            EXPECT_EQ(box.flags, UINT(MB_OK | (row.phase == kClose ? MB_ICONINFORMATION : MB_ICONEXCLAMATION)));
        }
        if (row.phase != kClose) {
            EXPECT_EQ(messageBoxes.size(), 1u);
        }
        EXPECT_EQ(window.glContext, nullptr) << "forgotten even when not deleted";
        // Give back what a failed release kept; the rest refuses quietly.
        realPlatform.wglDeleteContext(context);
        realPlatform.DestroyWindow(hwnd);
        realPlatform.UnregisterClassA("OpenGL", instance);
    }
}

#define QUESTION "[The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?]"

const struct FullscreenCase {
    LONG switchResult;
    int answer;
    const char *open;
    const char *close; // null: Open fails and Close does not run
} kFullscreenCases[] = {
    {DISP_CHANGE_SUCCESSFUL, IDOK, "RegisterClassA ChangeDisplaySettingsA(800x600x16) ShowCursor(FALSE) " OPEN_STEPS,
     "ChangeDisplaySettingsA(restore) ShowCursor(TRUE) " CLOSE_STEPS},
    {DISP_CHANGE_BADMODE, IDYES, "RegisterClassA ChangeDisplaySettingsA(800x600x16) " QUESTION " " OPEN_STEPS, CLOSE_STEPS},
    {DISP_CHANGE_BADMODE, IDNO, "RegisterClassA ChangeDisplaySettingsA(800x600x16) " QUESTION " [Program Will Now Close.]",
     nullptr},
};

TEST_F(GLWindowTest, FullscreenSwitchesOrFallsBackAsTheUserAnswers)
{
    for (const FullscreenCase &row : kFullscreenCases) {
        SCOPED_TRACE(row.open);
        ResetScript();
        displaySwitch = row.switchResult;
        messageBoxAnswer = row.answer;
        GLWindow window;
        EXPECT_EQ(window.Open("Open Voskar", 800, 600, 16, true), row.close != nullptr);
        EXPECT_EQ(Log(), row.open);
        if (!row.close) {
            ASSERT_EQ(messageBoxes.size(), 2u);
            EXPECT_EQ(messageBoxes[0].caption, "Zelo GL");
            EXPECT_EQ(messageBoxes[0].flags, UINT(MB_YESNO | MB_ICONEXCLAMATION));
            EXPECT_EQ(messageBoxes[1].caption, "ERROR");
            EXPECT_EQ(messageBoxes[1].flags, UINT(MB_OK | MB_ICONSTOP));
            EXPECT_TRUE(realPlatform.UnregisterClassA("OpenGL", window.moduleInstance)) << "class left registered";
            continue;
        }
        callLog.clear();
        window.Close();
        EXPECT_EQ(Log(), row.close);
    }
}

TEST_F(GLWindowTest, OpenSetsStylesClientAreaProjectionStateAndTheFirstPixelFormat)
{
    GLWindow window;
    ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
    // A title bar, system menu and minimise box, but no sizing border, no
    // maximise box, and hidden until Open shows it.
    EXPECT_EQ(createdExStyle, DWORD(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
    EXPECT_EQ(createdStyle, DWORD(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT client;
    ASSERT_TRUE(platform.GetClientRect(window.hWnd, &client));
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 600);
    ExpectProjection(800, 600, 800.0 / 600.0);
    // Of the fixed state, what the picture shows: the depth test and a black background.
    GLint depthFunction;
    GLfloat clear[4];
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(depthFunction, GL_LEQUAL);
    EXPECT_EQ(std::vector<GLfloat>(clear, clear + 4), (std::vector<GLfloat>{0, 0, 0, 0.5f}));
    window.Close();

    // A height of 0 is taken as 1; a later Open keeps the first one's descriptor.
    ASSERT_TRUE(window.Open("Open Voskar", 640, 0, 32, false));
    ExpectProjection(640, 1, 640.0);
    window.Close();
    const PIXELFORMATDESCRIPTOR expected = DoubleBufferedRgbaFormat(16);
    EXPECT_EQ(memcmp(&glWindowPixelFormat, &expected, sizeof expected), 0);
}

const struct Delivery {
    UINT message;
    WPARAM wParam;
    const char *log; // what was passed on; empty: handled here
    bool active;     // the window's flag afterwards
} kDeliveries[] = {
    {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), "", false}, // minimised
    {WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), "", true},    // restored
    {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), "", true},  // another window activated
    {WM_SYSCOMMAND, SC_SCREENSAVE, "", true},
    {WM_SYSCOMMAND, SC_MONITORPOWER, "", true},
    {WM_KEYDOWN, VK_ESCAPE, "", true},
    {WM_KEYUP, VK_ESCAPE, "", true},
    {WM_SIZE, SIZE_RESTORED, "", true},
    {WM_NULL, 0, "DefWindowProcA", true},
    // The close box: default handling sends WM_CLOSE, which only asks to quit.
    {WM_SYSCOMMAND, SC_CLOSE, "DefWindowProcA PostQuitMessage(0)", true},
};

TEST_F(GLWindowTest, WindowProcedureHandlesEachMessageAsTabled)
{
    GLWindow window;
    ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
    LOG_CALL(DefWindowProcA);
    for (const Delivery &row : kDeliveries) {
        SCOPED_TRACE(::testing::Message() << "message " << row.message << ", wParam " << row.wParam);
        callLog.clear();
        // The lParam is a new size for WM_SIZE; the others ignore it.
        EXPECT_EQ(GLWindowProc(window.hWnd, row.message, row.wParam, MAKELPARAM(320, 200)), 0);
        EXPECT_EQ(Log(), row.log);
        EXPECT_EQ(window.active, row.active);
    }
    ExpectProjection(800, 600, 800.0 / 600.0);
    window.Close();
}

} // namespace
