// The capture, the cursor position and ShowCursor's display count. The host
// captures the pointer (an X pointer grab) only while the program holds the
// capture, as Win32 does, so a drag past the window's edge keeps reporting
// just when SetCapture asked for it.
// One window of the desktop holds the capture; GetCapture tells it to the
// thread that owns it only.
#include "user32/mouse.h"

#include <atomic>
#include <mutex>

#include "host/sdl_pointer.h"
#include "host/sdl_video.h"
#include "kernel32/threads.h"
#include "user32/window_registry.h"

namespace {

struct Capture {
    std::mutex lock;
    HWND window = nullptr;
    DWORD thread = 0;
};

Capture &TheCapture()
{
    static auto *capture = new Capture; // windows of exiting threads still go
    return *capture;
}

HWND CaptureOf(DWORD thread)
{
    std::lock_guard<std::mutex> hold(TheCapture().lock);
    return thread == 0 || TheCapture().thread == thread ? TheCapture().window : nullptr;
}

// Ends the capture if it is held by that window, or by any window when null.
void EndCapture(DWORD thread, HWND window)
{
    {
        std::lock_guard<std::mutex> hold(TheCapture().lock);
        Capture &capture = TheCapture();
        if (!capture.window || capture.thread != thread || (window && capture.window != window))
            return;
        capture.window = nullptr;
        capture.thread = 0;
    }
    HostCapturePointer(false);
}

std::atomic<int> cursorCount{0};

HWND WINAPI PortableSetCapture(HWND handle)
{
    if (!PortableFindOwnedWindow(handle))
        return nullptr;
    const DWORD self = PortableCurrentThreadId();
    HWND previous;
    {
        std::lock_guard<std::mutex> hold(TheCapture().lock);
        previous = TheCapture().thread == self ? TheCapture().window : nullptr;
        TheCapture().window = handle;
        TheCapture().thread = self;
    }
    HostCapturePointer(true);
    return previous;
}

BOOL WINAPI PortableReleaseCapture(void)
{
    EndCapture(PortableCurrentThreadId(), nullptr);
    return TRUE;
}

HWND WINAPI PortableGetCapture(void)
{
    return CaptureOf(PortableCurrentThreadId());
}

BOOL WINAPI PortableGetCursorPos(LPPOINT point)
{
    int x = 0, y = 0;
    if (!point || !HostPointerPosition(&x, &y))
        return FALSE;
    point->x = x;
    point->y = y;
    return TRUE;
}

int WINAPI PortableShowCursor(BOOL show)
{
    const int count = show ? ++cursorCount : --cursorCount;
    HostShowCursor(count >= 0);
    return count;
}

} // namespace

HWND PortableCaptureWindow()
{
    return CaptureOf(0);
}

void PortableForgetCapture(HWND window)
{
    EndCapture(PortableCurrentThreadId(), window);
}

void PortableFillMouse(PlatformTable *t)
{
    t->SetCapture = PortableSetCapture;
    t->ReleaseCapture = PortableReleaseCapture;
    t->GetCapture = PortableGetCapture;
    t->GetCursorPos = PortableGetCursorPos;
    t->ShowCursor = PortableShowCursor;
}
