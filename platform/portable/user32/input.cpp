// The host's events as Win32 input, the one way they come up
// (host/host_input.h). Keys and the pointer become input messages stamped
// with the key state they happened in, queued for the window's owner at once
// and in the order the host read them; a change of a window goes to its owner
// to turn into messages there. Runs on the thread that reads the host's
// events, with the host's SDL lock held.
#include "host/host_input.h"

#include "host/sdl_windows.h"
#include "user32/key_characters.h"
#include "user32/key_state.h"
#include "user32/message_queue.h"
#include "user32/mouse.h"
#include "user32/window_events.h"
#include "user32/window_registry.h"

namespace {

// Alt went down and no other key since: its release is a system key too.
bool altAlone = false; // the reading thread's, the SDL lock held

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

LPARAM KeyData(const HostKey &key, const PortableKeyState &keys)
{
    DWORD flags = 1; // repeat count
    if (key.extended)
        flags |= KF_EXTENDED << 16;
    if (PortableHeld(keys, VK_MENU))
        flags |= KF_ALTDOWN << 16;
    if (key.repeat || !key.down)
        flags |= KF_REPEAT << 16; // the key was down before
    if (!key.down)
        flags |= KF_UP << 16;
    return static_cast<LPARAM>(flags);
}

UINT ButtonMessage(HostButton button, bool down)
{
    switch (button) {
    case HostButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case HostButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case HostButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return WM_MOUSEMOVE;
    }
}

BYTE ButtonKey(HostButton button)
{
    return button == HostButton::Left ? VK_LBUTTON : button == HostButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

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

// Where the window's client area is on the screen.
POINT ClientCorner(HWND window)
{
    int x = 0, y = 0;
    HostClientCorner(window, &x, &y);
    return {x, y};
}

} // namespace

void PortableInputKey(HWND window, const HostKey &key)
{
    const DWORD owner = PortableWindowOwner(window);
    if (owner == 0)
        return;
    PortableNoteModifiers(key.shift, key.control, key.alt, key.capsLock, key.numLock);
    PortableNoteKey(key.key, key.down);
    PortableInput input;
    input.keys = PortableDeviceKeys();
    const UINT message = KeyMessage(key.key, key.down, input.keys);
    input.message = PortableMakeMessage(window, message, key.key, KeyData(key, input.keys));
    if (key.down)
        input.character = key.character ? key.character : PortableFallbackCharacter(key.key, input.keys);
    PortablePostInput(owner, input);
}

// The capture takes every pointer message, wherever the pointer is.
void PortableInputPointer(HWND window, const HostPointer &pointer)
{
    DWORD owner = PortableWindowOwner(window);
    if (owner == 0)
        return;
    if (pointer.button == HostButton::None) {
        PortableNoteKey(VK_LBUTTON, pointer.leftHeld);
        PortableNoteKey(VK_RBUTTON, pointer.rightHeld);
        PortableNoteKey(VK_MBUTTON, pointer.middleHeld);
    } else {
        PortableNoteKey(ButtonKey(pointer.button), pointer.down);
    }
    PortableInput input;
    input.keys = PortableDeviceKeys();
    const POINT origin = ClientCorner(window);
    const POINT screen{origin.x + pointer.x, origin.y + pointer.y};
    POINT at{pointer.x, pointer.y};
    HWND target = window;
    const HWND capture = PortableCaptureWindow();
    if (capture && capture != target) {
        const POINT captured = ClientCorner(capture);
        at = {screen.x - captured.x, screen.y - captured.y};
        target = capture;
        owner = PortableWindowOwner(capture);
    }
    input.message = PortableMakeMessage(target, ButtonMessage(pointer.button, pointer.down), MouseKeyFlags(input.keys),
                                        MAKELPARAM(at.x, at.y));
    input.message.pt = screen;
    PortablePostInput(owner, input);
}

void PortableInputWindowChange(HWND window, HostWindowChange change, int first, int second)
{
    const DWORD owner = PortableWindowOwner(window);
    if (owner != 0)
        PortableAskThread(owner, [=] { PortableTranslateWindowChange(window, change, first, second); });
}
