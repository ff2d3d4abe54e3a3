// The toolkit's one process-wide record.
#ifndef TOOLKIT_TOOLKIT_STATE_H
#define TOOLKIT_TOOLKIT_STATE_H

#include <stddef.h>
#include <stdint.h>

#include "platform/win32_types.h"
#include "toolkit/tk.h"

struct ToolkitState {
    int32_t clientX;
    int32_t clientY;
    int32_t clientWidth;
    int32_t clientHeight;
    uint32_t modeFlags;
    int32_t formatPolicy;
    int32_t formatId;
    int32_t systemPlaces;
    int32_t sysColorCount;
    HWND window;
    HDC deviceContext;
    HGLRC renderContext;
    HPALETTE palette;
    int32_t staticTakeover;
    int32_t staticSaved;
    TkReshapeCallback onReshape;
    TkExposeCallback onExpose;
    TkKeyCallback onKey;
    TkButtonCallback onButtonDown;
    TkButtonCallback onButtonUp;
    TkPointerMoveCallback onPointerMove;
    TkIdleCallback onIdle;
    // The window is the active one and not minimised: only then may its
    // palette be realised in front and take the static colours.
    int32_t windowActive;
};

extern ToolkitState toolkitState;

// The client corner of an overlapped window whose outer corner is x, y, by
// the frame metrics the platform reports now.
void SetClientCornerFromOuter(int32_t x, int32_t y);

// A sum or difference of 32-bit values, held to the 32-bit range.
inline int32_t Saturated(int64_t value)
{
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int32_t(value);
}

// A handle as the 32-bit number the reporter's "%08lX" prints.
inline DWORD HandleNumber(const void *handle)
{
    return static_cast<DWORD>(reinterpret_cast<uintptr_t>(handle));
}

#endif
