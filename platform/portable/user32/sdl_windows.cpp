// Creating, showing and destroying top-level windows over SDL2. The frame
// that AdjustWindowRectEx adds is subtracted again when a window is made, so
// an adjusted rectangle gives exactly the asked-for client area.
#include "user32/sdl_windows.h"

#include <SDL.h>

#include <algorithm>
#include <errno.h> // program_invocation_short_name

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "fill_table.h"
#include "kernel32/threads.h"
#include "opengl32/gl_contexts.h"
#include "user32/display_modes.h"
#include "user32/display_watch.h"
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
bool OpenSdlWindow(PortableWindow &window)
{
    PortableSdlHold hold(PortableSdlLock());
    Uint32 flags = SDL_WINDOW_HIDDEN; // GL draws to a child window of its own visual
    if (window.frame.Empty())
        flags |= SDL_WINDOW_BORDERLESS;
    if (window.style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    const std::optional<SDL_DisplayMode> mode = PortableFullscreenMode();
    const bool fullscreen = (window.style & WS_POPUP) && mode;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    SDL_Window *sdl = SDL_CreateWindow(window.title.c_str(), window.x + window.frame.left, window.y + window.frame.top,
                                       window.clientWidth, window.clientHeight, flags);
    if (!sdl) // a display without GLX (8-bit Xvfb) still has windows; GL then fails on them
        sdl = SDL_CreateWindow(window.title.c_str(), window.x + window.frame.left, window.y + window.frame.top,
                               window.clientWidth, window.clientHeight, flags & ~SDL_WINDOW_OPENGL);
    if (!sdl)
        return false;
    if (fullscreen)
        SDL_SetWindowDisplayMode(sdl, &*mode);
    PortableWatchDisplayOf(sdl);
    window.sdl = sdl;
    window.sdlId = SDL_GetWindowID(sdl);
    return true;
}

HWND WINAPI PortableCreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                    int height, HWND, HMENU menu, HINSTANCE instance, LPVOID)
{
    if (style & WS_CHILD) // only top-level windows are modelled
        return nullptr;
    auto window = std::make_unique<PortableWindow>();
    if (!PortableAcquireClass(className, instance, &window->windowClass, &window->classAtom))
        return nullptr;
    window->owner = PortableCurrentThreadId();
    window->title = title ? title : "";
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
    if (!PortableEnsureVideo() || !OpenSdlWindow(*window)) {
        PortableReleaseClass(window->classAtom);
        return nullptr;
    }
    const HWND handle = PortableAddWindow(std::move(window));
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

void SdlCall(void (*call)(SDL_Window *), SDL_Window *sdl)
{
    PortableSdlHold hold(PortableSdlLock());
    call(sdl);
}

bool IsMaximized(SDL_Window *sdl)
{
    PortableSdlHold hold(PortableSdlLock());
    return (SDL_GetWindowFlags(sdl) & SDL_WINDOW_MAXIMIZED) != 0;
}

void Restore(PortableWindow &window, PortableNotices &notices)
{
    SdlCall(SDL_RestoreWindow, window.sdl);
    PortableSetMinimized(window, false, notices);
}

// Owner thread. The commands that show a window activate it, as Win32's do.
void ShowOwnWindow(PortableWindow &window, int command, PortableNotices &notices)
{
    switch (command) {
    case SW_HIDE:
        if (window.visible)
            SdlCall(SDL_HideWindow, window.sdl);
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
        SdlCall(SDL_MaximizeWindow, window.sdl);
        PortableActivate(window.handle, notices);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        PortableReveal(window, notices);
        SdlCall(SDL_MinimizeWindow, window.sdl);
        PortableSetMinimized(window, true, notices); // at once: without a window manager no event would come
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        PortableReveal(window, notices);
        if (window.minimized)
            Restore(window, notices);
        else if (command == SW_RESTORE && IsMaximized(window.sdl))
            SdlCall(SDL_RestoreWindow, window.sdl);
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

namespace {

// Any thread: the window is activated at once, and raised.
BOOL WINAPI PortableSetForegroundWindow(HWND handle)
{
    if (!PortableWithSdlWindow(handle, SDL_RaiseWindow))
        return FALSE;
    PortableNotices notices;
    PortableActivate(handle, notices);
    PortableDeliver(notices);
    return TRUE;
}

BOOL WINAPI PortableIsIconic(HWND handle)
{
    bool minimized = false;
    PortableVisitWindow(handle, [&](PortableWindow &window) { minimized = window.minimized; });
    return minimized;
}

} // namespace

std::recursive_mutex &PortableSdlLock()
{
    static auto *lock = new std::recursive_mutex; // windows of exiting threads still go
    return *lock;
}

bool PortableWithSdlWindow(HWND handle, const std::function<void(SDL_Window *)> &use)
{
    PortableSdlHold hold(PortableSdlLock());
    SDL_Window *sdl = nullptr;
    PortableVisitWindow(handle, [&](PortableWindow &window) { sdl = window.sdl; });
    if (sdl)
        use(sdl);
    return sdl != nullptr;
}

namespace {

// Said once per process on standard error: every program on this layer, the
// demo and a toolkit program with its boxes off alike, tells why it shows nothing.
void SayNoDisplay()
{
    static bool said = false;
    if (said)
        return;
    said = true;
    const char *display = getenv("DISPLAY");
    if (!display || !*display)
        fprintf(stderr, "%s: no usable display: DISPLAY is not set\n", program_invocation_short_name);
    else
        fprintf(stderr, "%s: no usable display: cannot use \"%s\" (%s)\n", program_invocation_short_name, display,
                SDL_GetError());
}

} // namespace

bool PortableEnsureVideo()
{
    static bool ready = false;
    PortableSdlHold hold(PortableSdlLock());
    if (ready)
        return true;
    // SDL must not take SIGINT/SIGTERM away from the process, nor keep a
    // Windows program's screen saver off.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The pointer is grabbed only while the program holds the capture.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // A click that activates a window reaches it too, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // GL goes through GLX, so X is the one driver that can serve; without this
    // SDL tries Wayland first and prints its complaint. SDL_VIDEODRIVER overrides.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SayNoDisplay();
        return false;
    }
    SDL_ShowCursor(PortableCursorShown() ? SDL_ENABLE : SDL_DISABLE);
    ready = true;
    return true;
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
    SdlCall(SDL_DestroyWindow, gone->sdl); // no other thread finds it now
    PortableReleaseClass(gone->classAtom);
    return TRUE;
}

void PortableFillSdlWindows(PlatformTable *t)
{
    t->CreateWindowExA = PortableCreateWindowExA;
    t->CreateWindowExW = PortableCreateWindowExW;
    t->DestroyWindow = PortableDestroyWindow;
    t->GetClientRect = PortableGetClientRect;
    t->GetWindowRect = PortableGetWindowRect;
    t->ShowWindow = PortableShowWindow;
    t->SetForegroundWindow = PortableSetForegroundWindow;
    t->IsIconic = PortableIsIconic;
}
