// Pixel formats and real OpenGL contexts.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <string.h>

namespace {

using GLTest = WindowTest;

TEST_F(GLTest, AContextIsMadeCurrentOnlyWhenAskedAndRenders)
{
    HWND window = Open(800, 600);
    ASSERT_NE(window, nullptr);
    HDC dc = platform.GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(platform.wglCreateContext(dc), nullptr); // no format yet
    const PIXELFORMATDESCRIPTOR format = DoubleBufferedRgbaFormat(16);
    const int formatIndex = platform.ChoosePixelFormat(dc, &format);
    ASSERT_NE(formatIndex, 0);
    ASSERT_TRUE(platform.SetPixelFormat(dc, formatIndex, &format));
#ifndef _WIN32
    // Win32 drivers differ on a second call with the same format; ours refuses.
    EXPECT_FALSE(platform.SetPixelFormat(dc, formatIndex, &format));
#endif

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
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[0] + pixel[2], 0);
    EXPECT_TRUE(platform.SwapBuffers(dc));

    ASSERT_TRUE(platform.wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_TRUE(platform.wglDeleteContext(context));
}

} // namespace
