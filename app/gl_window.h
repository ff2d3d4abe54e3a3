// The application's one top-level window with its device context, OpenGL
// rendering context and, in full-screen mode, the display-mode switch.
#ifndef APP_GL_WINDOW_H
#define APP_GL_WINDOW_H

#include "platform/platform.h"

class GLWindow {
public:
    GLWindow() {}
    // Releases nothing: the owner calls Close explicitly.
    virtual ~GLWindow() {}

    bool Open(const char *title, int width, int height, int bits, bool fullscreen);
    void Close();
    BOOL Swap();
    bool MakeCurrent();
    HWND WindowHandle() const { return hWnd; }
    bool SetupGLState();

    HDC windowDC = nullptr;
    HGLRC glContext = nullptr;
    HWND hWnd = nullptr;
    HINSTANCE moduleInstance = nullptr;
    bool fullscreen = true;
    bool active = true; // false while minimised: the frame loop draws only while true

private:
    // The steps of Open from the window on; the failure's text, or null.
    const char *MakeWindowAndContext(const char *title, int width, int height, int bits);
};

LRESULT CALLBACK GLWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pixel format every window of the process asks for; filled by the first Open.
extern PIXELFORMATDESCRIPTOR glWindowPixelFormat;

#endif
