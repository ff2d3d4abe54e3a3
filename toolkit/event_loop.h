// The toolkit's event loop, and taking everything down when the window goes.
#ifndef TOOLKIT_EVENT_LOOP_H
#define TOOLKIT_EVENT_LOOP_H

#include <stdint.h>

#include "platform/win32_types.h"

// Destroys the window if there is one; its destroy message tears the
// toolkit down and queues the quit request.
void DestroyWindowIfAny(HWND window);

// Releases palette, rendering context and device context and clears the
// handles and callbacks; only the destroy message runs it.
void TeardownToolkit();

// Teardowns so far: a handler that called out to the program compares it
// before and after, and touches nothing more when the window went meanwhile.
uint32_t TeardownCount();

// One repaint without erasing, unless a paint is waiting already.
void RequestRedraw(HWND window);

#endif
