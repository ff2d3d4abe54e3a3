// The frame metrics have one home: the rectangle AdjustWindowRectEx grows,
// the corner the host places the client area at, and GetSystemMetrics all
// derive from the constants here.
#include "user32/window_frame.h"

#include "host/sdl_display_modes.h"

namespace {

constexpr int kFrame = 3;    // SM_CXFRAME, SM_CYFRAME
constexpr int kBorder = 1;   // SM_CXBORDER, SM_CYBORDER
constexpr int kCaption = 24; // SM_CYCAPTION: the caption bar and the border line below it
constexpr int kMenuBar = 20; // SM_CYMENU

BOOL WINAPI PortableAdjustWindowRectEx(LPRECT rect, DWORD style, BOOL hasMenu, DWORD)
{
    if (!rect)
        return FALSE;
    const PortableFrame frame = PortableFrameFor(style, hasMenu != FALSE);
    // At the ends of the range the sums wrap, as Windows' own arithmetic does.
    const auto grow = [](LONG &side, int by) { side = LONG(uint32_t(side) + uint32_t(by)); };
    grow(rect->left, -frame.left);
    grow(rect->top, -frame.top);
    grow(rect->right, frame.right);
    grow(rect->bottom, frame.bottom);
    return TRUE;
}

BOOL WINAPI PortableAdjustWindowRect(LPRECT rect, DWORD style, BOOL hasMenu)
{
    return PortableAdjustWindowRectEx(rect, style, hasMenu, 0);
}

int WINAPI PortableGetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXFRAME:
    case SM_CYFRAME:
        return kFrame;
    case SM_CYBORDER:
        return kBorder;
    case SM_CYCAPTION:
        return kCaption;
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        int width = 0, height = 0;
        if (!HostScreenSize(&width, &height))
            return 0;
        return index == SM_CXSCREEN ? width : height;
    }
    default:
        return 0;
    }
}

} // namespace

PortableFrame PortableFrameFor(DWORD style, bool hasMenu)
{
    PortableFrame frame;
    if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME))
        frame.left = frame.top = frame.right = frame.bottom = kFrame;
    // The caption's own bottom line is the border's, so it adds one less.
    if ((style & WS_CAPTION) == WS_CAPTION)
        frame.top += kCaption - kBorder;
    if (hasMenu)
        frame.top += kMenuBar;
    return frame;
}

void PortableFillWindowFrame(PlatformTable *t)
{
    t->AdjustWindowRect = PortableAdjustWindowRect;
    t->AdjustWindowRectEx = PortableAdjustWindowRectEx;
    t->GetSystemMetrics = PortableGetSystemMetrics;
}
