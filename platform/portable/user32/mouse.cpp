// SDL mouse events as Win32 mouse messages, the capture, the cursor position
// and ShowCursor's display count. SDL captures the pointer (an X pointer
// grab) only while the program holds the capture, as Win32 does, so a drag
// past the window's edge keeps reporting just when SetCapture asked for it.
// One window of the desktop holds the capture; GetCapture tells it to the
// thread that owns it only.
#include "user32/mouse.h"

#include <atomic>
#include <mutex>

#include "fill_table.h"
#include "kernel32/threads.h"
#include "user32/key_state.h"
#include "user32/message_queue.h"
#include "user32/sdl_windows.h"

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
    PortableSdlHold hold(PortableSdlLock());
    SDL_CaptureMouse(SDL_FALSE);
}

std::atomic<int> cursorCount{0};

WPARAM MouseKeyFlags(const PortableKeyState &keys)
{
    struct Flag {
        BYTE key;
        WPARAM flag;
    };
    constexpr Flag kFlags[] = {{VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_MBUTTON, MK_MBUTTON},
                               {VK_SHIFT, MK_SHIFT},     {VK_CONTROL, MK_CONTROL}};
    WPARAM flags = 0;
    for (const Flag &each : kFlags) {
        if (PortableHeld(keys, each.key))
            flags |= each.flag;
    }
    return flags;
}

UINT ButtonMessage(Uint8 button, bool down)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
    }
}

BYTE ButtonKey(Uint8 button)
{
    return button == SDL_BUTTON_LEFT ? VK_LBUTTON : button == SDL_BUTTON_RIGHT ? VK_RBUTTON : VK_MBUTTON;
}

void NoteButtons(Uint32 held)
{
    PortableNoteKey(VK_LBUTTON, held & SDL_BUTTON_LMASK);
    PortableNoteKey(VK_RBUTTON, held & SDL_BUTTON_RMASK);
    PortableNoteKey(VK_MBUTTON, held & SDL_BUTTON_MMASK);
}

// Where the window's client area is on the screen.
SDL_Point ClientOrigin(HWND window)
{
    SDL_Point origin{0, 0};
    PortableWithSdlWindow(window, [&](SDL_Window *sdl) { SDL_GetWindowPosition(sdl, &origin.x, &origin.y); });
    return origin;
}

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
    PortableSdlHold hold(PortableSdlLock());
    SDL_CaptureMouse(SDL_TRUE);
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
    if (!point || !PortableEnsureVideo())
        return FALSE;
    int x = 0, y = 0;
    PortableSdlHold hold(PortableSdlLock());
    SDL_GetGlobalMouseState(&x, &y);
    point->x = x;
    point->y = y;
    return TRUE;
}

int WINAPI PortableShowCursor(BOOL show)
{
    const int count = show ? ++cursorCount : --cursorCount;
    PortableSdlHold hold(PortableSdlLock());
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}

} // namespace

void PortablePostMouse(HWND window, DWORD owner, const SDL_Event &event)
{
    UINT message = WM_MOUSEMOVE;
    SDL_Point at{event.motion.x, event.motion.y};
    if (event.type == SDL_MOUSEMOTION) {
        NoteButtons(event.motion.state);
    } else {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        message = ButtonMessage(event.button.button, down);
        if (message == 0)
            return;
        PortableNoteKey(ButtonKey(event.button.button), down);
        at = {event.button.x, event.button.y};
    }
    PortableInput input;
    input.keys = PortableDeviceKeys();
    const SDL_Point origin = ClientOrigin(window);
    SDL_Point screen{origin.x + at.x, origin.y + at.y};
    HWND target = window;
    const HWND capture = CaptureOf(0);
    if (capture && capture != target) { // the capture takes every mouse message
        const SDL_Point captured = ClientOrigin(capture);
        at = {screen.x - captured.x, screen.y - captured.y};
        target = capture;
        owner = PortableWindowOwner(capture);
    }
    input.message = PortableMakeMessage(target, message, MouseKeyFlags(input.keys), MAKELPARAM(at.x, at.y));
    input.message.pt = {screen.x, screen.y};
    PortablePostInput(owner, input);
}

bool PortableCursorShown()
{
    return cursorCount >= 0;
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
