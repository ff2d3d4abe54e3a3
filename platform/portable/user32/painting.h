// Each window's update region: what InvalidateRect marks, WM_PAINT reports
// and BeginPaint validates. Kept under HostLock() with the queues, since
// taking a message looks at both at once.
#ifndef PLATFORM_PORTABLE_PAINTING_H
#define PLATFORM_PORTABLE_PAINTING_H

#include "platform/platform.h"

// Client coordinates; null for the whole client area. False for no window.
bool PortableInvalidate(HWND window, const RECT *rect, bool erase);

// BeginPaint, also for the default handling of WM_PAINT.
HDC WINAPI PortableBeginPaint(HWND window, LPPAINTSTRUCT paint);

// Owner thread: sends WM_ERASEBKGND if an erase is due, which is then done
// whatever the procedure answers. Windows erases at once when a window is
// shown or sized, before the size message.
void PortableEraseNow(HWND window);

// Owner thread: only a shown window that is not minimised gets WM_PAINT.
void PortableSetPaintable(HWND window, bool paintable);

// The client area went from the old size to the new one: what the class
// asks to be repainted, and what the window newly shows, is invalidated.
void PortableInvalidateResized(HWND window, UINT classStyle, int oldWidth, int oldHeight, int newWidth,
                               int newHeight);

// HostLock() held: a window of the thread (or that window) with something
// to repaint, or null.
HWND PortableFindPaint(DWORD thread, HWND window);

void PortableForgetPaint(HWND window);

void PortableFillPainting(PlatformTable *t);

#endif
