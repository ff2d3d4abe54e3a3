// The host's window changes as Win32's size, move, activation, close and
// repaint, and the active window. Only the owner turns a change into
// messages, so no thread changes another thread's window.
#include "user32/window_events.h"

#include <mutex>

#include "gdi32/system_palette.h"
#include "host/sdl_windows.h"
#include "kernel32/threads.h"
#include "user32/keyboard.h"
#include "user32/message_queue.h"
#include "user32/painting.h"

namespace {

struct Activation {
    std::mutex lock;
    HWND window = nullptr;
};

Activation &Active()
{
    static auto *active = new Activation; // windows of exiting threads still go
    return *active;
}

void AddNotice(PortableNotices &notices, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    notices.push_back(PortableMakeMessage(window, message, wParam, lParam));
}

LPARAM ClientSize(const PortableWindow &window)
{
    return MAKELPARAM(window.clientWidth, window.clientHeight);
}

// WM_MOVE tells where the client area's corner is on the screen.
LPARAM ClientCorner(const PortableWindow &window)
{
    return MAKELPARAM(window.x + window.frame.left, window.y + window.frame.top);
}

WORD Minimized(HWND handle)
{
    bool minimized = false;
    PortableVisitWindow(handle, [&](PortableWindow &window) { minimized = window.minimized; });
    return minimized;
}

// Owner thread.
void TranslateChange(PortableWindow &window, HostWindowChange change, int first, int second,
                     PortableNotices &notices)
{
    switch (change) {
    case HostWindowChange::Closed:
        AddNotice(notices, window.handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case HostWindowChange::Minimized:
        PortableSetMinimized(window, true, notices);
        break;
    case HostWindowChange::Restored:
        PortableSetMinimized(window, false, notices);
        break;
    case HostWindowChange::FocusGained:
        PortableNoteFocus(window.handle, true);
        PortableActivate(window.handle, notices);
        break;
    case HostWindowChange::FocusLost:
        PortableNoteFocus(window.handle, false);
        PortableDeactivate(window.handle, notices);
        break;
    case HostWindowChange::Resized: {
        if (first == window.clientWidth && second == window.clientHeight)
            break;
        const int oldWidth = window.clientWidth, oldHeight = window.clientHeight;
        {
            PortableWindowLock hold;
            window.clientWidth = first;
            window.clientHeight = second;
        }
        PortableInvalidateResized(window.handle, window.windowClass.style, oldWidth, oldHeight, first, second);
        if (!window.minimized) {
            AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
            AddNotice(notices, window.handle, WM_SIZE, HostIsMaximized(window.handle) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                      ClientSize(window));
        }
        break;
    }
    case HostWindowChange::Moved:
        if (first == window.x + window.frame.left && second == window.y + window.frame.top)
            break;
        {
            PortableWindowLock hold;
            window.x = first - window.frame.left;
            window.y = second - window.frame.top;
        }
        if (!window.minimized)
            AddNotice(notices, window.handle, WM_MOVE, 0, ClientCorner(window));
        break;
    case HostWindowChange::Exposed:
        // Repainted, not erased: the erase of a size change or a showing has
        // been done already, and GL covers the client area anyway.
        PortableInvalidate(window.handle, nullptr, false);
        break;
    }
}

// Any thread: the window is activated at once, and raised.
BOOL WINAPI PortableSetForegroundWindow(HWND handle)
{
    if (!HostRaiseWindow(handle))
        return FALSE;
    PortableNotices notices;
    PortableActivate(handle, notices);
    PortableDeliver(notices);
    return TRUE;
}

} // namespace

void PortableDeliver(const PortableNotices &notices)
{
    const DWORD self = PortableCurrentThreadId();
    for (const MSG &notice : notices) {
        const DWORD owner = PortableWindowOwner(notice.hwnd);
        if (owner != self) {
            if (owner != 0 && notice.message != WM_ERASEBKGND) // the owner erases when it paints
                PortablePostToThread(owner, notice);
            continue;
        }
        LPARAM lParam = notice.lParam;
        // Sent with the corner as it is now: a handler of an earlier notice
        // may have pumped, seen the window manager move the window and sent
        // the newer corner, which this one must not overwrite.
        if (notice.message == WM_MOVE)
            if (const PortableWindow *window = PortableFindOwnedWindow(notice.hwnd))
                lParam = ClientCorner(*window);
        if (notice.message == WM_ERASEBKGND) // only what is still due, with the window's DC
            PortableEraseNow(notice.hwnd);
        else if (WNDPROC procedure = PortableWindowProc(notice.hwnd))
            procedure(notice.hwnd, notice.message, notice.wParam, lParam);
    }
}

void PortableReveal(PortableWindow &window, PortableNotices &notices)
{
    if (window.visible)
        return;
    HostShowWindow(window.handle);
    {
        PortableWindowLock hold;
        window.visible = true;
    }
    PortableSetPaintable(window.handle, !window.minimized);
    PortableInvalidate(window.handle, nullptr, true); // a window appears with all of it to paint
    AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
    if (!window.sized) {
        window.sized = true;
        AddNotice(notices, window.handle, WM_SIZE, SIZE_RESTORED, ClientSize(window));
        AddNotice(notices, window.handle, WM_MOVE, 0, ClientCorner(window));
    }
}

void PortableSetMinimized(PortableWindow &window, bool minimized, PortableNotices &notices)
{
    if (window.minimized == minimized)
        return;
    {
        PortableWindowLock hold;
        window.minimized = minimized;
    }
    PortableSetPaintable(window.handle, window.visible && !minimized);
    if (minimized) {
        AddNotice(notices, window.handle, WM_SIZE, SIZE_MINIMIZED, 0);
        PortableDeactivate(window.handle, notices);
    } else {
        PortableInvalidate(window.handle, nullptr, true);
        AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
        AddNotice(notices, window.handle, WM_SIZE, SIZE_RESTORED, ClientSize(window));
        PortableActivate(window.handle, notices);
    }
}

void PortableActivate(HWND window, PortableNotices &notices)
{
    HWND previous;
    {
        std::lock_guard<std::mutex> hold(Active().lock);
        previous = Active().window;
        if (previous == window)
            return;
        Active().window = window;
    }
    if (previous)
        AddNotice(notices, previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, Minimized(previous)),
                  reinterpret_cast<LPARAM>(window));
    AddNotice(notices, window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, Minimized(window)),
              reinterpret_cast<LPARAM>(previous));
}

void PortableDeactivate(HWND window, PortableNotices &notices)
{
    {
        std::lock_guard<std::mutex> hold(Active().lock);
        if (Active().window != window)
            return;
        Active().window = nullptr;
    }
    AddNotice(notices, window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, Minimized(window)), 0);
}

HWND PortableActiveWindow()
{
    std::lock_guard<std::mutex> hold(Active().lock);
    return Active().window;
}

void PortableForgetActive(HWND window)
{
    std::lock_guard<std::mutex> hold(Active().lock);
    if (Active().window == window)
        Active().window = nullptr;
}

void PortableTranslateWindowChange(HWND handle, HostWindowChange change, int first, int second)
{
    PortableWindow *window = PortableFindOwnedWindow(handle);
    if (!window)
        return;
    PortableNotices notices;
    TranslateChange(*window, change, first, second, notices);
    PortableDeliver(notices);
}

void PortableFillWindowEvents(PlatformTable *t)
{
    t->SetForegroundWindow = PortableSetForegroundWindow;
    PortableOnActiveWindowQuery(PortableActiveWindow);
}
