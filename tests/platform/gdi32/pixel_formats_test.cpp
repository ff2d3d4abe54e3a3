// The display's real pixel formats and OpenGL contexts on them, on both
// builds: what each format promises is what a context made on it has, a
// format is set once per window, a context is current only where asked and
// only on its format, and the closest format to a request has what was asked.
// Natively also the X child window GL draws into on the format's visual (it
// must follow the client area, and leave focus and input to the window), and
// the portable rules over made-up configurations: how a GLX configuration is
// described, and which format ChoosePixelFormat picks.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <stdio.h>

#include <map>
#include <string>

#ifndef _WIN32
#include <SDL.h>
#include <SDL_syswm.h>

#include "gdi32/pixel_format_choice.h"
#include "host/glx_configs.h"
#include "host/sdl_windows.h"
#endif

namespace {

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
constexpr DWORD kDouble = kWindowGL | PFD_DOUBLEBUFFER;
constexpr BYTE kRgba = PFD_TYPE_RGBA;

PIXELFORMATDESCRIPTOR Format(DWORD flags, BYTE type, BYTE colour, BYTE depth, BYTE alpha = 0, BYTE stencil = 0,
                             BYTE accum = 0)
{
    PIXELFORMATDESCRIPTOR format = DoubleBufferedRgbaFormat(colour);
    format.dwFlags = flags;
    format.iPixelType = type;
    format.cDepthBits = depth;
    format.cAlphaBits = alpha;
    format.cStencilBits = stencil;
    format.cAccumBits = accum;
    return format;
}

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
    Promise reported;
    for (GLenum name : {GL_RGBA_MODE, GL_INDEX_BITS, GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS,
                        GL_ACCUM_RED_BITS, GL_ACCUM_GREEN_BITS, GL_ACCUM_BLUE_BITS, GL_ACCUM_ALPHA_BITS, GL_DEPTH_BITS,
                        GL_STENCIL_BITS, GL_AUX_BUFFERS, GL_DOUBLEBUFFER, GL_STEREO}) {
        GLint value = -1;
        glGetIntegerv(name, &value);
        reported.push_back(name == GL_INDEX_BITS && reported[0] ? 0 : value); // an RGBA format promises none
    }
    return reported;
}

// Every format is described with the same count, and numbers outside are
// refused. On each distinct promise (its lowest-numbered format): a window
// takes the format once; a context made on it is current only where asked
// and only on a window of its format (a context goes with its format's
// number, as in WGL), draws, and reports exactly what was promised.
TEST_F(PixelFormatTest, AContextHasWhatItsFormatPromised)
{
    HDC probe = platform.GetDC(Open(64, 48));
    const int count = platform.DescribePixelFormat(probe, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    ASSERT_GT(count, 1);
    PIXELFORMATDESCRIPTOR format;
    for (int outside : {0, -1, count + 1})
        EXPECT_EQ(Describe(probe, outside, &format), 0) << outside;
    std::map<Promise, int> kinds;
    for (int n = 1; n <= count; ++n) {
        EXPECT_EQ(Describe(probe, n, &format), count) << n;
        if ((format.dwFlags & kWindowGL) == kWindowGL)
            kinds.emplace(Promised(format), n);
    }
    ASSERT_GT(kinds.size(), 1u);
    HDC previous = nullptr; // the last window's, of another format
    for (const auto &[promise, n] : kinds) {
        SCOPED_TRACE(n);
        HDC dc = platform.GetDC(Open(64, 48));
        Describe(dc, n, &format);
        EXPECT_EQ(platform.GetPixelFormat(dc), 0);
        EXPECT_EQ(platform.wglCreateContext(dc), nullptr); // no format yet
        ASSERT_TRUE(platform.SetPixelFormat(dc, n, &format));
        EXPECT_FALSE(platform.SetPixelFormat(dc, n == 1 ? 2 : 1, &format));
#ifndef _WIN32
        // Win32 drivers differ on a second call with the same format; ours refuses.
        EXPECT_FALSE(platform.SetPixelFormat(dc, n, &format));
#endif
        EXPECT_EQ(platform.GetPixelFormat(dc), n);
        HGLRC context = platform.wglCreateContext(dc);
        ASSERT_NE(context, nullptr);
        EXPECT_EQ(glGetString(GL_VERSION), nullptr); // created, not current
        EXPECT_FALSE(previous && platform.wglMakeCurrent(previous, context));
        ASSERT_TRUE(platform.wglMakeCurrent(dc, context));
        EXPECT_EQ(Reported(), promise);
        if (promise[0]) { // RGBA
            glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            GLubyte pixel[4] = {1, 2, 3, 4};
            glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            EXPECT_EQ(std::vector<int>(pixel, pixel + 3), std::vector<int>({0, 255, 0}));
        }
#ifndef _WIN32
        // Win32 swaps any window that has a format; ours only where a context is current.
        EXPECT_FALSE(previous && platform.SwapBuffers(previous));
#endif
        EXPECT_TRUE(platform.SwapBuffers(dc));
        EXPECT_TRUE(platform.wglMakeCurrent(nullptr, nullptr));
        EXPECT_EQ(glGetString(GL_VERSION), nullptr);
        EXPECT_TRUE(platform.wglDeleteContext(context));
        previous = dc;
    }
    printf("pixel formats: %d, kinds checked: %zu\n", count, kinds.size());
}

// The toolkit's and the demo's kinds of request.
TEST_F(PixelFormatTest, TheClosestFormatHasWhatWasAskedFor)
{
    HDC dc = platform.GetDC(Open(64, 48));
    const PIXELFORMATDESCRIPTOR requests[] = {
        DoubleBufferedRgbaFormat(16), Format(kDouble, kRgba, 24, 24, 8), Format(kDouble, kRgba, 24, 24, 0, 4),
        Format(kDouble, kRgba, 24, 16, 0, 0, 32), Format(kWindowGL, kRgba, 24, 0)};
    for (const PIXELFORMATDESCRIPTOR &request : requests) {
        SCOPED_TRACE(&request - requests);
        const int chosen = platform.ChoosePixelFormat(dc, &request);
        ASSERT_NE(chosen, 0);
        PIXELFORMATDESCRIPTOR format;
        Describe(dc, chosen, &format);
        EXPECT_EQ(format.dwFlags & kDouble, request.dwFlags);
        EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);
        EXPECT_GE(format.cColorBits, request.cColorBits);
        EXPECT_GE(format.cDepthBits, request.cDepthBits);
        EXPECT_EQ(format.cStencilBits > 0, request.cStencilBits > 0);
#ifndef _WIN32
        // Wine counts alpha into the colour bits and ranks them before alpha
        // and accumulation: 24 colour bits with 8 alpha bits gets a format
        // without alpha there, 32 accumulation bits one without accumulation.
        EXPECT_EQ(format.cAlphaBits > 0, request.cAlphaBits > 0);
        EXPECT_EQ(format.cAccumBits > 0, request.cAccumBits > 0);
#endif
    }
}

#ifndef _WIN32
// Size of the X window's only child, the GL surface.
std::pair<unsigned, unsigned> SurfaceSize(const SDL_SysWMinfo &x11)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0, width = 0, height = 0, border, depth;
    int x, y;
    XQueryTree(x11.info.x11.display, x11.info.x11.window, &root, &parent, &children, &count);
    if (count == 1)
        XGetGeometry(x11.info.x11.display, children[0], &root, &x, &y, &width, &height, &border, &depth);
    if (children)
        XFree(children);
    return {width, height};
}

// On a shown, focused window with a format set as the toolkit sets it, the
// surface follows the client area and leaves focus and the pointer to the
// window.
TEST_F(PixelFormatTest, TheGlSurfaceFollowsTheClientAreaAndLeavesInputToTheWindow)
{
    HWND window = Open(320, 200, kWindowedStyle, true);
    HDC dc = platform.GetDC(window);
    const PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(24);
    ASSERT_TRUE(platform.SetPixelFormat(dc, platform.ChoosePixelFormat(dc, &request), &request));
    SDL_SysWMinfo x11{};
    SDL_VERSION(&x11.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(HostSdlWindow(window), &x11));
    EXPECT_EQ(SurfaceSize(x11), std::make_pair(320u, 200u));
    PumpFor(200);
    for (const Delivered &activation : DeliveredOf({WM_ACTIVATE}))
        EXPECT_NE(LOWORD(activation.wParam), WA_INACTIVE);
    EXPECT_EQ(platform.GetFocus(), window);
    for (int x : {30, 120}) { // the pointer may be at either already: a move to the same place tells nothing
        XWarpPointer(x11.info.x11.display, None, x11.info.x11.window, 0, 0, 0, 0, x, 70);
        XFlush(x11.info.x11.display);
        PumpFor(100);
    }
    const std::vector<Delivered> moves = DeliveredOf({WM_MOUSEMOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(120, 70));
    SDL_SetWindowSize(HostSdlWindow(window), 500, 300);
    PumpFor(200);
    EXPECT_EQ(SurfaceSize(x11), std::make_pair(500u, 300u));
}

// The fields a descriptor is told apart by, as one line.
std::string Line(const PIXELFORMATDESCRIPTOR &d)
{
    char text[200];
    snprintf(text, sizeof text,
             "%d/%d/%d flags %#lx type %d colour %d rgba %d>>%d %d>>%d %d>>%d %d>>%d accum %d(%d %d %d %d) depth %d "
             "stencil %d aux %d",
             d.nSize, d.nVersion, d.iLayerType, static_cast<unsigned long>(d.dwFlags), d.iPixelType, d.cColorBits,
             d.cRedBits, d.cRedShift, d.cGreenBits, d.cGreenShift, d.cBlueBits, d.cBlueShift, d.cAlphaBits,
             d.cAlphaShift, d.cAccumBits, d.cAccumRedBits, d.cAccumGreenBits, d.cAccumBlueBits, d.cAccumAlphaBits,
             d.cDepthBits, d.cStencilBits, d.cAuxBuffers);
    return text;
}

TEST(PixelFormatDescription, FollowsTheConfigurationAndItsVisual)
{
    // Traits: rgba, buffer size, red, green, blue, alpha, accumulation red,
    // green, blue, alpha, depth, stencil, aux, double, stereo, visual class, masks.
    const std::pair<HostGlxTraits, const char *> cases[] = {
        {{true, 32, 8, 8, 8, 8, 0, 0, 0, 0, 24, 8, 0, true, false, TrueColor, 0xff0000, 0xff00, 0xff},
         "40/1/0 flags 0x25 type 0 colour 24 rgba 8>>16 8>>8 8>>0 8>>24 accum 0(0 0 0 0) depth 24 stencil 8 aux 0"},
        {{true, 16, 5, 6, 5, 0, 16, 16, 16, 8, 16, 0, 0, false, false, DirectColor, 0xf800, 0x7e0, 0x1f},
         "40/1/0 flags 0x24 type 0 colour 16 rgba 5>>11 6>>5 5>>0 0>>0 accum 56(16 16 16 8) depth 16 stencil 0 aux 0"},
        {{true, 24, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, false, false, TrueColor, 0xff, 0xff00, 0xff0000},
         "40/1/0 flags 0x24 type 0 colour 24 rgba 8>>0 8>>8 8>>16 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        // RGBA on a palette visual: Windows' 3-3-2 layout, and a palette needed.
        {{true, 8, 3, 3, 2, 0, 0, 0, 0, 0, 0, 0, 0, false, false, PseudoColor, 0, 0, 0},
         "40/1/0 flags 0xa4 type 0 colour 8 rgba 3>>0 3>>3 2>>6 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        {{true, 8, 3, 3, 2, 0, 0, 0, 0, 0, 0, 0, 0, false, false, StaticColor, 0, 0, 0},
         "40/1/0 flags 0x24 type 0 colour 8 rgba 3>>0 3>>3 2>>6 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        {{false, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, true, true, PseudoColor, 0, 0, 0},
         "40/1/0 flags 0xa7 type 1 colour 8 rgba 0>>0 0>>0 0>>0 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 2"},
        // Colour index needs a palette whatever the visual.
        {{false, 16, 0, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, false, false, TrueColor, 0xf800, 0x7e0, 0x1f},
         "40/1/0 flags 0xa4 type 1 colour 16 rgba 0>>0 0>>0 0>>0 0>>0 accum 0(0 0 0 0) depth 16 stencil 0 aux 0"},
    };
    for (const auto &[traits, expected] : cases)
        EXPECT_EQ(Line(HostDescribeGlxTraits(traits)), expected);
}

TEST(PixelFormatChoice, TakesTheClosestByTheRulesInOrder)
{
    const PIXELFORMATDESCRIPTOR formats[] = {
        Format(kWindowGL, kRgba, 24, 0),                                                  // 1
        Format(kDouble, kRgba, 16, 16),                                                   // 2
        Format(kDouble, kRgba, 24, 16),                                                   // 3
        Format(kDouble, kRgba, 24, 24, 0, 8),                                             // 4
        Format(kDouble, kRgba, 24, 24, 8),                                                // 5
        Format(kDouble, kRgba, 24, 24, 0, 0, 64),                                         // 6
        Format(kDouble, PFD_TYPE_COLORINDEX, 8, 16),                                      // 7
        Format(kDouble, kRgba, 30, 24),                                                   // 8
        Format(kDouble, kRgba, 24, 16),                                                   // 9, the same as 3
        Format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL, kRgba, 24, 16), // 10
    };
    const struct Case {
        const char *name;
        PIXELFORMATDESCRIPTOR request;
        int expected;
    } cases[] = {
        {"the demo's request, exactly there", Format(kDouble, kRgba, 16, 16), 2},
        {"a tie keeps the lower number", Format(kDouble, kRgba, 24, 16), 3},
        {"a missing stencil outweighs sizes", Format(kDouble, kRgba, 24, 24, 0, 4), 4},
        {"a missing alpha outweighs a closer depth", Format(kDouble, kRgba, 24, 16, 8), 5},
        {"accumulation asked for", Format(kDouble, kRgba, 24, 24, 0, 0, 32), 6},
        {"pixel type before buffering", Format(kWindowGL, PFD_TYPE_COLORINDEX, 8, 0), 7},
        {"buffering before sizes", Format(kWindowGL, kRgba, 24, 24), 1},
        {"more colour beats less", Format(kDouble, kRgba, 28, 24), 8},
        {"short of all: the largest", Format(kDouble, kRgba, 32, 24), 8},
        {"smallest excess", Format(kDouble, kRgba, 20, 16), 3},
        {"flags the request sets must be offered", Format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL, kRgba, 24, 16), 10},
        {"an unknown pixel type matches nothing", Format(kDouble, 2, 24, 16), 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(PortableClosestPixelFormat(formats, std::size(formats), each.request), each.expected);
    }
    EXPECT_EQ(PortableClosestPixelFormat(formats, 0, cases[0].request), 0);
}

#endif

} // namespace
