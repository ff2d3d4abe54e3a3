// Top-level windows over SDL2. The SDL window is the client area; the frame
// that AdjustWindowRectEx adds is a fixed model, subtracted again when a
// window is made, so an adjusted rectangle gives exactly the asked-for client.
// SDL events become Win32 messages while the owning thread looks at its queue.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "portable.h"
#include "portable_internal.h"

namespace {

// The frame: a 3-pixel border and a 23-pixel caption below its top edge, as
// GetSystemMetrics reports them (SM_CYCAPTION 24 includes one border line).
constexpr int kBorder = 3;
constexpr int kCaption = 23;
constexpr int kMenuBar = 20;
constexpr int kDefaultClientWidth = 640;
constexpr int kDefaultClientHeight = 480;
constexpr uintptr_t kFirstWindowHandle = 0x100000;
constexpr DWORD kChangeDisplayTest = 0x00000002; // CDS_TEST

struct Frame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

Frame FrameFor(DWORD style, bool hasMenu)
{
    Frame frame;
    if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME))
        frame.left = frame.top = frame.right = frame.bottom = kBorder;
    if ((style & WS_CAPTION) == WS_CAPTION)
        frame.top += kCaption;
    if (hasMenu)
        frame.top += kMenuBar;
    return frame;
}

struct Window {
    HWND handle = nullptr;
    DWORD owner = 0;
    WNDCLASSA windowClass{};
    ATOM classAtom = 0;
    std::string title;
    DWORD style = 0;
    Frame frame;
    int x = 0; // outer top-left corner, screen coordinates
    int y = 0;
    int clientWidth = 1;
    int clientHeight = 1;
    LONG_PTR userData = 0;
    SDL_Window *sdl = nullptr;
    Uint32 sdlId = 0;
    bool visible = false;
    bool sized = false; // WM_SIZE has been sent once
    bool minimized = false;
    bool destroying = false;
};

struct WindowRegistry {
    std::mutex lock;
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = kFirstWindowHandle;
    std::optional<SDL_DisplayMode> fullscreenMode;
};

WindowRegistry &Registry()
{
    static auto *registry = new WindowRegistry; // outlives exiting threads
    return *registry;
}

thread_local int ownedWindows = 0;
thread_local bool pumping = false;
thread_local HWND focusWindow = nullptr;
thread_local Uint32 mouseButtons = 0;
std::atomic<int> cursorCount{0};

// A window's fields belong to its owner thread; the registry lock guards the
// map and what other threads read (owner, procedure, user data, SDL id).
Window *Find(HWND handle)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    return found == registry.windows.end() ? nullptr : found->second.get();
}

Window *FindOwned(HWND handle)
{
    Window *window = Find(handle);
    return window && window->owner == PortableCurrentThreadId() ? window : nullptr;
}

HWND FindBySdlId(Uint32 sdlId)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (const auto &entry : registry.windows) {
        if (sdlId != 0 && entry.second->sdlId == sdlId)
            return entry.first;
    }
    return nullptr;
}

bool EnsureVideo()
{
    static std::mutex lock;
    static bool ready = false;
    std::lock_guard<std::mutex> hold(lock);
    if (ready)
        return true;
    // SDL must not take SIGINT/SIGTERM away from the process, nor keep a
    // Windows program's screen saver off.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    ready = true;
    return true;
}

std::optional<SDL_DisplayMode> FullscreenMode()
{
    std::lock_guard<std::mutex> hold(Registry().lock);
    return Registry().fullscreenMode;
}

bool OpenSdlWindow(Window &window)
{
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (window.frame.Empty())
        flags |= SDL_WINDOW_BORDERLESS;
    if (window.style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    const std::optional<SDL_DisplayMode> mode = FullscreenMode();
    const bool fullscreen = (window.style & WS_POPUP) && mode;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    SDL_Window *sdl = SDL_CreateWindow(window.title.c_str(), window.x + window.frame.left, window.y + window.frame.top,
                                       window.clientWidth, window.clientHeight, flags);
    if (!sdl)
        return false;
    if (fullscreen)
        SDL_SetWindowDisplayMode(sdl, &*mode);
    std::lock_guard<std::mutex> hold(Registry().lock);
    window.sdl = sdl;
    window.sdlId = SDL_GetWindowID(sdl);
    return true;
}

// Messages are gathered while a window's state changes and delivered after,
// since a procedure may destroy the window it is handed.
using Notices = std::vector<MSG>;

void AddNotice(Notices &notices, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG notice{};
    notice.hwnd = window;
    notice.message = message;
    notice.wParam = wParam;
    notice.lParam = lParam;
    notices.push_back(notice);
}

// Sent on the owner's thread; another thread's window gets it posted.
void Deliver(const Notices &notices)
{
    const DWORD self = PortableCurrentThreadId();
    for (const MSG &notice : notices) {
        const DWORD owner = PortableWindowOwner(notice.hwnd);
        if (owner != self) {
            if (owner != 0)
                PortablePostToThread(owner, notice);
            continue;
        }
        if (WNDPROC procedure = PortableWindowProc(notice.hwnd))
            procedure(notice.hwnd, notice.message, notice.wParam, notice.lParam);
    }
}

LPARAM ClientSize(const Window &window)
{
    return MAKELPARAM(window.clientWidth, window.clientHeight);
}

void SetMinimized(Window &window, bool minimized, Notices &notices)
{
    if (window.minimized == minimized)
        return;
    window.minimized = minimized;
    if (minimized) {
        AddNotice(notices, window.handle, WM_SIZE, SIZE_MINIMIZED, 0);
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    } else {
        AddNotice(notices, window.handle, WM_SIZE, SIZE_RESTORED, ClientSize(window));
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    }
}

void Reveal(Window &window, Notices &notices)
{
    if (window.visible)
        return;
    SDL_ShowWindow(window.sdl);
    window.visible = true;
    if (!window.sized) {
        window.sized = true;
        AddNotice(notices, window.handle, WM_SIZE, SIZE_RESTORED, ClientSize(window));
    }
}

void TranslateWindowEvent(Window &window, const SDL_WindowEvent &event, Notices &notices)
{
    const bool owned = window.owner == PortableCurrentThreadId();
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        AddNotice(notices, window.handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        SetMinimized(window, true, notices);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        SetMinimized(window, false, notices);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (owned)
            focusWindow = window.handle;
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, window.minimized), 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (owned && focusWindow == window.handle)
            focusWindow = nullptr;
        AddNotice(notices, window.handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, window.minimized), 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (event.data1 == window.clientWidth && event.data2 == window.clientHeight)
            break;
        window.clientWidth = event.data1;
        window.clientHeight = event.data2;
        if (!window.minimized) {
            const bool maximized = (SDL_GetWindowFlags(window.sdl) & SDL_WINDOW_MAXIMIZED) != 0;
            AddNotice(notices, window.handle, WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                      ClientSize(window));
        }
        break;
    case SDL_WINDOWEVENT_MOVED:
        window.x = event.data1 - window.frame.left;
        window.y = event.data2 - window.frame.top;
        break;
    default:
        break;
    }
}

BYTE VirtualKeyFor(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<BYTE>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<BYTE>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<BYTE>(VK_F1 + (key - SDLK_F1));
    switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

void PostInput(const Window &window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG posted{};
    posted.hwnd = window.handle;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = SDL_GetTicks();
    PortablePostToThread(window.owner, posted);
}

void PostKey(const Window &window, const SDL_KeyboardEvent &event)
{
    const BYTE key = VirtualKeyFor(event.keysym.sym);
    if (key == 0)
        return;
    const bool up = event.type == SDL_KEYUP;
    DWORD flags = 1; // repeat count
    if (event.repeat || up)
        flags |= 1u << 30; // the key was down before
    if (up)
        flags |= 1u << 31;
    PostInput(window, up ? WM_KEYUP : WM_KEYDOWN, key, static_cast<LPARAM>(flags));
}

WPARAM MouseKeyFlags(Uint32 buttons)
{
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK)
        flags |= MK_MBUTTON;
    const SDL_Keymod modifiers = SDL_GetModState();
    if (modifiers & KMOD_SHIFT)
        flags |= MK_SHIFT;
    if (modifiers & KMOD_CTRL)
        flags |= MK_CONTROL;
    return flags;
}

void PostMouseButton(const Window &window, const SDL_MouseButtonEvent &event)
{
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    switch (event.button) {
    case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    default: return;
    }
    if (down)
        mouseButtons |= SDL_BUTTON(event.button);
    else
        mouseButtons &= ~SDL_BUTTON(event.button);
    PostInput(window, message, MouseKeyFlags(mouseButtons), MAKELPARAM(event.x, event.y));
}

Uint32 EventWindowId(const SDL_Event &event)
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
    const HWND handle = FindBySdlId(EventWindowId(event));
    Window *window = handle ? Find(handle) : nullptr;
    if (!window)
        return;
    Notices notices;
    switch (event.type) {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(*window, event.window, notices);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        PostKey(*window, event.key);
        break;
    case SDL_MOUSEMOTION:
        mouseButtons = event.motion.state;
        PostInput(*window, WM_MOUSEMOVE, MouseKeyFlags(mouseButtons), MAKELPARAM(event.motion.x, event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        PostMouseButton(*window, event.button);
        break;
    default:
        break;
    }
    Deliver(notices);
}

BOOL WINAPI PortableShowWindow(HWND handle, int command);

HWND WINAPI PortableCreateWindowExA(DWORD, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                    int height, HWND, HMENU menu, HINSTANCE instance, LPVOID)
{
    if (style & WS_CHILD) // only top-level windows are modelled
        return nullptr;
    auto window = std::make_unique<Window>();
    if (!PortableAcquireClass(className, instance, &window->windowClass, &window->classAtom))
        return nullptr;
    window->owner = PortableCurrentThreadId();
    window->title = title ? title : "";
    window->style = style;
    window->frame = FrameFor(style, menu != nullptr);
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
    if (!EnsureVideo() || !OpenSdlWindow(*window)) {
        PortableReleaseClass(window->classAtom);
        return nullptr;
    }

    HWND handle;
    {
        WindowRegistry &registry = Registry();
        std::lock_guard<std::mutex> hold(registry.lock);
        handle = reinterpret_cast<HWND>(registry.nextHandle);
        registry.nextHandle += 4;
        window->handle = handle;
        registry.windows.emplace(handle, std::move(window));
    }
    ++ownedWindows;
    if (style & WS_VISIBLE)
        PortableShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI PortableDestroyWindow(HWND handle)
{
    Window *window = FindOwned(handle); // Win32 refuses other threads' windows too
    if (!window || window->destroying)
        return FALSE;
    window->destroying = true;
    if (WNDPROC procedure = window->windowClass.lpfnWndProc) {
        procedure(handle, WM_DESTROY, 0, 0);
        procedure(handle, WM_NCDESTROY, 0, 0);
    }
    PortableForgetWindowDC(handle);
    if (focusWindow == handle)
        focusWindow = nullptr;
    std::unique_ptr<Window> gone;
    {
        WindowRegistry &registry = Registry();
        std::lock_guard<std::mutex> hold(registry.lock);
        auto found = registry.windows.find(handle);
        gone = std::move(found->second);
        registry.windows.erase(found);
    }
    SDL_DestroyWindow(gone->sdl);
    PortableReleaseClass(gone->classAtom);
    --ownedWindows;
    return TRUE;
}

LRESULT WINAPI PortableDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_SYSCOMMAND:
        // The low four bits of a system command are the system's own.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            if (WNDPROC procedure = PortableWindowProc(window))
                procedure(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_CLOSE:
        PortableDestroyWindow(window);
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI PortableAdjustWindowRectEx(LPRECT rect, DWORD style, BOOL hasMenu, DWORD)
{
    if (!rect)
        return FALSE;
    const Frame frame = FrameFor(style, hasMenu != FALSE);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

BOOL WINAPI PortableGetClientRect(HWND handle, LPRECT rect)
{
    const Window *window = Find(handle);
    if (!window || !rect)
        return FALSE;
    rect->left = 0;
    rect->top = 0;
    rect->right = window->minimized ? 0 : window->clientWidth;
    rect->bottom = window->minimized ? 0 : window->clientHeight;
    return TRUE;
}

BOOL WINAPI PortableShowWindow(HWND handle, int command)
{
    Window *window = Find(handle);
    if (!window)
        return FALSE;
    const BOOL wasVisible = window->visible;
    Notices notices;
    switch (command) {
    case SW_HIDE:
        if (window->visible)
            SDL_HideWindow(window->sdl);
        window->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        Reveal(*window, notices);
        SDL_MinimizeWindow(window->sdl);
        SetMinimized(*window, true, notices); // at once: without a window manager no event would come
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        Reveal(*window, notices);
        if (window->minimized) {
            SDL_RestoreWindow(window->sdl);
            SetMinimized(*window, false, notices);
        }
        break;
    default:
        Reveal(*window, notices);
        break;
    }
    Deliver(notices);
    return wasVisible;
}

BOOL WINAPI PortableSetForegroundWindow(HWND handle)
{
    Window *window = Find(handle);
    if (!window)
        return FALSE;
    SDL_RaiseWindow(window->sdl);
    return TRUE;
}

HWND WINAPI PortableSetFocus(HWND handle)
{
    const HWND previous = focusWindow;
    if (!handle) {
        focusWindow = nullptr;
        return previous;
    }
    Window *window = FindOwned(handle);
    if (!window)
        return nullptr;
    // X11 refuses the focus for an unmapped window.
    if (window->visible && !window->minimized)
        SDL_SetWindowInputFocus(window->sdl);
    focusWindow = handle;
    return previous;
}

BOOL WINAPI PortableIsIconic(HWND handle)
{
    const Window *window = Find(handle);
    return window && window->minimized;
}

LONG_PTR WINAPI PortableSetWindowLongPtrA(HWND handle, int index, LONG_PTR value)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    if (found == registry.windows.end() || index != GWLP_USERDATA)
        return 0;
    return std::exchange(found->second->userData, value);
}

LONG_PTR WINAPI PortableGetWindowLongPtrA(HWND handle, int index)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    if (found == registry.windows.end() || index != GWLP_USERDATA)
        return 0;
    return found->second->userData;
}

int WINAPI PortableShowCursor(BOOL show)
{
    const int count = show ? ++cursorCount : --cursorCount;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}

bool FindDisplayMode(const DEVMODEA &wanted, SDL_DisplayMode *found)
{
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    const int width = (wanted.dmFields & DM_PELSWIDTH) ? static_cast<int>(wanted.dmPelsWidth) : desktop.w;
    const int height = (wanted.dmFields & DM_PELSHEIGHT) ? static_cast<int>(wanted.dmPelsHeight) : desktop.h;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            *found = mode;
            return true;
        }
    }
    return false;
}

void LeaveFullscreen()
{
    std::vector<SDL_Window *> fullscreen;
    {
        WindowRegistry &registry = Registry();
        std::lock_guard<std::mutex> hold(registry.lock);
        registry.fullscreenMode.reset();
        for (const auto &entry : registry.windows) {
            if (SDL_GetWindowFlags(entry.second->sdl) & SDL_WINDOW_FULLSCREEN)
                fullscreen.push_back(entry.second->sdl);
        }
    }
    for (SDL_Window *sdl : fullscreen)
        SDL_SetWindowFullscreen(sdl, 0);
}

// SDL switches modes only for a full-screen window, so the mode is kept here
// and taken up by the WS_POPUP windows made while it is set.
LONG WINAPI PortableChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags)
{
    if (!mode) {
        LeaveFullscreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!EnsureVideo())
        return DISP_CHANGE_FAILED;
    SDL_DisplayMode found;
    if (!FindDisplayMode(*mode, &found))
        return DISP_CHANGE_BADMODE;
    if (!(flags & kChangeDisplayTest)) {
        std::lock_guard<std::mutex> hold(Registry().lock);
        Registry().fullscreenMode = found;
    }
    return DISP_CHANGE_SUCCESSFUL;
}

struct ButtonSet {
    SDL_MessageBoxButtonData buttons[2];
    int count;
    int dismissed; // the answer when the box is closed without a button
};

bool ButtonsFor(UINT type, ButtonSet *set)
{
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const Uint32 escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        *set = {{{enter | escape, IDOK, "OK"}, {}}, 1, IDOK};
        return true;
    case MB_OKCANCEL:
        *set = {{{enter, IDOK, "OK"}, {escape, IDCANCEL, "Cancel"}}, 2, IDCANCEL};
        return true;
    case MB_YESNO:
        *set = {{{enter, IDYES, "Yes"}, {0, IDNO, "No"}}, 2, IDNO};
        return true;
    default:
        return false;
    }
}

Uint32 IconFlags(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
    case MB_ICONINFORMATION:
    case MB_ICONQUESTION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
    }
}

int WINAPI PortableMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    ButtonSet set;
    if (!ButtonsFor(type, &set))
        return 0;
    SDL_MessageBoxData box{};
    box.flags = IconFlags(type) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = owner ? PortableSdlWindow(owner) : nullptr;
    box.title = caption ? caption : "Error"; // Win32's caption for a null one
    box.message = text ? text : "";
    box.numbuttons = set.count;
    box.buttons = set.buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0)
        return 0;
    return pressed >= 0 ? pressed : set.dismissed;
}

} // namespace

bool PortableThreadOwnsWindows()
{
    return ownedWindows > 0;
}

void PortablePumpWindowEvents()
{
    // Procedures called from here may look at their queue again.
    if (ownedWindows == 0 || pumping)
        return;
    pumping = true;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        TranslateEvent(event);
    pumping = false;
}

DWORD PortableWindowOwner(HWND handle)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    return found == registry.windows.end() ? 0 : found->second->owner;
}

WNDPROC PortableWindowProc(HWND handle)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    return found == registry.windows.end() ? nullptr : found->second->windowClass.lpfnWndProc;
}

SDL_Window *PortableSdlWindow(HWND handle)
{
    WindowRegistry &registry = Registry();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.windows.find(handle);
    return found == registry.windows.end() ? nullptr : found->second->sdl;
}

HWND PortableFocusedWindow()
{
    return focusWindow;
}

bool PortableRecreateSdlWindow(HWND handle)
{
    Window *window = FindOwned(handle);
    if (!window)
        return false;
    SDL_Window *previous = window->sdl;
    if (!OpenSdlWindow(*window))
        return false;
    if (window->visible)
        SDL_ShowWindow(window->sdl);
    SDL_DestroyWindow(previous);
    return true;
}

void PortableFillWindows(PlatformTable *t)
{
    t->CreateWindowExA = PortableCreateWindowExA;
    t->DestroyWindow = PortableDestroyWindow;
    t->DefWindowProcA = PortableDefWindowProcA;
    t->AdjustWindowRectEx = PortableAdjustWindowRectEx;
    t->GetClientRect = PortableGetClientRect;
    t->ShowWindow = PortableShowWindow;
    t->SetForegroundWindow = PortableSetForegroundWindow;
    t->SetFocus = PortableSetFocus;
    t->IsIconic = PortableIsIconic;
    t->SetWindowLongPtrA = PortableSetWindowLongPtrA;
    t->GetWindowLongPtrA = PortableGetWindowLongPtrA;
    t->ShowCursor = PortableShowCursor;
    t->ChangeDisplaySettingsA = PortableChangeDisplaySettingsA;
    t->MessageBoxA = PortableMessageBoxA;
}
