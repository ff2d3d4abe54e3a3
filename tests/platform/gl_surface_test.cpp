// The portable build draws GL into an X child window on the format's visual:
// it must follow the client area, and leave focus and input to the window.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include "user32/window_registry.h"

namespace {

class GlSurfaceTest : public WindowTest {
protected:
    // A shown, focused window with the closest format to a double-buffered
    // RGBA request set on it, as the toolkit does it.
    HWND OpenWithFormat()
    {
        HWND window = Open(320, 200);
        if (!window)
            return nullptr;
        platform.ShowWindow(window, SW_SHOW);
        platform.SetForegroundWindow(window);
        platform.SetFocus(window);
        PumpFor(200);
        delivered.clear();
        HDC dc = platform.GetDC(window);
        const PIXELFORMATDESCRIPTOR request = DoubleBufferedRgbaFormat(24);
        const int format = platform.ChoosePixelFormat(dc, &request);
        return format && platform.SetPixelFormat(dc, format, &request) ? window : nullptr;
    }

    static SDL_SysWMinfo X11Of(HWND window)
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        SDL_GetWindowWMInfo(PortableSdlWindow(window), &info);
        return info;
    }

    // Size of the window's only child, the GL surface.
    static std::pair<unsigned, unsigned> SurfaceSize(HWND window)
    {
        const SDL_SysWMinfo info = X11Of(window);
        Window root, parent, *children = nullptr;
        unsigned count = 0, width = 0, height = 0, border, depth;
        XQueryTree(info.info.x11.display, info.info.x11.window, &root, &parent, &children, &count);
        int x, y;
        if (count == 1)
            XGetGeometry(info.info.x11.display, children[0], &root, &x, &y, &width, &height, &border, &depth);
        if (children)
            XFree(children);
        return {width, height};
    }
};

TEST_F(GlSurfaceTest, TheSurfaceFollowsTheClientArea)
{
    HWND window = OpenWithFormat();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SurfaceSize(window), std::make_pair(320u, 200u));
    SDL_SetWindowSize(PortableSdlWindow(window), 500, 300);
    PumpFor(200);
    EXPECT_EQ(SurfaceSize(window), std::make_pair(500u, 300u));
}

TEST_F(GlSurfaceTest, FocusAndThePointerStayWithTheWindow)
{
    HWND window = OpenWithFormat();
    ASSERT_NE(window, nullptr);
    PumpFor(200);
    for (const Delivered &activation : DeliveredOf({WM_ACTIVATE}))
        EXPECT_NE(LOWORD(activation.wParam), WA_INACTIVE);
    EXPECT_EQ(platform.GetFocus(), window);

    const SDL_SysWMinfo info = X11Of(window);
    for (int x : {30, 120}) { // the pointer may be at either already: a move to the same place tells nothing
        XWarpPointer(info.info.x11.display, None, info.info.x11.window, 0, 0, 0, 0, x, 70);
        XFlush(info.info.x11.display);
        PumpFor(100);
    }
    const std::vector<Delivered> moves = DeliveredOf({WM_MOUSEMOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(120, 70));
}

} // namespace
