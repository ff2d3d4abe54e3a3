// The display's real pixel formats, on both builds: what each promises is
// what a context made on it has, a format is set once per window, and the
// closest format to a request has what was asked for.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <stdio.h>

#include <map>
#include <tuple>
#include <vector>

namespace {

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

class PixelFormatTest : public WindowTest {
protected:
    // A hidden window's device context; null on failure.
    HDC Context()
    {
        HWND window = Open(64, 48);
        return window ? platform.GetDC(window) : nullptr;
    }

    static PIXELFORMATDESCRIPTOR Describe(HDC dc, int number, int *count = nullptr)
    {
        PIXELFORMATDESCRIPTOR format{};
        const int result = platform.DescribePixelFormat(dc, number, sizeof(format), &format);
        if (count)
            *count = result;
        return format;
    }
};

bool ForWindowGL(const PIXELFORMATDESCRIPTOR &format)
{
    return (format.dwFlags & kWindowGL) == kWindowGL;
}

// Everything a format promises that a context can report, as one key.
using Promise = std::tuple<int, int, int, int, int, int, int, int, int, int, int, int, int, int, int>;

Promise Promised(const PIXELFORMATDESCRIPTOR &f)
{
    const bool rgba = f.iPixelType == PFD_TYPE_RGBA;
    return {rgba, rgba ? 0 : f.cColorBits, f.cRedBits, f.cGreenBits, f.cBlueBits, f.cAlphaBits,
            f.cAccumRedBits, f.cAccumGreenBits, f.cAccumBlueBits, f.cAccumAlphaBits, f.cDepthBits,
            f.cStencilBits, f.cAuxBuffers, (f.dwFlags & PFD_DOUBLEBUFFER) != 0, (f.dwFlags & PFD_STEREO) != 0};
}

int Integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

Promise Reported()
{
    GLboolean rgba = GL_FALSE, doubleBuffer = GL_FALSE, stereo = GL_FALSE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
    glGetBooleanv(GL_STEREO, &stereo);
    return {rgba == GL_TRUE, rgba ? 0 : Integer(GL_INDEX_BITS), Integer(GL_RED_BITS), Integer(GL_GREEN_BITS),
            Integer(GL_BLUE_BITS), Integer(GL_ALPHA_BITS), Integer(GL_ACCUM_RED_BITS), Integer(GL_ACCUM_GREEN_BITS),
            Integer(GL_ACCUM_BLUE_BITS), Integer(GL_ACCUM_ALPHA_BITS), Integer(GL_DEPTH_BITS),
            Integer(GL_STENCIL_BITS), Integer(GL_AUX_BUFFERS), doubleBuffer == GL_TRUE, stereo == GL_TRUE};
}

// Every format is described with the same count, numbers outside are
// refused, and a context on each distinct promise (its lowest-numbered
// format) reports exactly what was promised.
TEST_F(PixelFormatTest, AContextHasWhatItsFormatPromised)
{
    HDC probe = Context();
    ASSERT_NE(probe, nullptr);
    const int count = platform.DescribePixelFormat(probe, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    ASSERT_GT(count, 0);
    for (int outside : {0, -1, count + 1}) {
        int refused = -1;
        Describe(probe, outside, &refused);
        EXPECT_EQ(refused, 0) << outside;
    }
    std::map<Promise, int> kinds;
    for (int n = 1; n <= count; ++n) {
        int again = 0;
        const PIXELFORMATDESCRIPTOR format = Describe(probe, n, &again);
        EXPECT_EQ(again, count) << n;
        if (ForWindowGL(format))
            kinds.emplace(Promised(format), n);
    }
    ASSERT_FALSE(kinds.empty());
    for (const auto &kind : kinds) {
        const int n = kind.second;
        HWND window = Open(64, 48);
        HDC dc = platform.GetDC(window);
        const PIXELFORMATDESCRIPTOR format = Describe(dc, n);
        ASSERT_TRUE(platform.SetPixelFormat(dc, n, &format)) << n;
        EXPECT_EQ(platform.GetPixelFormat(dc), n);
        HGLRC context = platform.wglCreateContext(dc);
        ASSERT_NE(context, nullptr) << n;
        ASSERT_TRUE(platform.wglMakeCurrent(dc, context)) << n;
        EXPECT_EQ(Reported(), kind.first) << "format " << n;
        platform.wglMakeCurrent(nullptr, nullptr);
        platform.wglDeleteContext(context);
        platform.DestroyWindow(window);
    }
    printf("pixel formats: %d, kinds checked: %zu\n", count, kinds.size());
}

TEST_F(PixelFormatTest, AWindowTakesOneFormatAndItsContextsStayWithIt)
{
    HWND first = Open(64, 48);
    HWND second = Open(64, 48);
    ASSERT_NE(second, nullptr);
    HDC dc = platform.GetDC(first);
    HDC otherDc = platform.GetDC(second);
    EXPECT_EQ(platform.GetPixelFormat(dc), 0);
    const PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(24);
    const int chosen = platform.ChoosePixelFormat(dc, &request);
    ASSERT_NE(chosen, 0);
    const int other = chosen == 1 ? 2 : 1; // a context goes with its format's number, as in WGL

    ASSERT_TRUE(platform.SetPixelFormat(dc, chosen, &request));
    EXPECT_FALSE(platform.SetPixelFormat(dc, other, &request)); // once per window
    EXPECT_EQ(platform.GetPixelFormat(dc), chosen);
    ASSERT_TRUE(platform.SetPixelFormat(otherDc, other, &request));
    EXPECT_EQ(platform.GetPixelFormat(otherDc), other);

    HGLRC context = platform.wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(platform.wglMakeCurrent(otherDc, context)); // not of its format
    EXPECT_TRUE(platform.wglMakeCurrent(dc, context));
#ifndef _WIN32
    // Win32 swaps any window that has a format; ours only where a context is current.
    EXPECT_FALSE(platform.SwapBuffers(otherDc));
#endif
    EXPECT_TRUE(platform.SwapBuffers(dc));
    EXPECT_TRUE(platform.wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(platform.wglDeleteContext(context));
}

struct Request {
    const char *name;
    bool doubleBuffer;
    BYTE colour, alpha, depth, stencil, accum;
};

// The toolkit's and the demo's kinds of request.
const Request kRequests[] = {
    {"the demo's", true, 16, 0, 16, 0, 0},
    {"alpha and deep depth", true, 24, 8, 24, 0, 0},
    {"stencil", true, 24, 0, 24, 4, 0},
    {"accumulation", true, 24, 0, 16, 0, 32},
    {"single-buffered", false, 24, 0, 0, 0, 0},
};

TEST_F(PixelFormatTest, TheClosestFormatHasWhatWasAskedFor)
{
    HDC dc = Context();
    ASSERT_NE(dc, nullptr);
    for (const Request &each : kRequests) {
        SCOPED_TRACE(each.name);
        PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(each.colour);
        if (!each.doubleBuffer)
            request.dwFlags &= ~PFD_DOUBLEBUFFER;
        request.cAlphaBits = each.alpha;
        request.cDepthBits = each.depth;
        request.cStencilBits = each.stencil;
        request.cAccumBits = each.accum;
        const int chosen = platform.ChoosePixelFormat(dc, &request);
        ASSERT_NE(chosen, 0);
        const PIXELFORMATDESCRIPTOR format = Describe(dc, chosen);
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

} // namespace
