// Mouse input, the capture and the cursor.
#ifndef PLATFORM_PORTABLE_MOUSE_H
#define PLATFORM_PORTABLE_MOUSE_H

#include <SDL.h>

#include "user32/window_registry.h"

// Event reader, SDL lock held: queues the message of an SDL motion or button
// event for the window's owner, or for the window that holds the capture.
void PortablePostMouse(HWND window, DWORD owner, const SDL_Event &event);

// Whether ShowCursor's display count lets the cursor show.
bool PortableCursorShown();

// The window is going: a capture it holds ends.
void PortableForgetCapture(HWND window);

#endif
