// Mouse input and the cursor.
#ifndef PLATFORM_PORTABLE_MOUSE_H
#define PLATFORM_PORTABLE_MOUSE_H

#include <SDL.h>

#include "user32/window_registry.h"

// Posts the message of an SDL motion or button event to the window's owner.
void PortablePostMouse(const PortableWindow &window, const SDL_Event &event);

// Whether ShowCursor's display count lets the cursor show.
bool PortableCursorShown();

#endif
