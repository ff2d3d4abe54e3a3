// DefWindowProcA: what Windows does with the messages a procedure passes on.
#include "user32/default_window_proc.h"
#include "user32/key_state.h"
#include "user32/message_queue.h"
#include "user32/painting.h"
#include "user32/window_registry.h"
#include "user32/windows.h"

namespace {

LRESULT SystemCommand(HWND window, WPARAM command)
{
    switch (command & 0xFFF0) { // the low four bits are the system's own
    case SC_CLOSE:
        if (WNDPROC procedure = PortableWindowProc(window))
            procedure(window, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        PortableShowWindow(window, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        PortableShowWindow(window, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        PortableShowWindow(window, SW_RESTORE);
        break;
    default:
        break;
    }
    return 0;
}

// Alt+F4 asks to close, whether or not a window manager would have.
void SystemKey(HWND window, WPARAM key, LPARAM data)
{
    const bool alt = (HIWORD(data) & KF_ALTDOWN) != 0;
    if (alt && key == VK_F4 && !PortableHeld(PortableThreadKeys(), VK_CONTROL))
        PortablePostToThread(PortableWindowOwner(window), PortableMakeMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0));
}

// The class brush would fill the client area; GL covers all of it, so the
// erase only reports whether there was a brush to do it with.
LRESULT EraseBackground(HWND window)
{
    const PortableWindow *found = PortableFindOwnedWindow(window);
    return found && found->windowClass.hbrBackground ? 1 : 0;
}

LRESULT WINAPI PortableDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return SystemCommand(window, wParam);
    case WM_CLOSE:
        PortableDestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        SystemKey(window, wParam, lParam);
        return 0;
    case WM_PAINT: { // validated, or it would come again and again
        PAINTSTRUCT paint;
        PortableBeginPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(window);
    default:
        return 0;
    }
}

} // namespace

void PortableFillDefaultWindowProc(PlatformTable *t)
{
    t->DefWindowProcA = PortableDefWindowProcA;
}
