// Opening the toolkit's one window with a current OpenGL context, and the two
// public ways to end it. The class is registered at every open and never
// unregistered, so a process opens the window once.
#include "window_opening.h"

#include "common/error_report.h"
#include "event_loop.h"
#include "pixel_format_selection.h"
#include "platform/platform.h"
#include "toolkit_state.h"
#include "window_procedure.h"

namespace {

const char kClassName[] = "tkLibWClass";
const WCHAR kWideClassName[] = {'t', 'k', 'L', 'i', 'b', 'W', 'C', 'l', 'a', 's', 's', 0};
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

// Windows NT 3.5 and 3.51 know only the first 21 system colours.
int32_t SystemColourCount()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    platform.GetVersionExA(&version);
    const bool oldNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 3 &&
                       (version.dwMinorVersion == 5 || version.dwMinorVersion == 51);
    return oldNT ? 21 : 25;
}

bool RegisterToolkitClass(HINSTANCE instance, bool wide)
{
    const HICON icon = platform.LoadIconA(nullptr, IDI_APPLICATION);
    const HCURSOR cursor = platform.LoadCursorA(nullptr, IDC_ARROW);
    const HBRUSH background = static_cast<HBRUSH>(platform.GetStockObject(BLACK_BRUSH));
    if (wide) {
        WNDCLASSW windowClass{CS_HREDRAW | CS_VREDRAW, ToolkitWindowProc, 0, 0, instance, icon, cursor,
                              background, nullptr, kWideClassName};
        return platform.RegisterClassW(&windowClass) != 0;
    }
    WNDCLASSA windowClass{CS_HREDRAW | CS_VREDRAW, ToolkitWindowProc, 0, 0, instance, icon, cursor,
                          background, nullptr, kClassName};
    return platform.RegisterClassA(&windowClass) != 0;
}

HWND CreateTheWindow(const void *title, bool wide, const RECT &outer, HINSTANCE instance)
{
    const bool placed = toolkitState.systemPlaces != 0;
    const int x = placed ? CW_USEDEFAULT : outer.left;
    const int y = placed ? CW_USEDEFAULT : outer.top;
    const int width = Saturated(int64_t(outer.right) - outer.left);
    const int height = Saturated(int64_t(outer.bottom) - outer.top);
    if (wide)
        return platform.CreateWindowExW(0, kWideClassName, static_cast<LPCWSTR>(title), kWindowStyle, x, y, width,
                                        height, nullptr, nullptr, instance, nullptr);
    return platform.CreateWindowExA(0, kClassName, static_cast<LPCSTR>(title), kWindowStyle, x, y, width, height,
                                    nullptr, nullptr, instance, nullptr);
}

// Steps 5 on: made, shown, with a pixel format and a current context.
bool FinishWindow(const void *title, bool wide, HINSTANCE instance)
{
    RECT outer{toolkitState.clientX, toolkitState.clientY,
               Saturated(int64_t(toolkitState.clientX) + toolkitState.clientWidth),
               Saturated(int64_t(toolkitState.clientY) + toolkitState.clientHeight)};
    platform.AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    toolkitState.window = CreateTheWindow(title, wide, outer, instance);
    if (!toolkitState.window) {
        ReportError(TK_ERROR_WINDOW, "create window failed\n");
        return false;
    }
    // Without the real rectangle the estimate stands.
    RECT placed;
    if (toolkitState.systemPlaces && platform.GetWindowRect(toolkitState.window, &placed))
        SetClientCornerFromOuter(placed.left, placed.top);
    toolkitState.deviceContext = platform.GetDC(toolkitState.window);
    if (!toolkitState.deviceContext) {
        ReportError(TK_ERROR_WINDOW, "Could not get an HDC for window 0x%08lX\n", HandleNumber(toolkitState.window));
        return false;
    }
    // Shown before it has a format: size and activation messages may reach
    // the procedure, and onReshape, before any context exists.
    platform.ShowWindow(toolkitState.window, SW_SHOWDEFAULT);
    if (!ApplyPixelFormat(toolkitState.deviceContext, toolkitState.modeFlags))
        return false;
    toolkitState.renderContext = platform.wglCreateContext(toolkitState.deviceContext);
    if (!toolkitState.renderContext) {
        ReportError(TK_ERROR_CONTEXT, "wglCreateContext Failed\n");
        return false;
    }
    if (!platform.wglMakeCurrent(toolkitState.deviceContext, toolkitState.renderContext)) {
        ReportError(TK_ERROR_CONTEXT, "wglMakeCurrent Failed\n");
        return false;
    }
    return true;
}

} // namespace

int32_t CreateToolkitWindow(const void *title, bool wide)
{
    const HINSTANCE instance = platform.GetModuleHandleA(nullptr);
    toolkitState.sysColorCount = SystemColourCount();
    if (!RegisterToolkitClass(instance, wide)) {
        ReportError(TK_ERROR_WINDOW, "Failed to register window class\n");
        return 0;
    }
    if (FinishWindow(title, wide, instance))
        return 1;
    // Through the destroy message: teardown, and a quit request in the queue.
    DestroyWindowIfAny(toolkitState.window);
    return 0;
}

extern "C" {

int32_t tkOpenWindow(const char *title)
{
    return CreateToolkitWindow(title, false);
}

void tkShutWindow(void)
{
    DestroyWindowIfAny(toolkitState.window);
}

void tkExitProgram(void)
{
    DestroyWindowIfAny(toolkitState.window);
    platform.ExitProcess(0);
}

} // extern "C"
