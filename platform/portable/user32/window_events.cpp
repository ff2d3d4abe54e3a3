// SDL's window events as Win32's size, move, activation, close and repaint,
// and the pump that hands every SDL event to its translator.
#include "user32/window_events.h"

#include <SDL.h>

#include "kernel32/threads.h"
#include "user32/display_watch.h"
#include "user32/keyboard.h"
#include "user32/message_queue.h"
#include "user32/mouse.h"
#include "user32/painting.h"

namespace {

thread_local bool pumping = false;

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
    case SDL_WINDOWEVENT_FOCUS_LOST: {
        const bool gained = event.event == SDL_WINDOWEVENT_FOCUS_GAINED;
        if (window.owner == PortableCurrentThreadId())
            PortableNoteFocus(window.handle, gained);
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(gained ? WA_ACTIVE : WA_INACTIVE, window.minimized),
                  0);
        break;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        if (event.data1 == window.clientWidth && event.data2 == window.clientHeight)
            break;
        const int oldWidth = window.clientWidth, oldHeight = window.clientHeight;
        window.clientWidth = event.data1;
        window.clientHeight = event.data2;
        PortableInvalidateResized(window.handle, window.windowClass.style, oldWidth, oldHeight, event.data1,
                                  event.data2);
        if (!window.minimized) {
            AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
            const bool maximized = (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_MAXIMIZED) != 0;
            AddNotice(notices, window.handle, WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                      ClientSize(window));
        }
        break;
    }
    case SDL_WINDOWEVENT_MOVED:
        if (event.data1 == window.x + window.frame.left && event.data2 == window.y + window.frame.top)
            break;
        window.x = event.data1 - window.frame.left;
        window.y = event.data2 - window.frame.top;
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

void TranslateEvent(const SDL_Event &event)
{
    PortableWindow *window = PortableFindWindow(PortableWindowBySdlId(EventWindowId(event)));
    if (!window)
        return;
    PortableNotices notices;
    switch (event.type) {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(*window, event.window, notices);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        PortablePostKey(*window, event.key);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        PortablePostMouse(*window, event);
        break;
    default:
        break;
    }
    PortableDeliver(notices);
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
            if (const PortableWindow *window = PortableFindWindow(notice.hwnd))
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
    SDL_ShowWindow(window.sdl);
    window.visible = true;
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
    window.minimized = minimized;
    PortableSetPaintable(window.handle, window.visible && !minimized);
    if (minimized) {
        AddNotice(notices, window.handle, WM_SIZE, SIZE_MINIMIZED, 0);
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    } else {
        PortableInvalidate(window.handle, nullptr, true);
        AddNotice(notices, window.handle, WM_ERASEBKGND, 0, 0);
        AddNotice(notices, window.handle, WM_SIZE, SIZE_RESTORED, ClientSize(window));
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    }
}

bool PortableCanPump()
{
    return PortableThreadOwnsWindows() && !pumping;
}

void PortablePumpWindowEvents()
{
    if (!PortableCanPump())
        return;
    pumping = true;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        TranslateEvent(event);
    PortableDisplayRead();
    pumping = false;
}
