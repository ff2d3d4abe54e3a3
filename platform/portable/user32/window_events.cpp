// SDL's window events as Win32's size, move, activation, close and repaint,
// the pump that hands every SDL event to the thread owning its window, and
// the active window. SDL's queue is one for the process and whichever thread
// looks at its own queue reads it; only the owner turns a window event into
// messages, so no thread changes another thread's window.
#include "user32/window_events.h"

#include <SDL.h>

#include <mutex>

#include "kernel32/threads.h"
#include "user32/display_watch.h"
#include "user32/keyboard.h"
#include "user32/message_queue.h"
#include "user32/mouse.h"
#include "user32/painting.h"
#include "user32/sdl_windows.h"

namespace {

thread_local bool pumping = false;

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

bool Maximized(PortableWindow &window)
{
    PortableSdlHold hold(PortableSdlLock());
    return (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_MAXIMIZED) != 0;
}

// Owner thread.
void TranslateWindowEvent(PortableWindow &window, const SDL_WindowEvent &event, PortableNotices &notices)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        AddNotice(notices, window.handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        PortableSetMinimized(window, true, notices);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        PortableSetMinimized(window, false, notices);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        PortableNoteFocus(window.handle, true);
        PortableActivate(window.handle, notices);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        PortableNoteFocus(window.handle, false);
        PortableDeactivate(window.handle, notices);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        if (event.data1 == window.clientWidth && event.data2 == window.clientHeight)
            break;
        const int oldWidth = window.clientWidth, oldHeight = window.clientHeight;
        {
            PortableWindowLock hold;
            window.clientWidth = event.data1;
            window.clientHeight = event.data2;
        }
        PortableInvalidateResized(window.handle, window.windowClass.style, oldWidth, oldHeight, event.data1,
                                  event.data2);
        if (!window.minimized) {
            AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
            AddNotice(notices, window.handle, WM_SIZE, Maximized(window) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                      ClientSize(window));
        }
        break;
    }
    case SDL_WINDOWEVENT_MOVED:
        if (event.data1 == window.x + window.frame.left && event.data2 == window.y + window.frame.top)
            break;
        {
            PortableWindowLock hold;
            window.x = event.data1 - window.frame.left;
            window.y = event.data2 - window.frame.top;
        }
        if (!window.minimized)
            AddNotice(notices, window.handle, WM_MOVE, 0, ClientCorner(window));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        // Repainted, not erased: the erase of a size change or a showing has
        // been done already, and GL covers the client area anyway.
        PortableInvalidate(window.handle, nullptr, false);
        break;
    default:
        break;
    }
}

// Owner thread: a window event the pump handed over, if the window is still there.
void TranslateHandedOver(HWND handle, const SDL_WindowEvent &event)
{
    PortableWindow *window = PortableFindOwnedWindow(handle);
    if (!window)
        return;
    PortableNotices notices;
    TranslateWindowEvent(*window, event, notices);
    PortableDeliver(notices);
}

uint32_t EventWindowId(const SDL_Event &event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    default: return 0; // SDL_QUIT among them: only WM_CLOSE ends a window here
    }
}

// SDL lock held. Input is queued for the owner at once, in the order SDL
// read it; a window event goes to the owner to translate.
void HandOver(const SDL_Event &event)
{
    HWND window = nullptr;
    DWORD owner = 0;
    if (!PortableWindowOfSdl(EventWindowId(event), &window, &owner))
        return;
    switch (event.type) {
    case SDL_WINDOWEVENT: {
        const SDL_WindowEvent windowEvent = event.window;
        PortableAskThread(owner, [window, windowEvent] { TranslateHandedOver(window, windowEvent); });
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        PortablePostKey(window, owner, event.key);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        PortablePostMouse(window, owner, event);
        break;
    default:
        break;
    }
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
    {
        PortableSdlHold hold(PortableSdlLock());
        SDL_ShowWindow(window.sdl);
    }
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

bool PortableCanPump()
{
    return PortableThreadOwnsWindows() && !pumping;
}

void PortablePumpWindowEvents()
{
    if (pumping)
        return;
    pumping = true;
    if (PortableThreadOwnsWindows()) {
        PortableSdlHold hold(PortableSdlLock()); // one reader of SDL's queue at a time
        SDL_Event event;
        while (SDL_PollEvent(&event))
            HandOver(event);
        PortableDisplayRead();
    }
    PortableRunAskedTasks();
    pumping = false;
}
