#include "tests/support/real_input.h"

#ifdef _WIN32

namespace {

// Absolute positions are in 65536ths of the screen; the first one that
// lands on the pixel.
LONG Normalised(int pixel, int screen)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen - 1) / screen);
}

void SendMouse(LONG dx, LONG dy, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi = {dx, dy, 0, flags, 0, 0};
    SendInput(1, &input, sizeof input);
}

} // namespace

bool RealInputReady() { return true; }

void PressKey(BYTE virtualKey, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void PressButton(BYTE button, bool down)
{
    const DWORD left = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    const DWORD right = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    const DWORD middle = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
    SendMouse(0, 0, button == VK_RBUTTON ? right : button == VK_MBUTTON ? middle : left);
}

void MovePointerTo(int screenX, int screenY)
{
    SendMouse(Normalised(screenX, GetSystemMetrics(SM_CXSCREEN)), Normalised(screenY, GetSystemMetrics(SM_CYSCREEN)),
              MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
}

#else

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <utility>

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
    const std::pair<BYTE, KeySym> named[] = {
        {VK_SHIFT, XK_Shift_L}, {VK_CONTROL, XK_Control_L}, {VK_MENU, XK_Alt_L},   {VK_CAPITAL, XK_Caps_Lock},
        {VK_RETURN, XK_Return}, {VK_TAB, XK_Tab},           {VK_ESCAPE, XK_Escape}, {VK_BACK, XK_BackSpace},
        {VK_SPACE, XK_space},   {VK_LEFT, XK_Left}};
    for (const auto &[key, symbol] : named) {
        if (key == virtualKey)
            return symbol;
    }
    return NoSymbol;
}

} // namespace

bool RealInputReady() { return Connection() != nullptr; }

// SDL takes a release followed within 2 ms by a press of the same key for
// auto-repeat, so keys go no faster than a person types.
void PressKey(BYTE virtualKey, bool down)
{
    XTestFakeKeyEvent(Connection(), XKeysymToKeycode(Connection(), SymbolOf(virtualKey)), down, CurrentTime);
    XSync(Connection(), False); // handled by the server: on their way to the program under test
    usleep(5000);
}

void PressButton(BYTE button, bool down)
{
    XTestFakeButtonEvent(Connection(), button == VK_RBUTTON ? 3 : button == VK_MBUTTON ? 2 : 1, down, CurrentTime);
    XSync(Connection(), False);
}

void MovePointerTo(int screenX, int screenY)
{
    XTestFakeMotionEvent(Connection(), -1, screenX, screenY, CurrentTime);
    XSync(Connection(), False);
}

#endif
