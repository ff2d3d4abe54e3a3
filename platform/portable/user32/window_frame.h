// The modelled frame of a top-level window. The host's window is the client
// area; the frame around it exists only in these numbers, the same ones that
// AdjustWindowRectEx adds and GetSystemMetrics reports.
#ifndef PLATFORM_PORTABLE_WINDOW_FRAME_H
#define PLATFORM_PORTABLE_WINDOW_FRAME_H

#include "platform/platform.h"

struct PortableFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

PortableFrame PortableFrameFor(DWORD style, bool hasMenu);

void PortableFillWindowFrame(PlatformTable *t);

#endif
