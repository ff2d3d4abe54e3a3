// SDL key events as Win32 key messages, and the focus, kept per thread as
// Win32 keeps it per input queue.
#include "user32/keyboard.h"

#include "fill_table.h"
#include "user32/message_queue.h"

namespace {

thread_local HWND focusWindow = nullptr;

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

BOOL WINAPI PortableTranslateMessage(const MSG *message)
{
    if (!message)
        return FALSE;
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

HWND WINAPI PortableSetFocus(HWND handle)
{
    const HWND previous = focusWindow;
    if (!handle) {
        focusWindow = nullptr;
        return previous;
    }
    PortableWindow *window = PortableFindOwnedWindow(handle);
    if (!window)
        return nullptr;
    // X11 refuses the focus for an unmapped window.
    if (window->visible && !window->minimized)
        SDL_SetWindowInputFocus(window->sdl);
    focusWindow = handle;
    return previous;
}

HWND WINAPI PortableGetFocus(void)
{
    return focusWindow;
}

} // namespace

void PortablePostKey(const PortableWindow &window, const SDL_KeyboardEvent &event)
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
    PortablePostToThread(window.owner,
                         PortableMakeMessage(window.handle, up ? WM_KEYUP : WM_KEYDOWN, key, static_cast<LPARAM>(flags)));
}

void PortableNoteFocus(HWND window, bool gained)
{
    if (gained)
        focusWindow = window;
    else if (focusWindow == window)
        focusWindow = nullptr;
}

void PortableForgetFocus(HWND window)
{
    PortableNoteFocus(window, false);
}

void PortableFillKeyboard(PlatformTable *t)
{
    t->TranslateMessage = PortableTranslateMessage;
    t->SetFocus = PortableSetFocus;
    t->GetFocus = PortableGetFocus;
}
