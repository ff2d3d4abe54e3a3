// The settings, callback slots and handle queries over the one toolkit record.
#include "toolkit_state.h"

#include "platform/platform.h"

ToolkitState toolkitState = {
    0, 0, 100, 100,       // client corner and size
    TKMODE_COLOR_INDEX,   // single-buffered colour index
    TKPF_CHOOSE, 0,       // format policy and id
    1,                    // systemPlaces
    25,                   // sysColorCount
    nullptr, nullptr, nullptr, nullptr,
    0, 0,                 // staticTakeover, staticSaved
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    0,                    // windowActive
};

void SetClientCornerFromOuter(int32_t x, int32_t y)
{
    // Extreme corners stay at the edge of the range rather than wrap.
    toolkitState.clientX = Saturated(int64_t(x) + platform.GetSystemMetrics(SM_CXFRAME));
    toolkitState.clientY = Saturated(int64_t(y) + platform.GetSystemMetrics(SM_CYCAPTION) +
                                     platform.GetSystemMetrics(SM_CYFRAME) - platform.GetSystemMetrics(SM_CYBORDER));
}

extern "C" {

void tkPlaceWindow(int32_t x, int32_t y, int32_t width, int32_t height)
{
    // The caller gives the outer corner; the record keeps the client corner,
    // estimated from the frame metrics until the window reports its own.
    static_assert(TK_DEFAULT_POSITION == CW_USEDEFAULT, "the public name of the system's placement");
    if (x == CW_USEDEFAULT) {
        toolkitState.systemPlaces = 1;
        x = 0;
        y = 0;
    } else {
        toolkitState.systemPlaces = 0;
    }
    SetClientCornerFromOuter(x, y);
    toolkitState.clientWidth = width;
    toolkitState.clientHeight = height;
}

void tkScreenSize(int32_t *width, int32_t *height)
{
    *width = platform.GetSystemMetrics(SM_CXSCREEN);
    *height = platform.GetSystemMetrics(SM_CYSCREEN);
}

void tkSetModeFlags(uint32_t flags) { toolkitState.modeFlags = flags; }
uint32_t tkModeFlags(void) { return toolkitState.modeFlags; }

void tkSetFormatPolicy(int32_t policy) { toolkitState.formatPolicy = policy; }
int32_t tkFormatPolicy(void) { return toolkitState.formatPolicy; }

int32_t tkSetFormatId(int32_t number)
{
    toolkitState.formatId = number;
    return 1;
}
int32_t tkFormatId(void) { return toolkitState.formatId; }

void tkOnReshape(TkReshapeCallback callback) { toolkitState.onReshape = callback; }
void tkOnExpose(TkExposeCallback callback) { toolkitState.onExpose = callback; }
void tkOnKey(TkKeyCallback callback) { toolkitState.onKey = callback; }
void tkOnButtonDown(TkButtonCallback callback) { toolkitState.onButtonDown = callback; }
void tkOnButtonUp(TkButtonCallback callback) { toolkitState.onButtonUp = callback; }
void tkOnPointerMove(TkPointerMoveCallback callback) { toolkitState.onPointerMove = callback; }
void tkOnIdle(TkIdleCallback callback) { toolkitState.onIdle = callback; }

// On Windows the public types are the handles themselves.
TkWindowRef tkWindowHandle(void) { return reinterpret_cast<TkWindowRef>(toolkitState.window); }
TkDeviceRef tkDeviceContext(void) { return reinterpret_cast<TkDeviceRef>(toolkitState.deviceContext); }
TkContextRef tkRenderContext(void) { return reinterpret_cast<TkContextRef>(toolkitState.renderContext); }

} // extern "C"
