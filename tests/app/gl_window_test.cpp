// GLWindow against the real platform. Every window, context and class
// operation is logged through the wrapped table and can be failed by name;
// boxes are answered by script and logged as their text in brackets, so one
// log shows what was released, in which order, and where each box came.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <algorithm>
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

void ExpectBoxKind(const char *caption, UINT flags)
{
    for (const MessageBoxRecord &box : messageBoxes) {
        EXPECT_EQ(box.caption, caption) << box.text;
        EXPECT_EQ(box.flags, flags) << box.text;
    }
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
        LOG_CALL(RegisterClassA);
        LOG_CALL(UnregisterClassA);
        LOG_CALL(CreateWindowExA);
        LOG_CALL(DestroyWindow);
        LOG_CALL(GetDC);
        LOG_CALL(ReleaseDC);
        LOG_CALL(ChoosePixelFormat);
        LOG_CALL(SetPixelFormat);
        LOG_CALL(wglCreateContext);
        LOG_CALL(wglDeleteContext);
        platform.wglMakeCurrent = LoggedMakeCurrent;
        platform.ChangeDisplaySettingsA = ScriptedDisplayMode;
        platform.ShowCursor = LoggedShowCursor;
        platform.PostQuitMessage = LoggedPostQuitMessage;
    }

    ScopedPlatform scoped;
};

#define OPEN_STEPS "CreateWindowExA GetDC ChoosePixelFormat SetPixelFormat wglCreateContext wglMakeCurrent"
#define CLOSE_STEPS "wglMakeCurrent(none) wglDeleteContext ReleaseDC DestroyWindow UnregisterClassA"

// From the failed operation on: what Close releases, then the one box.
const char kActivateFailure[] = "wglMakeCurrent " CLOSE_STEPS " [Can't Activate The GL Rendering Context.]";
const char *const kOpenFailures[][2] = {
    {"RegisterClassA", "RegisterClassA [Failed To Register The Window Class.]"},
    {"CreateWindowExA", "CreateWindowExA UnregisterClassA [Window Creation Error.]"},
    {"GetDC", "GetDC DestroyWindow UnregisterClassA [Can't Create A GL Device Context.]"},
    {"ChoosePixelFormat", "ChoosePixelFormat ReleaseDC DestroyWindow UnregisterClassA [Can't Find A Suitable PixelFormat.]"},
    {"SetPixelFormat", "SetPixelFormat ReleaseDC DestroyWindow UnregisterClassA [Can't Set The PixelFormat.]"},
    {"wglCreateContext", "wglCreateContext ReleaseDC DestroyWindow UnregisterClassA [Can't Create A GL Rendering Context.]"},
    {"wglMakeCurrent", kActivateFailure},
};

TEST_F(GLWindowTest, EachOpenFailureReleasesWhatWasTakenThenShowsOneBox)
{
    for (const auto &row : kOpenFailures) {
        SCOPED_TRACE(row[0]);
        ResetScript();
        failing = row[0];
        GLWindow window;
        EXPECT_FALSE(window.Open("Open Voskar", 800, 600, 16, false));
        const std::string log = Log();
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), strlen(row[1]))), row[1]);
        EXPECT_EQ(messageBoxes.size(), 1u);
        ExpectBoxKind("ERROR", MB_OK | MB_ICONEXCLAMATION);
    }
}

TEST_F(GLWindowTest, MakeCurrentFailureClosesFirstThenShowsTheBox)
{
    GLWindow window;
    ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
    ResetScript();
    failing = "wglMakeCurrent";
    EXPECT_FALSE(window.MakeCurrent());
    EXPECT_EQ(Log(), kActivateFailure);
    ExpectBoxKind("ERROR", MB_OK | MB_ICONEXCLAMATION);
}

// The release that fails and the whole log of Close.
const char *const kCloseFailures[][2] = {
    {"wglMakeCurrent(none)",
     "wglMakeCurrent(none) [Release Of DC And RC Failed.] wglDeleteContext ReleaseDC DestroyWindow UnregisterClassA"},
    {"wglDeleteContext",
     "wglMakeCurrent(none) wglDeleteContext [Release Rendering Context Failed.] ReleaseDC DestroyWindow UnregisterClassA"},
    {"ReleaseDC",
     "wglMakeCurrent(none) wglDeleteContext ReleaseDC [Release Device Context Failed.] DestroyWindow UnregisterClassA"},
    // A window that is not destroyed keeps its class registered.
    {"DestroyWindow", "wglMakeCurrent(none) wglDeleteContext ReleaseDC DestroyWindow [Could Not Release hWnd.] "
                      "UnregisterClassA [Could Not Unregister Class.]"},
    {"UnregisterClassA", CLOSE_STEPS " [Could Not Unregister Class.]"},
};

TEST_F(GLWindowTest, EachCloseFailureShowsItsBoxAndCloseGoesOn)
{
    for (const auto &row : kCloseFailures) {
        SCOPED_TRACE(row[0]);
        GLWindow window;
        ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
        const HWND hwnd = window.hWnd;
        const HGLRC context = window.glContext;
        const HINSTANCE instance = window.moduleInstance;
        ResetScript();
        failing = row[0];
        window.Close();
        EXPECT_EQ(Log(), row[1]);
        ExpectBoxKind("SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(window.glContext, nullptr) << "forgotten even when not deleted";
        // Give back what the failed release kept; the rest refuses quietly.
        realPlatform.wglDeleteContext(context);
        realPlatform.DestroyWindow(hwnd);
        realPlatform.UnregisterClassA("OpenGL", instance);
    }
}

#define QUESTION "[The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?]"

struct FullscreenCase {
    LONG switchResult;
    int answer;
    const char *open;
    const char *close; // null: Open fails and Close does not run
};

const FullscreenCase kFullscreenCases[] = {
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

TEST_F(GLWindowTest, OpenSetsClientAreaProjectionStateAndTheFirstPixelFormat)
{
    GLWindow window;
    ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, false));
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

struct Delivery {
    UINT message;
    WPARAM wParam;
    const char *log; // what was passed on; empty: handled here
    bool active;     // the window's flag afterwards
};

const Delivery kDeliveries[] = {
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
        const LRESULT result = GLWindowProc(window.hWnd, row.message, row.wParam, MAKELPARAM(320, 200));
        EXPECT_EQ(Log(), row.log);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(window.active, row.active);
    }
    ExpectProjection(800, 600, 800.0 / 600.0);

    // Messages that come before Open binds the window get default handling only.
    platform.SetWindowLongPtrA(window.hWnd, GWLP_USERDATA, 0);
    callLog.clear();
    GLWindowProc(window.hWnd, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_EQ(Log(), "DefWindowProcA");
    EXPECT_TRUE(window.active);
    window.Close();
}

} // namespace
