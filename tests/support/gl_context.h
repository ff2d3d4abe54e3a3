// A window with a current OpenGL context for tests and benchmarks, made
// through the platform table so that it works on every build.
#ifndef TESTS_SUPPORT_GL_CONTEXT_H
#define TESTS_SUPPORT_GL_CONTEXT_H

#include "platform/platform.h"

// A window format with 16 depth bits, as the application asks for one.
PIXELFORMATDESCRIPTOR DoubleBufferedRgbaFormat(BYTE colourBits);

class TestGLContext {
public:
    TestGLContext() = default;
    TestGLContext(const TestGLContext &) = delete;
    TestGLContext &operator=(const TestGLContext &) = delete;
    ~TestGLContext() { Close(); }

    // Leaves the context current on the calling thread. On failure everything
    // made so far is released and Failure() says which step failed.
    bool Open();
    void Close();
    const char *Failure() const { return failure_; }

private:
    bool Fail(const char *reason);

    const char *failure_ = "not opened";
    bool classRegistered_ = false;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC rc_ = nullptr;
};

#endif
