// The display's real pixel formats and OpenGL contexts on them, on both
// builds: what each format promises is what a context made on it has, a
// format is set once per window, a context is current only where asked and
// only on its format, and the closest format to a request has what was asked.
// Natively also the X child window GL draws into on the format's visual: it
// must follow the client area, and leave focus and input to the window.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <stdio.h>

#include <map>

#ifndef _WIN32
#include <SDL.h>
#include <SDL_syswm.h>

#include "user32/window_registry.h"
#endif

namespace {

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

using PixelFormatTest = WindowTest;

int Describe(HDC dc, int number, PIXELFORMATDESCRIPTOR *format)
{
    *format = {};
    return platform.DescribePixelFormat(dc, number, sizeof(*format), format);
}

// Everything a format promises that a context can report.
using Promise = std::vector<int>;

Promise Promised(const PIXELFORMATDESCRIPTOR &f)
{
    const bool rgba = f.iPixelType == PFD_TYPE_RGBA;
    return {rgba, rgba ? 0 : f.cColorBits, f.cRedBits, f.cGreenBits, f.cBlueBits, f.cAlphaBits,
            f.cAccumRedBits, f.cAccumGreenBits, f.cAccumBlueBits, f.cAccumAlphaBits, f.cDepthBits,
            f.cStencilBits, f.cAuxBuffers, (f.dwFlags & PFD_DOUBLEBUFFER) != 0, (f.dwFlags & PFD_STEREO) != 0};
}

Promise Reported()
{
    GLboolean rgba = GL_FALSE, doubleBuffer = GL_FALSE, stereo = GL_FALSE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
    glGetBooleanv(GL_STEREO, &stereo);
    Promise reported{rgba == GL_TRUE};
    for (GLenum name : {GL_INDEX_BITS, GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS, GL_ACCUM_RED_BITS,
                        GL_ACCUM_GREEN_BITS, GL_ACCUM_BLUE_BITS, GL_ACCUM_ALPHA_BITS, GL_DEPTH_BITS,
                        GL_STENCIL_BITS, GL_AUX_BUFFERS}) {
        GLint value = -1;
        glGetIntegerv(name, &value);
        reported.push_back(name == GL_INDEX_BITS && rgba ? 0 : value);
    }
    reported.insert(reported.end(), {doubleBuffer == GL_TRUE, stereo == GL_TRUE});
    return reported;
}

// Every format is described with the same count, numbers outside are
// refused, and a context on each distinct promise (its lowest-numbered
// format) reports exactly what was promised.
TEST_F(PixelFormatTest, AContextHasWhatItsFormatPromised)
{
    HDC probe = platform.GetDC(Open(64, 48));
    ASSERT_NE(probe, nullptr);
    const int count = platform.DescribePixelFormat(probe, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    ASSERT_GT(count, 0);
    PIXELFORMATDESCRIPTOR format;
    for (int outside : {0, -1, count + 1})
        EXPECT_EQ(Describe(probe, outside, &format), 0) << outside;
    std::map<Promise, int> kinds;
    for (int n = 1; n <= count; ++n) {
        EXPECT_EQ(Describe(probe, n, &format), count) << n;
        if ((format.dwFlags & kWindowGL) == kWindowGL)
            kinds.emplace(Promised(format), n);
    }
    ASSERT_FALSE(kinds.empty());
    for (const auto &[promise, n] : kinds) {
        HWND window = Open(64, 48);
        HDC dc = platform.GetDC(window);
        Describe(dc, n, &format);
        ASSERT_TRUE(platform.SetPixelFormat(dc, n, &format)) << n;
        EXPECT_EQ(platform.GetPixelFormat(dc), n);
        HGLRC context = platform.wglCreateContext(dc);
        ASSERT_NE(context, nullptr) << n;
        ASSERT_TRUE(platform.wglMakeCurrent(dc, context)) << n;
        EXPECT_EQ(Reported(), promise) << "format " << n;
        platform.wglMakeCurrent(nullptr, nullptr);
        platform.wglDeleteContext(context);
        platform.DestroyWindow(window);
    }
    printf("pixel formats: %d, kinds checked: %zu\n", count, kinds.size());
}

TEST_F(PixelFormatTest, AWindowTakesOneFormatAndItsContextsStayWithIt)
{
    HDC dc = platform.GetDC(Open(64, 48));
    HDC otherDc = platform.GetDC(Open(64, 48));
    ASSERT_NE(otherDc, nullptr);
    EXPECT_EQ(platform.GetPixelFormat(dc), 0);
    EXPECT_EQ(platform.wglCreateContext(dc), nullptr); // no format yet
    const PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(24);
    const int chosen = platform.ChoosePixelFormat(dc, &request);
    ASSERT_NE(chosen, 0);
    const int other = chosen == 1 ? 2 : 1; // a context goes with its format's number, as in WGL
    ASSERT_TRUE(platform.SetPixelFormat(dc, chosen, &request));
    EXPECT_FALSE(platform.SetPixelFormat(dc, other, &request)); // once per window
#ifndef _WIN32
    // Win32 drivers differ on a second call with the same format; ours refuses.
    EXPECT_FALSE(platform.SetPixelFormat(dc, chosen, &request));
#endif
    EXPECT_EQ(platform.GetPixelFormat(dc), chosen);
    ASSERT_TRUE(platform.SetPixelFormat(otherDc, other, &request));
    EXPECT_EQ(platform.GetPixelFormat(otherDc), other);

    HGLRC context = platform.wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr); // created, not current
    EXPECT_FALSE(platform.wglMakeCurrent(otherDc, context)); // not of its format
    ASSERT_TRUE(platform.wglMakeCurrent(dc, context));
    glViewport(0, 0, 64, 48);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLubyte pixel[4] = {1, 2, 3, 4};
    glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(std::vector<int>(pixel, pixel + 3), std::vector<int>({0, 255, 0}));
#ifndef _WIN32
    // Win32 swaps any window that has a format; ours only where a context is current.
    EXPECT_FALSE(platform.SwapBuffers(otherDc));
#endif
    EXPECT_TRUE(platform.SwapBuffers(dc));
    EXPECT_TRUE(platform.wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_TRUE(platform.wglDeleteContext(context));
}

// The toolkit's and the demo's kinds of request.
TEST_F(PixelFormatTest, TheClosestFormatHasWhatWasAskedFor)
{
    HDC dc = platform.GetDC(Open(64, 48));
    ASSERT_NE(dc, nullptr);
    const struct Request {
        const char *name;
        bool doubleBuffer;
        BYTE colour, alpha, depth, stencil, accum;
    } requests[] = {
        {"the demo's", true, 16, 0, 16, 0, 0},   {"alpha and deep depth", true, 24, 8, 24, 0, 0},
        {"stencil", true, 24, 0, 24, 4, 0},      {"accumulation", true, 24, 0, 16, 0, 32},
        {"single-buffered", false, 24, 0, 0, 0, 0},
    };
    for (const Request &each : requests) {
        SCOPED_TRACE(each.name);
        PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(each.colour), format;
        request.dwFlags &= each.doubleBuffer ? ~DWORD(0) : ~DWORD(PFD_DOUBLEBUFFER);
        request.cAlphaBits = each.alpha;
        request.cDepthBits = each.depth;
        request.cStencilBits = each.stencil;
        request.cAccumBits = each.accum;
        const int chosen = platform.ChoosePixelFormat(dc, &request);
        ASSERT_NE(chosen, 0);
        Describe(dc, chosen, &format);
        EXPECT_EQ(format.dwFlags & (kWindowGL | PFD_DOUBLEBUFFER), request.dwFlags & (kWindowGL | PFD_DOUBLEBUFFER));
        EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);
        EXPECT_GE(format.cColorBits, each.colour);
        EXPECT_GE(format.cDepthBits, each.depth);
        EXPECT_EQ(format.cStencilBits > 0, each.stencil > 0);
#ifndef _WIN32
        // Wine counts alpha into the colour bits and ranks them before alpha
        // and accumulation: 24 colour bits with 8 alpha bits gets a format
        // without alpha there, 32 accumulation bits one without accumulation.
        EXPECT_EQ(format.cAlphaBits > 0, each.alpha > 0);
        EXPECT_EQ(format.cAccumBits > 0, each.accum > 0);
#endif
    }
}

#ifndef _WIN32
class GlSurfaceTest : public WindowTest {
protected:
    // A shown, focused window with the closest format to a double-buffered
    // RGBA request set on it, as the toolkit does it; its X connection and
    // window.
    HWND OpenWithFormat()
    {
        HWND window = Open(320, 200, kWindowedStyle, true);
        HDC dc = platform.GetDC(window);
        const PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(24);
        const int format = platform.ChoosePixelFormat(dc, &request);
        if (!format || !platform.SetPixelFormat(dc, format, &request))
            return nullptr;
        SDL_VERSION(&x11_.version);
        SDL_GetWindowWMInfo(PortableSdlWindow(window), &x11_);
        return window;
    }

    // Size of the window's only child, the GL surface.
    std::pair<unsigned, unsigned> SurfaceSize()
    {
        Window root, parent, *children = nullptr;
        unsigned count = 0, width = 0, height = 0, border, depth;
        int x, y;
        XQueryTree(x11_.info.x11.display, x11_.info.x11.window, &root, &parent, &children, &count);
        if (count == 1)
            XGetGeometry(x11_.info.x11.display, children[0], &root, &x, &y, &width, &height, &border, &depth);
        if (children)
            XFree(children);
        return {width, height};
    }

    SDL_SysWMinfo x11_{};
};

TEST_F(GlSurfaceTest, TheSurfaceFollowsTheClientArea)
{
    HWND window = OpenWithFormat();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SurfaceSize(), std::make_pair(320u, 200u));
    SDL_SetWindowSize(PortableSdlWindow(window), 500, 300);
    PumpFor(200);
    EXPECT_EQ(SurfaceSize(), std::make_pair(500u, 300u));
}

TEST_F(GlSurfaceTest, FocusAndThePointerStayWithTheWindow)
{
    HWND window = OpenWithFormat();
    ASSERT_NE(window, nullptr);
    PumpFor(200);
    for (const Delivered &activation : DeliveredOf({WM_ACTIVATE}))
        EXPECT_NE(LOWORD(activation.wParam), WA_INACTIVE);
    EXPECT_EQ(platform.GetFocus(), window);
    for (int x : {30, 120}) { // the pointer may be at either already: a move to the same place tells nothing
        XWarpPointer(x11_.info.x11.display, None, x11_.info.x11.window, 0, 0, 0, 0, x, 70);
        XFlush(x11_.info.x11.display);
        PumpFor(100);
    }
    const std::vector<Delivered> moves = DeliveredOf({WM_MOUSEMOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(120, 70));
}

#endif

} // namespace
