// The event loop, the redraw request, the buffer swap, the pointer query,
// and the window's destruction with the teardown its destroy message runs.
#include "event_loop.h"

#include "palettes.h"
#include "platform/platform.h"
#include "toolkit_state.h"

namespace {

uint32_t teardowns = 0;

// False when the message was the quit request.
bool HandleNext(MSG *message)
{
    if (platform.GetMessageA(message, nullptr, 0, 0) <= 0) // an error ends the loop too
        return false;
    platform.TranslateMessage(message);
    platform.DispatchMessageA(message);
    return true;
}

bool MessageWaiting(MSG *message)
{
    return platform.PeekMessageA(message, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

} // namespace

void RequestRedraw(HWND window)
{
    MSG waiting;
    if (!platform.PeekMessageA(&waiting, window, WM_PAINT, WM_PAINT, PM_NOREMOVE))
        platform.InvalidateRect(window, nullptr, FALSE);
}

void DestroyWindowIfAny(HWND window)
{
    if (window)
        platform.DestroyWindow(window);
}

uint32_t TeardownCount()
{
    return teardowns;
}

void TeardownToolkit()
{
    ++teardowns;
    ToolkitState &s = toolkitState;
    if (s.palette) {
        const HPALETTE stock = static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE));
        if (s.staticTakeover)
            RealizeToolkitPalette(s.deviceContext, stock, true); // gives the static colours back
        else if (stock)
            platform.SelectPalette(s.deviceContext, stock, FALSE);
        platform.DeleteObject(s.palette);
    }
    if (s.renderContext) {
        platform.wglMakeCurrent(s.deviceContext, nullptr);
        platform.wglDeleteContext(s.renderContext);
    }
    if (s.deviceContext)
        platform.ReleaseDC(s.window, s.deviceContext);
    s.window = nullptr;
    s.deviceContext = nullptr;
    s.renderContext = nullptr;
    s.palette = nullptr;
    s.onReshape = nullptr;
    s.onExpose = nullptr;
    s.onKey = nullptr;
    s.onButtonDown = nullptr;
    s.onButtonUp = nullptr;
    s.onPointerMove = nullptr;
    s.onIdle = nullptr;
    s.windowActive = 0;
}

extern "C" {

// onIdle is read afresh at every pass, so a callback switches between the
// waiting form and the polling form, which never waits.
void tkRunLoop(void)
{
    MSG message;
    if (!toolkitState.window) {
        // Nothing to show: handle what waits (a failed open's quit request
        // among it) and return rather than wait for ever.
        while (MessageWaiting(&message)) {
            if (!HandleNext(&message))
                return;
        }
        return;
    }
    if (const TkReshapeCallback onReshape = toolkitState.onReshape) {
        RECT client{};
        platform.GetClientRect(toolkitState.window, &client);
        onReshape(client.right, client.bottom);
    }
    for (;;) {
        if (!toolkitState.onIdle) {
            if (!HandleNext(&message))
                return;
            continue;
        }
        while (MessageWaiting(&message)) {
            if (!HandleNext(&message))
                return;
        }
        if (const TkIdleCallback onIdle = toolkitState.onIdle)
            onIdle();
    }
}

void tkFlipBuffers(void)
{
    platform.SwapBuffers(toolkitState.deviceContext);
}

// Either output may be null when the caller wants only the other.
void tkPointerPosition(int32_t *x, int32_t *y)
{
    int32_t unwantedX, unwantedY;
    x = x ? x : &unwantedX;
    y = y ? y : &unwantedY;
    *x = 0;
    *y = 0;
    POINT pointer;
    if (!platform.GetCursorPos(&pointer))
        return; // both stay 0
    *x = Saturated(int64_t(pointer.x) - toolkitState.clientX);
    *y = Saturated(int64_t(pointer.y) - toolkitState.clientY);
}

} // extern "C"
