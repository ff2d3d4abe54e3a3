// Translating key messages into characters, and the keyboard focus, kept per
// thread as Win32 keeps it per input queue.
#include "user32/keyboard.h"

#include "host/sdl_windows.h"
#include "kernel32/threads.h"
#include "user32/key_characters.h"
#include "user32/key_state.h"
#include "user32/message_queue.h"
#include "user32/window_registry.h"

namespace {

thread_local HWND focusWindow = nullptr;

BOOL WINAPI PortableTranslateMessage(const MSG *message)
{
    if (!message)
        return FALSE;
    switch (message->message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        break;
    default:
        return FALSE;
    }
    uint32_t character = 0;
    if (!PortableTypedWith(*message, &character))
        character = PortableFallbackCharacter(static_cast<BYTE>(message->wParam), PortableThreadKeys());
    if (character != 0) {
        // A narrow window gets Latin-1; what it cannot hold becomes '?', as a code page would make it.
        const WPARAM narrow = character < 0x100 ? character : '?';
        const UINT made = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
        const DWORD owner = message->hwnd ? PortableWindowOwner(message->hwnd) : PortableCurrentThreadId();
        PortablePostToThread(owner, PortableMakeMessage(message->hwnd, made, narrow, message->lParam));
    }
    return TRUE;
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
        HostFocusWindow(handle);
    focusWindow = handle;
    return previous;
}

HWND WINAPI PortableGetFocus(void)
{
    return focusWindow;
}

} // namespace

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
