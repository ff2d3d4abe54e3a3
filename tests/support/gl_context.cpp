#include "tests/support/gl_context.h"

namespace {

const char kClassName[] = "OvTestGL";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

PIXELFORMATDESCRIPTOR DoubleBufferedRgbaFormat(BYTE colourBits)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = colourBits;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

bool TestGLContext::Open()
{
    Close();
    instance_ = platform.GetModuleHandleA(nullptr);

    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = instance_;
    windowClass.lpszClassName = kClassName;
    if (!platform.RegisterClassA(&windowClass))
        return Fail("RegisterClassA failed");
    classRegistered_ = true;

    window_ = platform.CreateWindowExA(0, kClassName, "scene test",
                                       WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                       0, 0, 800, 600, nullptr, nullptr, instance_, nullptr);
    if (!window_)
        return Fail("CreateWindowExA failed");
    dc_ = platform.GetDC(window_);
    if (!dc_)
        return Fail("GetDC failed");

    const PIXELFORMATDESCRIPTOR format = DoubleBufferedRgbaFormat(24);
    const int formatIndex = platform.ChoosePixelFormat(dc_, &format);
    if (formatIndex == 0)
        return Fail("ChoosePixelFormat found no format");
    if (!platform.SetPixelFormat(dc_, formatIndex, &format))
        return Fail("SetPixelFormat failed");
    rc_ = platform.wglCreateContext(dc_);
    if (!rc_)
        return Fail("wglCreateContext failed");
    if (!platform.wglMakeCurrent(dc_, rc_))
        return Fail("wglMakeCurrent failed");
    failure_ = nullptr;
    return true;
}

void TestGLContext::Close()
{
    if (rc_) {
        platform.wglMakeCurrent(nullptr, nullptr);
        platform.wglDeleteContext(rc_);
    }
    if (dc_)
        platform.ReleaseDC(window_, dc_);
    if (window_)
        platform.DestroyWindow(window_);
    if (classRegistered_)
        platform.UnregisterClassA(kClassName, instance_);
    rc_ = nullptr, dc_ = nullptr, window_ = nullptr, classRegistered_ = false;
}

bool TestGLContext::Fail(const char *reason)
{
    Close();
    failure_ = reason;
    return false;
}
