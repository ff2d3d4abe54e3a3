// GLWindow against the real platform, with single operations failed or
// scripted through the wrapped table. Message boxes are answered by script.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <algorithm>

#include "app/gl_window.h"
#include "tests/support/platform_script.h"

namespace {

const UINT kOpenErrorFlags = MB_OK | MB_ICONEXCLAMATION;
const UINT kShutdownErrorFlags = MB_OK | MB_ICONINFORMATION;

bool Logged(const char *name)
{
    return std::find(callLog.begin(), callLog.end(), name) != callLog.end();
}

size_t LogIndex(const char *name)
{
    return static_cast<size_t>(std::find(callLog.begin(), callLog.end(), name) - callLog.begin());
}

// Close always ends by unregistering the class: logging it tells whether Close ran.
BOOL WINAPI LoggedUnregisterClass(LPCSTR name, HINSTANCE instance)
{
    LogCall("UnregisterClassA");
    return realPlatform.UnregisterClassA(name, instance);
}

ATOM WINAPI FailRegisterClass(const WNDCLASSA *) { return 0; }
HWND WINAPI FailCreateWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}
HDC WINAPI FailGetDC(HWND) { return nullptr; }
int WINAPI FailChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR *) { return 0; }
BOOL WINAPI FailSetPixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR *) { return FALSE; }
HGLRC WINAPI FailCreateContext(HDC) { return nullptr; }
// Only binding fails; releasing succeeds, there being nothing current.
BOOL WINAPI FailBindContext(HDC, HGLRC context)
{
    return context ? FALSE : TRUE;
}
BOOL WINAPI FailReleaseContext(HDC dc, HGLRC context)
{
    if (!context)
        return FALSE;
    return realPlatform.wglMakeCurrent(dc, context);
}
BOOL WINAPI FailDeleteContext(HGLRC) { return FALSE; }
int WINAPI FailReleaseDC(HWND, HDC) { return 0; }
BOOL WINAPI FailDestroyWindow(HWND) { return FALSE; }
BOOL WINAPI FailUnregisterClass(LPCSTR, HINSTANCE) { return FALSE; }

LONG WINAPI RefuseDisplayMode(DEVMODEA *mode, DWORD flags)
{
    LogCall(mode ? "ChangeDisplaySettingsA(mode)" : "ChangeDisplaySettingsA(restore)");
    EXPECT_TRUE(mode == nullptr || flags == CDS_FULLSCREEN);
    return mode ? DISP_CHANGE_BADMODE : DISP_CHANGE_SUCCESSFUL;
}
int WINAPI LoggedShowCursor(BOOL show)
{
    LogCall(show ? "ShowCursor(TRUE)" : "ShowCursor(FALSE)");
    return 0;
}

LRESULT WINAPI LoggedDefWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    LogCall("DefWindowProcA");
    return realPlatform.DefWindowProcA(w, m, wp, lp);
}
// Default handling of WM_CLOSE would destroy the window; the test still needs it.
LRESULT WINAPI DefWindowProcKeepingTheWindow(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    LogCall(m == WM_CLOSE ? "DefWindowProcA(WM_CLOSE)" : "DefWindowProcA");
    return m == WM_CLOSE ? 0 : realPlatform.DefWindowProcA(w, m, wp, lp);
}
BOOL WINAPI LoggedDestroyWindow(HWND h)
{
    LogCall("DestroyWindow");
    return realPlatform.DestroyWindow(h);
}
int quitCode = -1;
void WINAPI LoggedPostQuitMessage(int code)
{
    LogCall("PostQuitMessage");
    quitCode = code;
}

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.UnregisterClassA = LoggedUnregisterClass;
        quitCode = -1;
    }

    bool OpenWindowed(int width = 800, int height = 600) { return window.Open("Open Voskar", width, height, 16, false); }

    ScopedPlatform scoped;
    GLWindow window;
};

struct OpenFailure {
    const char *name;
    void (*inject)();
    const char *text;
    bool closeRuns;
};

const OpenFailure kOpenFailures[] = {
    {"RegisterClass", [] { platform.RegisterClassA = FailRegisterClass; }, "Failed To Register The Window Class.", false},
    {"CreateWindow", [] { platform.CreateWindowExA = FailCreateWindow; }, "Window Creation Error.", true},
    {"GetDC", [] { platform.GetDC = FailGetDC; }, "Can't Create A GL Device Context.", true},
    {"ChoosePixelFormat", [] { platform.ChoosePixelFormat = FailChoosePixelFormat; }, "Can't Find A Suitable PixelFormat.", true},
    {"SetPixelFormat", [] { platform.SetPixelFormat = FailSetPixelFormat; }, "Can't Set The PixelFormat.", true},
    {"CreateContext", [] { platform.wglCreateContext = FailCreateContext; }, "Can't Create A GL Rendering Context.", true},
    {"MakeCurrent", [] { platform.wglMakeCurrent = FailBindContext; }, "Can't Activate The GL Rendering Context.", true},
};

TEST_F(GLWindowTest, EachOpenFailureShowsOneBoxAfterCloseAndReturnsFalse)
{
    for (const OpenFailure &row : kOpenFailures) {
        SCOPED_TRACE(row.name);
        ScopedPlatform rowScope;
        platform.UnregisterClassA = LoggedUnregisterClass;
        row.inject();
        GLWindow w;

        EXPECT_FALSE(w.Open("Open Voskar", 800, 600, 16, false));

        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, row.text);
        EXPECT_EQ(messageBoxes[0].caption, "ERROR");
        EXPECT_EQ(messageBoxes[0].flags, kOpenErrorFlags);
        EXPECT_EQ(Logged("UnregisterClassA"), row.closeRuns);
        if (row.closeRuns) {
            EXPECT_LT(LogIndex("UnregisterClassA"), LogIndex("MessageBoxA")) << "box shown before Close";
        }
        EXPECT_EQ(w.hWnd, nullptr);
        EXPECT_EQ(w.windowDC, nullptr);
        EXPECT_EQ(w.glContext, nullptr);
    }
}

TEST_F(GLWindowTest, FullscreenRefusedAndAcceptedGoesOnWindowedAndCloseLeavesTheDisplayAlone)
{
    platform.ChangeDisplaySettingsA = RefuseDisplayMode;
    platform.ShowCursor = LoggedShowCursor;
    messageBoxAnswer = IDYES;

    ASSERT_TRUE(window.Open("Open Voskar", 800, 600, 16, true));
    EXPECT_FALSE(window.fullscreen);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(messageBoxes[0].caption, "Zelo GL");
    EXPECT_EQ(messageBoxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));

    callLog.clear();
    window.Close();
    EXPECT_FALSE(Logged("ChangeDisplaySettingsA(restore)"));
    EXPECT_FALSE(Logged("ShowCursor(TRUE)"));
    EXPECT_TRUE(Logged("UnregisterClassA"));
    EXPECT_EQ(messageBoxes.size(), 1u);
}

TEST_F(GLWindowTest, FullscreenRefusedAndDeclinedEndsWithoutCloseAndLeavesTheClassRegistered)
{
    platform.ChangeDisplaySettingsA = RefuseDisplayMode;
    messageBoxAnswer = IDNO;

    EXPECT_FALSE(window.Open("Open Voskar", 800, 600, 16, true));
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[1].text, "Program Will Now Close.");
    EXPECT_EQ(messageBoxes[1].caption, "ERROR");
    EXPECT_EQ(messageBoxes[1].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_FALSE(Logged("UnregisterClassA"));
    EXPECT_EQ(window.hWnd, nullptr);
    EXPECT_TRUE(realPlatform.UnregisterClassA("OpenGL", realPlatform.GetModuleHandleA(nullptr)));
}

struct CloseFailure {
    const char *name;
    void (*inject)();
    const char *text;
};

const CloseFailure kCloseFailures[] = {
    {"ReleaseContext", [] { platform.wglMakeCurrent = FailReleaseContext; }, "Release Of DC And RC Failed."},
    {"DeleteContext", [] { platform.wglDeleteContext = FailDeleteContext; }, "Release Rendering Context Failed."},
    {"ReleaseDC", [] { platform.ReleaseDC = FailReleaseDC; }, "Release Device Context Failed."},
    {"DestroyWindow", [] { platform.DestroyWindow = FailDestroyWindow; }, "Could Not Release hWnd."},
    {"UnregisterClass", [] { platform.UnregisterClassA = FailUnregisterClass; }, "Could Not Unregister Class."},
};

TEST_F(GLWindowTest, EachCloseFailureShowsOneShutdownBoxAndCloseGoesOn)
{
    for (const CloseFailure &row : kCloseFailures) {
        SCOPED_TRACE(row.name);
        ScopedPlatform rowScope;
        GLWindow w;
        ASSERT_TRUE(w.Open("Open Voskar", 800, 600, 16, false));
        HWND hwnd = w.hWnd;
        HGLRC context = w.glContext;
        HINSTANCE instance = w.moduleInstance;

        callLog.clear();
        platform.DestroyWindow = LoggedDestroyWindow;
        platform.UnregisterClassA = LoggedUnregisterClass;
        row.inject();
        w.Close();

        // A window that could not be destroyed also keeps its class registered.
        const bool windowKept = strcmp(row.name, "DestroyWindow") == 0;
        ASSERT_EQ(messageBoxes.size(), windowKept ? 2u : 1u);
        EXPECT_EQ(messageBoxes[0].text, row.text);
        if (windowKept) {
            EXPECT_EQ(messageBoxes[1].text, "Could Not Unregister Class.");
        }
        for (const MessageBoxRecord &box : messageBoxes) {
            EXPECT_EQ(box.caption, "SHUTDOWN ERROR");
            EXPECT_EQ(box.flags, kShutdownErrorFlags);
        }
        // Every later step still ran.
        if (strcmp(row.name, "DestroyWindow") != 0) {
            EXPECT_TRUE(Logged("DestroyWindow"));
        }
        if (strcmp(row.name, "UnregisterClass") != 0) {
            EXPECT_TRUE(Logged("UnregisterClassA"));
        }

        // Give back what the failed step kept, so the next row starts clean.
        if (strcmp(row.name, "DeleteContext") == 0)
            realPlatform.wglDeleteContext(context);
        if (strcmp(row.name, "DestroyWindow") == 0) {
            realPlatform.DestroyWindow(hwnd);
            realPlatform.UnregisterClassA("OpenGL", instance);
        }
        if (strcmp(row.name, "UnregisterClass") == 0) {
            EXPECT_TRUE(realPlatform.UnregisterClassA("OpenGL", instance));
        }
    }
}

TEST_F(GLWindowTest, MakeCurrentFailureClosesTheWindowAndReports)
{
    ASSERT_TRUE(OpenWindowed());
    callLog.clear();
    platform.wglMakeCurrent = FailBindContext;

    EXPECT_FALSE(window.MakeCurrent());
    EXPECT_TRUE(Logged("UnregisterClassA"));
    EXPECT_EQ(window.hWnd, nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Can't Activate The GL Rendering Context.");
    EXPECT_EQ(messageBoxes[0].caption, "ERROR");
    EXPECT_EQ(messageBoxes[0].flags, kOpenErrorFlags);
}

TEST_F(GLWindowTest, WindowedClientAreaIsExactlyTheRequestedSize)
{
    ASSERT_TRUE(OpenWindowed(800, 600));
    RECT client;
    ASSERT_TRUE(platform.GetClientRect(window.hWnd, &client));
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 600);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    window.Close();
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(GLWindowTest, ZeroHeightIsTakenAsOneForViewportAndAspect)
{
    ASSERT_TRUE(OpenWindowed(640, 0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);

    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / tan(22.5 * 3.14159265358979323846 / 180.0);
    const double nearPlane = 0.1, farPlane = 300.0;
    EXPECT_NEAR(m[5], f, 1e-6);
    EXPECT_NEAR(m[5] / m[0], 640.0, 1e-3); // aspect width / 1, a real division
    EXPECT_NEAR(m[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-6);
    EXPECT_NEAR(m[14], 2 * farPlane * nearPlane / (nearPlane - farPlane), 1e-6);
    window.Close();
}

TEST_F(GLWindowTest, OpenLeavesTheFixedStateAndTheFirstPixelFormatForTheProcess)
{
    ASSERT_TRUE(OpenWindowed());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint value;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    window.Close();

    // A later Open with other bits keeps the first call's descriptor.
    ASSERT_TRUE(window.Open("Open Voskar", 320, 200, 32, false));
    window.Close();
    EXPECT_EQ(glWindowPixelFormat.nSize, 40);
    EXPECT_EQ(glWindowPixelFormat.nVersion, 1);
    EXPECT_EQ(glWindowPixelFormat.dwFlags, 0x25u);
    EXPECT_EQ(glWindowPixelFormat.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(glWindowPixelFormat.cColorBits, 16);
    EXPECT_EQ(glWindowPixelFormat.cDepthBits, 16);
    EXPECT_EQ(glWindowPixelFormat.cStencilBits, 0);
}

TEST_F(GLWindowTest, WindowProcedureHandlesEachMessageAsTabled)
{
    ASSERT_TRUE(OpenWindowed());
    platform.DefWindowProcA = LoggedDefWindowProc;
    platform.PostQuitMessage = LoggedPostQuitMessage;
    HWND h = window.hWnd;

    callLog.clear();
    EXPECT_EQ(GLWindowProc(h, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0), 0);
    EXPECT_FALSE(window.active) << "minimised";
    EXPECT_EQ(GLWindowProc(h, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0), 0);
    EXPECT_TRUE(window.active) << "restored";
    EXPECT_EQ(GLWindowProc(h, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0), 0);
    EXPECT_TRUE(window.active) << "deactivated only";

    EXPECT_EQ(GLWindowProc(h, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(GLWindowProc(h, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_EQ(GLWindowProc(h, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(GLWindowProc(h, WM_KEYUP, VK_ESCAPE, 0), 0);
    EXPECT_EQ(GLWindowProc(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 200)), 0);
    EXPECT_TRUE(callLog.empty()) << "no default handling for these";
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800) << "WM_SIZE must not touch the viewport";

    GLWindowProc(h, WM_NULL, 0, 0);
    EXPECT_TRUE(Logged("DefWindowProcA"));

    // The close box arrives as SC_CLOSE; default handling turns it into
    // WM_CLOSE, which posts the quit message and leaves the window up.
    callLog.clear();
    GLWindowProc(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Logged("DefWindowProcA"));
    EXPECT_TRUE(Logged("PostQuitMessage"));
    EXPECT_EQ(quitCode, 0);
    RECT client;
    EXPECT_TRUE(platform.GetClientRect(h, &client)) << "window destroyed by WM_CLOSE";
    window.Close();
}

TEST_F(GLWindowTest, MessagesBeforeBindingGetDefaultHandling)
{
    platform.PostQuitMessage = LoggedPostQuitMessage;
    platform.DefWindowProcA = DefWindowProcKeepingTheWindow;
    ASSERT_TRUE(OpenWindowed());
    platform.SetWindowLongPtrA(window.hWnd, GWLP_USERDATA, 0);

    GLWindowProc(window.hWnd, WM_CLOSE, 0, 0);
    GLWindowProc(window.hWnd, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_TRUE(Logged("DefWindowProcA(WM_CLOSE)"));
    EXPECT_FALSE(Logged("PostQuitMessage"));
    EXPECT_TRUE(window.active);
    window.Close();
}

} // namespace
