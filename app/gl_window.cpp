#include "app/gl_window.h"

#include <string.h>

#include <GL/gl.h>
#include <GL/glu.h>

PIXELFORMATDESCRIPTOR glWindowPixelFormat;

namespace {

const char kClassName[] = "OpenGL";
const char kCannotActivate[] = "Can't Activate The GL Rendering Context.";

// The display-mode record as the older, 148-byte DEVMODE: without the
// panning fields that later headers append.
const WORD kDisplayModeRecordSize = 148;

bool pixelFormatFilled = false;

void ShowOpenError(const char *text)
{
    platform.MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

void ShowShutdownError(const char *text)
{
    platform.MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

void FillPixelFormat(int bits)
{
    PIXELFORMATDESCRIPTOR &pfd = glWindowPixelFormat;
    memset(&pfd, 0, sizeof pfd);
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(bits);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
}

bool SwitchToFullscreen(int width, int height, int bits)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = kDisplayModeRecordSize;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void SetProjection(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 0.1, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace

bool GLWindow::Open(const char *title, int width, int height, int bits, bool fullscreenRequested)
{
    fullscreen = fullscreenRequested;
    moduleInstance = platform.GetModuleHandleA(nullptr);

    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = GLWindowProc;
    windowClass.hInstance = moduleInstance;
    windowClass.hIcon = platform.LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = platform.LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!platform.RegisterClassA(&windowClass)) {
        ShowOpenError("Failed To Register The Window Class.");
        return false;
    }

    if (fullscreen && !SwitchToFullscreen(width, height, bits)) {
        if (platform.MessageBoxA(nullptr,
                                 "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                                 "Zelo GL", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
            fullscreen = false;
        } else {
            platform.MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
            return false;
        }
    }

    const char *failure = MakeWindowAndContext(title, width, height, bits);
    if (failure) {
        Close();
        ShowOpenError(failure);
        return false;
    }
    return true;
}

// From the window's creation on, every failure undoes all of it the same way:
// the text it returns is shown after Close has run.
const char *GLWindow::MakeWindowAndContext(const char *title, int width, int height, int bits)
{
    DWORD exStyle;
    DWORD style;
    if (fullscreen) {
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
        platform.ShowCursor(FALSE);
    } else {
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    }

    RECT outer = {0, 0, width, height};
    platform.AdjustWindowRectEx(&outer, style, FALSE, exStyle);

    hWnd = platform.CreateWindowExA(exStyle, kClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                    moduleInstance, nullptr);
    if (!hWnd)
        return "Window Creation Error.";

    // Bound before the window is first shown, so every activation message finds it.
    platform.SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    if (!pixelFormatFilled) {
        FillPixelFormat(bits);
        pixelFormatFilled = true;
    }

    windowDC = platform.GetDC(hWnd);
    if (!windowDC)
        return "Can't Create A GL Device Context.";
    int format = platform.ChoosePixelFormat(windowDC, &glWindowPixelFormat);
    if (format == 0)
        return "Can't Find A Suitable PixelFormat.";
    if (!platform.SetPixelFormat(windowDC, format, &glWindowPixelFormat))
        return "Can't Set The PixelFormat.";
    glContext = platform.wglCreateContext(windowDC);
    if (!glContext)
        return "Can't Create A GL Rendering Context.";
    if (!platform.wglMakeCurrent(windowDC, glContext))
        return kCannotActivate;

    platform.ShowWindow(hWnd, SW_SHOW);
    platform.SetForegroundWindow(hWnd);
    platform.SetFocus(hWnd);

    SetProjection(width, height);
    return SetupGLState() ? nullptr : "Initialization Failed.";
}

// Every handle is forgotten once released, whether the release worked or not,
// so a second Close finds nothing to release twice.
void GLWindow::Close()
{
    if (fullscreen) {
        platform.ChangeDisplaySettingsA(nullptr, 0);
        platform.ShowCursor(TRUE);
    }

    if (glContext) {
        if (!platform.wglMakeCurrent(nullptr, nullptr))
            ShowShutdownError("Release Of DC And RC Failed.");
        if (!platform.wglDeleteContext(glContext))
            ShowShutdownError("Release Rendering Context Failed.");
        glContext = nullptr;
    }

    if (windowDC) {
        if (!platform.ReleaseDC(hWnd, windowDC))
            ShowShutdownError("Release Device Context Failed.");
        windowDC = nullptr;
    }

    if (hWnd) {
        if (!platform.DestroyWindow(hWnd))
            ShowShutdownError("Could Not Release hWnd.");
        hWnd = nullptr;
    }

    if (!platform.UnregisterClassA(kClassName, moduleInstance))
        ShowShutdownError("Could Not Unregister Class.");
    moduleInstance = nullptr;
}

BOOL GLWindow::Swap()
{
    return platform.SwapBuffers(windowDC);
}

bool GLWindow::MakeCurrent()
{
    if (!platform.wglMakeCurrent(windowDC, glContext)) {
        Close();
        ShowOpenError(kCannotActivate);
        return false;
    }
    return true;
}

bool GLWindow::SetupGLState()
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return true;
}

LRESULT CALLBACK GLWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    GLWindow *owner = reinterpret_cast<GLWindow *>(platform.GetWindowLongPtrA(window, GWLP_USERDATA));
    // Creation messages arrive before Open binds the window.
    if (!owner)
        return platform.DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_ACTIVATE:
        owner->active = HIWORD(wParam) == 0;
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        return platform.DefWindowProcA(window, message, wParam, lParam);
    case WM_CLOSE:
        platform.PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SIZE:
        return 0;
    default:
        return platform.DefWindowProcA(window, message, wParam, lParam);
    }
}
