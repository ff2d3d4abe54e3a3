// DefWindowProcA: what Windows does with the messages a procedure passes on.
#include "fill_table.h"
#include "user32/sdl_windows.h"
#include "user32/window_registry.h"

namespace {

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

} // namespace

void PortableFillDefaultWindowProc(PlatformTable *t)
{
    t->DefWindowProcA = PortableDefWindowProcA;
}
