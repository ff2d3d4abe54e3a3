// SDL mouse events as Win32 mouse messages, and ShowCursor's display count.
#include "user32/mouse.h"

#include <atomic>

#include "fill_table.h"
#include "user32/message_queue.h"

namespace {

thread_local Uint32 mouseButtons = 0;
std::atomic<int> cursorCount{0};

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

UINT ButtonMessage(Uint8 button, bool down)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
    }
}

void Post(const PortableWindow &window, UINT message, int x, int y)
{
    PortablePostToThread(window.owner,
                         PortableMakeMessage(window.handle, message, MouseKeyFlags(mouseButtons), MAKELPARAM(x, y)));
}

int WINAPI PortableShowCursor(BOOL show)
{
    const int count = show ? ++cursorCount : --cursorCount;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return count;
}

} // namespace

void PortablePostMouse(const PortableWindow &window, const SDL_Event &event)
{
    if (event.type == SDL_MOUSEMOTION) {
        mouseButtons = event.motion.state;
        Post(window, WM_MOUSEMOVE, event.motion.x, event.motion.y);
        return;
    }
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    const UINT message = ButtonMessage(event.button.button, down);
    if (message == 0)
        return;
    if (down)
        mouseButtons |= SDL_BUTTON(event.button.button);
    else
        mouseButtons &= ~SDL_BUTTON(event.button.button);
    Post(window, message, event.button.x, event.button.y);
}

bool PortableCursorShown()
{
    return cursorCount >= 0;
}

void PortableFillMouse(PlatformTable *t)
{
    t->ShowCursor = PortableShowCursor;
}
