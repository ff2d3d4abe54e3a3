// Opening the toolkit window, and taking everything down when it goes.
#ifndef TOOLKIT_WINDOW_LIFECYCLE_H
#define TOOLKIT_WINDOW_LIFECYCLE_H

#include <stdint.h>

#include "platform/win32_types.h"

// title is UTF-16 when wide is set. 1 with the context current, 0 after
// reporting why not.
int32_t CreateToolkitWindow(const void *title, bool wide);

void DestroyWindowIfAny(HWND window);

// Releases palette, rendering context and device context and clears the
// handles and callbacks; only the destroy message runs it.
void TeardownToolkit();

// Teardowns so far: a handler that called out to the program compares it
// before and after, and touches nothing more when the window went meanwhile.
uint32_t TeardownCount();

LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One repaint without erasing, unless a paint is waiting already.
void RequestRedraw(HWND window);

#endif
