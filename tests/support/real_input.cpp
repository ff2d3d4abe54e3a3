#include "tests/support/real_input.h"

#ifdef _WIN32

namespace {

void SendKey(BYTE virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

DWORD ButtonFlag(MouseButton button, bool up)
{
    switch (button) {
    case MouseButton::Left: return up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    case MouseButton::Right: return up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
    default: return up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN;
    }
}

// Absolute positions are in 65536ths of the screen; the first one that
// lands on the pixel.
LONG Normalised(int pixel, int screen)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen - 1) / screen);
}

} // namespace

bool RealInputReady() { return true; }
void PressKey(BYTE virtualKey) { SendKey(virtualKey, false); }
void ReleaseKey(BYTE virtualKey) { SendKey(virtualKey, true); }
void PressButton(MouseButton button) { SendMouse(ButtonFlag(button, false)); }
void ReleaseButton(MouseButton button) { SendMouse(ButtonFlag(button, true)); }

void MovePointerTo(int screenX, int screenY)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(screenX, GetSystemMetrics(SM_CXSCREEN)),
              Normalised(screenY, GetSystemMetrics(SM_CYSCREEN)));
}

#else

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

namespace {

// A connection of the test's own: the server puts the input where the user's
// would go, and the program under test reads it from its own connection.
Display *Connection()
{
    static Display *display = [] {
        Display *opened = XOpenDisplay(nullptr);
        int event, error, major, minor;
        if (opened && !XTestQueryExtension(opened, &event, &error, &major, &minor)) {
            XCloseDisplay(opened);
            opened = nullptr;
        }
        return opened;
    }();
    return display;
}

KeySym SymbolOf(BYTE virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return XK_0 + (virtualKey - '0');
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 12)
        return XK_F1 + (virtualKey - VK_F1);
    switch (virtualKey) {
    case VK_SHIFT: return XK_Shift_L;
    case VK_CONTROL: return XK_Control_L;
    case VK_MENU: return XK_Alt_L;
    case VK_CAPITAL: return XK_Caps_Lock;
    case VK_RETURN: return XK_Return;
    case VK_TAB: return XK_Tab;
    case VK_ESCAPE: return XK_Escape;
    case VK_BACK: return XK_BackSpace;
    case VK_SPACE: return XK_space;
    case VK_LEFT: return XK_Left;
    case VK_UP: return XK_Up;
    case VK_RIGHT: return XK_Right;
    case VK_DOWN: return XK_Down;
    default: return NoSymbol;
    }
}

// Waits until the server has handled it: the events are then on their way
// to the program under test. SDL takes a release followed within 2 ms by a
// press of the same key for auto-repeat, so keys go no faster than a person
// types.
void SendKey(BYTE virtualKey, bool down)
{
    Display *display = Connection();
    const KeyCode code = XKeysymToKeycode(display, SymbolOf(virtualKey));
    XTestFakeKeyEvent(display, code, down, CurrentTime);
    XSync(display, False);
    usleep(5000);
}

unsigned ButtonNumber(MouseButton button)
{
    return button == MouseButton::Left ? 1 : button == MouseButton::Middle ? 2 : 3;
}

void SendButton(MouseButton button, bool down)
{
    XTestFakeButtonEvent(Connection(), ButtonNumber(button), down, CurrentTime);
    XSync(Connection(), False);
}

} // namespace

bool RealInputReady() { return Connection() != nullptr; }
void PressKey(BYTE virtualKey) { SendKey(virtualKey, true); }
void ReleaseKey(BYTE virtualKey) { SendKey(virtualKey, false); }
void PressButton(MouseButton button) { SendButton(button, true); }
void ReleaseButton(MouseButton button) { SendButton(button, false); }

void MovePointerTo(int screenX, int screenY)
{
    XTestFakeMotionEvent(Connection(), -1, screenX, screenY, CurrentTime);
    XSync(Connection(), False);
}

#endif

void TypeKey(BYTE virtualKey)
{
    PressKey(virtualKey);
    ReleaseKey(virtualKey);
}
