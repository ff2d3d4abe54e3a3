// Creating, showing and destroying top-level windows, each shown by a host
// window that is its client area. The frame that AdjustWindowRectEx adds is
// subtracted again when a window is made, so an adjusted rectangle gives
// exactly the asked-for client area.
#include "user32/windows.h"

#include <algorithm>
#include <string>

#include "handle_numbers.h"
#include "host/sdl_video.h"
#include "host/sdl_windows.h"
#include "kernel32/threads.h"
#include "opengl32/gl_contexts.h"
#include "user32/keyboard.h"
#include "user32/message_queue.h"
#include "user32/mouse.h"
#include "user32/painting.h"
#include "user32/window_classes.h"
#include "user32/window_dc.h"
#include "user32/window_events.h"
#include "user32/window_registry.h"
#include "utf16.h"

namespace {

constexpr int kDefaultClientWidth = 640;
constexpr int kDefaultClientHeight = 480;

// Not yet registered: no other thread can see it.
bool OpenHostWindow(const PortableWindow &window, const char *title)
{
    const HostWindowShape shape{title,
                                window.x + window.frame.left,
                                window.y + window.frame.top,
                                window.clientWidth,
                                window.clientHeight,
                                window.frame.Empty(),
                                (window.style & WS_THICKFRAME) != 0,
                                (window.style & WS_POPUP) != 0};
    return HostEnsureVideo() && HostOpenWindow(window.handle, shape);
}

HWND WINAPI PortableCreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                    int height, HWND, HMENU menu, HINSTANCE instance, LPVOID)
{
    if (style & WS_CHILD) // only top-level windows are modelled
        return nullptr;
    auto window = std::make_unique<PortableWindow>();
    if (!PortableAcquireClass(className, instance, &window->windowClass, &window->classAtom))
        return nullptr;
    window->handle = PortableNewHandle<HWND>();
    window->owner = PortableCurrentThreadId();
    window->style = style;
    window->frame = PortableFrameFor(style, menu != nullptr);
    const int frameWidth = window->frame.left + window->frame.right;
    const int frameHeight = window->frame.top + window->frame.bottom;
    if (x != CW_USEDEFAULT) {
        window->x = x;
        window->y = y;
    }
    if (width == CW_USEDEFAULT) {
        width = kDefaultClientWidth + frameWidth;
        height = kDefaultClientHeight + frameHeight;
    }
    window->clientWidth = std::max(1, width - frameWidth);
    window->clientHeight = std::max(1, height - frameHeight);
    const HWND handle = window->handle;
    const ATOM classAtom = window->classAtom;
    if (!OpenHostWindow(*window, title ? title : "")) {
        PortableReleaseClass(classAtom);
        return nullptr;
    }
    if (!PortableAddWindow(std::move(window))) {
        HostCloseWindow(handle);
        PortableReleaseClass(classAtom);
        return nullptr;
    }
    if (style & WS_VISIBLE)
        PortableShowWindow(handle, SW_SHOW);
    return handle;
}

HWND WINAPI PortableCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID data)
{
    // One class registry for both forms: a class atom passes as it is.
    const bool atom = (reinterpret_cast<uintptr_t>(className) >> 16) == 0;
    const std::string narrowClass = atom || !className ? std::string() : Utf16ToUtf8(className);
    const std::string narrowTitle = title ? Utf16ToUtf8(title) : std::string();
    const LPCSTR classArgument = atom ? reinterpret_cast<LPCSTR>(className) : narrowClass.c_str();
    return PortableCreateWindowExA(exStyle, className ? classArgument : nullptr, title ? narrowTitle.c_str() : nullptr,
                                   style, x, y, width, height, parent, menu, instance, data);
}

BOOL WINAPI PortableGetClientRect(HWND handle, LPRECT rect)
{
    return rect && PortableVisitWindow(handle, [&](PortableWindow &window) {
               *rect = {0, 0, window.minimized ? 0 : window.clientWidth, window.minimized ? 0 : window.clientHeight};
           });
}

// The modelled frame around where the client area really is.
BOOL WINAPI PortableGetWindowRect(HWND handle, LPRECT rect)
{
    return rect && PortableVisitWindow(handle, [&](PortableWindow &window) {
               *rect = {window.x, window.y, window.x + window.frame.left + window.clientWidth + window.frame.right,
                        window.y + window.frame.top + window.clientHeight + window.frame.bottom};
           });
}

void Restore(PortableWindow &window, PortableNotices &notices)
{
    HostRestoreWindow(window.handle);
    PortableSetMinimized(window, false, notices);
}

// Owner thread. The commands that show a window activate it, as Win32's do.
void ShowOwnWindow(PortableWindow &window, int command, PortableNotices &notices)
{
    switch (command) {
    case SW_HIDE:
        if (window.visible)
            HostHideWindow(window.handle);
        {
            PortableWindowLock hold;
            window.visible = false;
        }
        PortableSetPaintable(window.handle, false);
        PortableDeactivate(window.handle, notices);
        break;
    case SW_MAXIMIZE: // the window manager sizes it; the size message follows from there
        PortableReveal(window, notices);
        if (window.minimized)
            Restore(window, notices);
        HostMaximizeWindow(window.handle);
        PortableActivate(window.handle, notices);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        PortableReveal(window, notices);
        HostMinimizeWindow(window.handle);
        PortableSetMinimized(window, true, notices); // at once: without a window manager no event would come
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        PortableReveal(window, notices);
        if (window.minimized)
            Restore(window, notices);
        else if (command == SW_RESTORE && HostIsMaximized(window.handle))
            HostRestoreWindow(window.handle);
        PortableActivate(window.handle, notices);
        break;
    case SW_SHOW:
        PortableReveal(window, notices);
        PortableActivate(window.handle, notices);
        break;
    default: // SW_SHOWNA, SW_SHOWNOACTIVATE and the like
        PortableReveal(window, notices);
        break;
    }
}

BOOL WINAPI PortableIsIconic(HWND handle)
{
    bool minimized = false;
    PortableVisitWindow(handle, [&](PortableWindow &window) { minimized = window.minimized; });
    return minimized;
}

} // namespace

BOOL WINAPI PortableShowWindow(HWND handle, int command)
{
    bool wasVisible = false;
    DWORD owner = 0;
    if (!PortableVisitWindow(handle, [&](PortableWindow &window) {
            wasVisible = window.visible;
            owner = window.owner;
        }))
        return FALSE;
    if (owner != PortableCurrentThreadId()) {
        PortableAskThread(owner, [handle, command] { PortableShowWindow(handle, command); });
        return wasVisible;
    }
    PortableWindow *window = PortableFindOwnedWindow(handle);
    PortableNotices notices;
    ShowOwnWindow(*window, command, notices);
    PortableDeliver(notices);
    return wasVisible;
}

BOOL WINAPI PortableDestroyWindow(HWND handle)
{
    PortableWindow *window = PortableFindOwnedWindow(handle); // Win32 refuses other threads' windows too
    if (!window || window->destroying)
        return FALSE;
    window->destroying = true; // read by no other thread
    // Hidden first, as Win32 does, so that an active window hears of its
    // deactivation before it is destroyed.
    PortableNotices notices;
    ShowOwnWindow(*window, SW_HIDE, notices);
    PortableDeliver(notices);
    if (WNDPROC procedure = window->windowClass.lpfnWndProc) {
        procedure(handle, WM_DESTROY, 0, 0);
        procedure(handle, WM_NCDESTROY, 0, 0);
    }
    PortableReleaseWindowGL(handle);
    PortableForgetWindowDC(handle);
    PortableForgetFocus(handle);
    PortableForgetCapture(handle);
    PortableForgetPaint(handle);
    PortableForgetActive(handle);
    std::unique_ptr<PortableWindow> gone = PortableRemoveWindow(handle);
    HostCloseWindow(handle); // no other thread finds it now
    PortableReleaseClass(gone->classAtom);
    return TRUE;
}

void PortableFillWindows(PlatformTable *t)
{
    t->CreateWindowExA = PortableCreateWindowExA;
    t->CreateWindowExW = PortableCreateWindowExW;
    t->DestroyWindow = PortableDestroyWindow;
    t->GetClientRect = PortableGetClientRect;
    t->GetWindowRect = PortableGetWindowRect;
    t->ShowWindow = PortableShowWindow;
    t->IsIconic = PortableIsIconic;
}
