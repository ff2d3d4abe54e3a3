// Device contexts, pixel formats and real OpenGL contexts.
#include "tests/platform/window_fixture.h"

#include <GL/gl.h>
#include <string.h>

#ifndef _WIN32
#include <SDL.h>

#include "platform/portable/portable_internal.h"
#endif

namespace {

PIXELFORMATDESCRIPTOR ApplicationFormat()
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

class GLTest : public WindowTest {
protected:
    // A window with the application's format set on its device context.
    bool OpenFormatted(HWND *window, HDC *dc)
    {
        *window = Open(kWindowedStyle, 800, 600, kWindowedExStyle);
        *dc = *window ? platform.GetDC(*window) : nullptr;
        if (!*dc)
            return false;
        const PIXELFORMATDESCRIPTOR format = ApplicationFormat();
        formatIndex_ = platform.ChoosePixelFormat(*dc, &format);
        return formatIndex_ != 0 && platform.SetPixelFormat(*dc, formatIndex_, &format);
    }

    int formatIndex_ = 0;
};

TEST_F(GLTest, AWindowHasOneDeviceContextAndNoContextBeforeAFormat)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    HDC dc = platform.GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(platform.GetDC(window), dc);
    EXPECT_EQ(platform.ReleaseDC(window, dc), 1);
    EXPECT_EQ(platform.GetDC(window), dc);
    EXPECT_EQ(platform.wglCreateContext(dc), nullptr);
    platform.DestroyWindow(window);
    EXPECT_EQ(platform.GetDC(window), nullptr);
}

TEST_F(GLTest, TheFormatIsSetOnceAndDescribedAsObtained)
{
    HWND window;
    HDC dc;
    ASSERT_TRUE(OpenFormatted(&window, &dc));
    const LONG_PTR marker = 1234;
    platform.SetWindowLongPtrA(window, GWLP_USERDATA, marker);

    PIXELFORMATDESCRIPTOR described{};
    ASSERT_GE(platform.DescribePixelFormat(dc, formatIndex_, sizeof(described), &described), formatIndex_);
    EXPECT_NE(described.dwFlags & PFD_SUPPORT_OPENGL, 0u);
    EXPECT_NE(described.dwFlags & PFD_DOUBLEBUFFER, 0u);
    EXPECT_EQ(described.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(described.cColorBits, 15);
    EXPECT_GE(described.cDepthBits, 16);
#ifndef _WIN32
    // Win32 drivers count padding or alpha in cColorBits; ours counts colour only.
    EXPECT_EQ(described.cColorBits, described.cRedBits + described.cGreenBits + described.cBlueBits);
#endif

    // The same window, still 800 x 600 and still bound to its user data.
    RECT client{};
    ASSERT_TRUE(platform.GetClientRect(window, &client));
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
    EXPECT_EQ(platform.GetWindowLongPtrA(window, GWLP_USERDATA), marker);
#ifndef _WIN32
    int sdlWidth = 0, sdlHeight = 0;
    SDL_GetWindowSize(PortableSdlWindow(window), &sdlWidth, &sdlHeight);
    EXPECT_EQ(sdlWidth, 800);
    EXPECT_EQ(sdlHeight, 600);
    // Win32 drivers differ on a second call with the same format; ours refuses.
    const PIXELFORMATDESCRIPTOR format = ApplicationFormat();
    EXPECT_FALSE(platform.SetPixelFormat(dc, 1, &format));
    EXPECT_STREQ(SDL_GetWindowTitle(PortableSdlWindow(window)), "Platform Test");
#endif
}

TEST_F(GLTest, AContextIsMadeCurrentOnlyWhenAskedAndRenders)
{
    HWND window;
    HDC dc;
    ASSERT_TRUE(OpenFormatted(&window, &dc));
    HGLRC context = platform.wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr); // created, not current

    ASSERT_TRUE(platform.wglMakeCurrent(dc, context));
    const GLubyte *version = glGetString(GL_VERSION);
    ASSERT_NE(version, nullptr);
    EXPECT_GT(strlen(reinterpret_cast<const char *>(version)), 0u);

    glViewport(0, 0, 800, 600);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLubyte pixel[4] = {1, 2, 3, 4};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_TRUE(platform.SwapBuffers(dc));

    ASSERT_TRUE(platform.wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_TRUE(platform.wglDeleteContext(context));
    EXPECT_FALSE(platform.wglDeleteContext(context));
}

struct ContextThief {
    HDC dc;
    HGLRC context;
    BOOL madeCurrent = TRUE;
    BOOL deleted = TRUE;
};

DWORD WINAPI TryToTakeTheContext(LPVOID argument)
{
    ContextThief *thief = static_cast<ContextThief *>(argument);
    thief->madeCurrent = platform.wglMakeCurrent(thief->dc, thief->context);
    thief->deleted = platform.wglDeleteContext(thief->context);
    return 0;
}

TEST_F(GLTest, AContextCurrentOnOneThreadCannotBeTakenByAnother)
{
    HWND window;
    HDC dc;
    ASSERT_TRUE(OpenFormatted(&window, &dc));
    HGLRC context = platform.wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(platform.wglMakeCurrent(dc, context));

    ContextThief thief{dc, context};
    HANDLE thread = platform.CreateThread(nullptr, 0, TryToTakeTheContext, &thief, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(platform.WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    platform.CloseHandle(thread);
    EXPECT_FALSE(thief.madeCurrent);
    EXPECT_FALSE(thief.deleted);
    EXPECT_NE(glGetString(GL_VERSION), nullptr); // still ours

    // Deleting the calling thread's own current context releases it first.
    EXPECT_TRUE(platform.wglDeleteContext(context));
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
}

} // namespace
