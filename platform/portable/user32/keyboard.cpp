// SDL key events as Win32 key messages, their translation into characters,
// and the focus, kept per thread as Win32 keeps it per input queue.
#include "user32/keyboard.h"

#include "fill_table.h"
#include "kernel32/threads.h"
#include "user32/message_queue.h"
#include "user32/sdl_windows.h"
#include "user32/virtual_keys.h"

namespace {

thread_local HWND focusWindow = nullptr;

// The key message the thread took last, and what the keyboard typed with it.
struct TypedKey {
    MSG message{};
    uint32_t character = 0;
};
thread_local TypedKey lastTaken;

bool SameMessage(const MSG &a, const MSG &b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.time == b.time;
}

// The first character of SDL's text event, if one follows the press at once
// (SDL makes both of the same X key event).
uint32_t TakeTypedCharacter()
{
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT)
        return 0;
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    const auto *text = reinterpret_cast<const unsigned char *>(next.text.text);
    if (text[0] < 0x80)
        return text[0];
    const int length = text[0] >= 0xF0 ? 4 : text[0] >= 0xE0 ? 3 : 2;
    uint32_t code = text[0] & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (text[i] & 0x3F);
    }
    return code;
}

// Alt went down and no other key since: its release is a system key too.
bool altAlone = false; // event reader, SDL lock held

// Win32's system keys: anything pressed with Alt (but not with Control,
// which makes AltGr), F10, Alt itself, and its release after nothing else.
UINT KeyMessage(BYTE key, bool down, const PortableKeyState &keys)
{
    const bool control = PortableHeld(keys, VK_CONTROL);
    bool system = false;
    if (key == VK_MENU) {
        system = down ? !control : altAlone;
        altAlone = down && system;
    } else if (key == VK_F10 || (!control && PortableHeld(keys, VK_MENU))) {
        system = true;
        altAlone = false;
    }
    if (down)
        return system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    return system ? WM_SYSKEYUP : WM_KEYUP;
}

LPARAM KeyData(const SDL_KeyboardEvent &event, const PortableKeyState &keys, bool down)
{
    DWORD flags = 1; // repeat count
    if (PortableExtendedKey(event.keysym.scancode))
        flags |= KF_EXTENDED << 16;
    if (PortableHeld(keys, VK_MENU))
        flags |= KF_ALTDOWN << 16;
    if (event.repeat || !down)
        flags |= KF_REPEAT << 16; // the key was down before
    if (!down)
        flags |= KF_UP << 16;
    return static_cast<LPARAM>(flags);
}

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
    const uint32_t character = SameMessage(*message, lastTaken.message)
                                   ? lastTaken.character
                                   : PortableFallbackCharacter(static_cast<BYTE>(message->wParam), PortableThreadKeys());
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
    if (window->visible && !window->minimized) {
        PortableSdlHold hold(PortableSdlLock());
        SDL_SetWindowInputFocus(window->sdl);
    }
    focusWindow = handle;
    return previous;
}

HWND WINAPI PortableGetFocus(void)
{
    return focusWindow;
}

} // namespace

void PortablePostKey(HWND window, DWORD owner, const SDL_KeyboardEvent &event)
{
    const BYTE key = PortableVirtualKey(event.keysym);
    const bool down = event.type == SDL_KEYDOWN;
    const uint32_t typed = down ? TakeTypedCharacter() : 0;
    if (key == 0)
        return;
    const Uint16 mod = event.keysym.mod;
    PortableNoteModifiers(mod & KMOD_SHIFT, mod & KMOD_CTRL, mod & KMOD_ALT, mod & KMOD_CAPS, mod & KMOD_NUM);
    PortableNoteKey(key, down);
    PortableInput input;
    input.keys = PortableDeviceKeys();
    const UINT message = KeyMessage(key, down, input.keys);
    input.message = PortableMakeMessage(window, message, key, KeyData(event, input.keys, down));
    if (down)
        input.character = typed ? typed : PortableFallbackCharacter(key, input.keys);
    PortablePostInput(owner, input);
}

void PortableRememberCharacter(const MSG &keyMessage, uint32_t character)
{
    if (keyMessage.message == WM_KEYDOWN || keyMessage.message == WM_SYSKEYDOWN)
        lastTaken = {keyMessage, character};
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
