// The toolkit window's messages as the program's callbacks. A callback may
// do anything, tkShutWindow included: after one returns, a handler goes on
// only while the window it was handed is still the toolkit's.
#include "window_procedure.h"

#include "event_loop.h"
#include "palettes.h"
#include "platform/platform.h"
#include "system_colours.h"
#include "toolkit_state.h"

namespace {

// Positions are signed 16-bit halves of the second parameter.
int32_t SignedLow(LPARAM value) { return int16_t(LOWORD(value)); }
int32_t SignedHigh(LPARAM value) { return int16_t(HIWORD(value)); }

// The redraw a callback's non-zero result asks for, if the window survived it.
void RedrawIfAsked(HWND window, int32_t asked, uint32_t teardownsBefore)
{
    if (asked && TeardownCount() == teardownsBefore)
        RequestRedraw(window);
}

int32_t KeyCodeOfKeyDown(WPARAM key)
{
    switch (key) {
    case VK_RETURN: return TKKEY_RETURN;
    case VK_ESCAPE: return TKKEY_ESCAPE;
    case VK_SPACE: return TKKEY_SPACE;
    case VK_LEFT: return TKKEY_LEFT;
    case VK_UP: return TKKEY_UP;
    case VK_RIGHT: return TKKEY_RIGHT;
    case VK_DOWN: return TKKEY_DOWN;
    default: return 0; // letters and digits come as characters
    }
}

int32_t KeyCodeOfCharacter(WPARAM character)
{
    const bool digit = character >= '0' && character <= '9';
    const bool letter = (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z');
    return digit || letter ? int32_t(character) : 0;
}

void Key(HWND window, int32_t code)
{
    const TkKeyCallback onKey = toolkitState.onKey;
    if (code == 0 || !onKey)
        return;
    int32_t modifiers = 0;
    if (platform.GetKeyState(VK_CONTROL) & 0x8000)
        modifiers |= TKMOD_CONTROL;
    if (platform.GetKeyState(VK_SHIFT) & 0x8000)
        modifiers |= TKMOD_SHIFT;
    const uint32_t mark = TeardownCount();
    RedrawIfAsked(window, onKey(code, modifiers), mark);
}

void Button(HWND window, LPARAM position, int32_t button, bool down)
{
    if (down)
        platform.SetCapture(window);
    else
        platform.ReleaseCapture();
    const TkButtonCallback callback = down ? toolkitState.onButtonDown : toolkitState.onButtonUp;
    if (!callback)
        return;
    const uint32_t mark = TeardownCount();
    RedrawIfAsked(window, callback(SignedLow(position), SignedHigh(position), button), mark);
}

void PointerMove(HWND window, WPARAM held, LPARAM position)
{
    const TkPointerMoveCallback onPointerMove = toolkitState.onPointerMove;
    if (!onPointerMove)
        return;
    int32_t mask = 0;
    if (held & MK_LBUTTON)
        mask |= TKBTN_LEFT;
    if (held & MK_RBUTTON)
        mask |= TKBTN_RIGHT;
    if (held & MK_MBUTTON)
        mask |= TKBTN_MIDDLE;
    const uint32_t mark = TeardownCount();
    RedrawIfAsked(window, onPointerMove(SignedLow(position), SignedHigh(position), mask), mark);
}

void Size(HWND window, LPARAM size)
{
    toolkitState.clientWidth = LOWORD(size);
    toolkitState.clientHeight = HIWORD(size);
    const TkReshapeCallback onReshape = toolkitState.onReshape;
    if (!onReshape)
        return;
    const uint32_t mark = TeardownCount();
    onReshape(toolkitState.clientWidth, toolkitState.clientHeight);
    RedrawIfAsked(window, 1, mark);
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    platform.BeginPaint(window, &paint);
    if (const TkExposeCallback onExpose = toolkitState.onExpose)
        onExpose();
    platform.EndPaint(window, &paint); // a window already gone just refuses
}

// Realised in front or behind; the picture changes when entries moved.
void Realize(HWND window, bool background)
{
    if (RealizeToolkitPalette(toolkitState.deviceContext, toolkitState.palette, background) > 0)
        RequestRedraw(window);
}

LRESULT Activate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool inactive = LOWORD(wParam) == WA_INACTIVE, minimised = HIWORD(wParam) != 0;
    toolkitState.windowActive = !inactive && !minimised;
    if (inactive && toolkitState.palette)
        Realize(window, true);
    if (inactive || minimised || !toolkitState.palette)
        return platform.DefWindowProcA(window, message, wParam, lParam);
    Realize(window, false);
    return 1;
}

void PaletteChanged(HWND window, WPARAM changer)
{
    if (reinterpret_cast<HWND>(changer) == window || toolkitState.staticSaved || !toolkitState.palette)
        return;
    if (platform.SelectPalette(toolkitState.deviceContext, toolkitState.palette, TRUE))
        platform.RealizePalette(toolkitState.deviceContext);
}

// New system colours may move the static entries an RGB palette makes room
// for. Those the takeover and its return set are left alone: the palette
// they are realising must not be deleted under them, and the static entries
// do not move for them.
void RebuildRgbPalette(HWND window)
{
    PIXELFORMATDESCRIPTOR format;
    if (ChangingSystemColours() || !toolkitState.deviceContext || !toolkitState.palette ||
        !DescribeCurrentFormat(toolkitState.deviceContext, &format) || format.iPixelType != PFD_TYPE_RGBA ||
        !(format.dwFlags & PFD_NEED_PALETTE))
        return;
    const HPALETTE old = toolkitState.palette;
    toolkitState.palette = nullptr;
    if (EnsureRgbPalette(toolkitState.deviceContext)) {
        platform.DeleteObject(old);
        RequestRedraw(window);
    } else {
        toolkitState.palette = old;
    }
}

} // namespace

LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        TeardownToolkit();
        platform.PostQuitMessage(1);
        return 0;
    case WM_MOVE:
        toolkitState.clientX = SignedLow(lParam);
        toolkitState.clientY = SignedHigh(lParam);
        return 0;
    case WM_SIZE:
        Size(window, lParam);
        return 0;
    case WM_ACTIVATE:
        return Activate(window, message, wParam, lParam);
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_CLOSE:
        DestroyWindowIfAny(toolkitState.window);
        return 0;
    case WM_SYSCOLORCHANGE:
        RebuildRgbPalette(window);
        return platform.DefWindowProcA(window, message, wParam, lParam);
    case WM_KEYDOWN:
        Key(window, KeyCodeOfKeyDown(wParam));
        return 0;
    case WM_CHAR:
        Key(window, KeyCodeOfCharacter(wParam));
        return 0;
    case WM_MOUSEMOVE:
        PointerMove(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        Button(window, lParam, TKBTN_LEFT, message == WM_LBUTTONDOWN);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        Button(window, lParam, TKBTN_RIGHT, message == WM_RBUTTONDOWN);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Button(window, lParam, TKBTN_MIDDLE, message == WM_MBUTTONDOWN);
        return 0;
    case WM_QUERYNEWPALETTE:
        return 1; // realised on activation
    case WM_PALETTECHANGED:
        PaletteChanged(window, wParam);
        return 0;
    case kRealizePaletteRequest:
        Realize(window, false);
        return 0;
    default:
        return platform.DefWindowProcA(window, message, wParam, lParam);
    }
}
