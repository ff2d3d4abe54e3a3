// Keyboard input and focus.
#ifndef PLATFORM_PORTABLE_KEYBOARD_H
#define PLATFORM_PORTABLE_KEYBOARD_H

#include <SDL.h>

#include "user32/window_registry.h"

// Posts the key message of an SDL key event to the window's owner.
void PortablePostKey(const PortableWindow &window, const SDL_KeyboardEvent &event);

// Owner thread: the window got or lost the keyboard focus, or is going away.
void PortableNoteFocus(HWND window, bool gained);
void PortableForgetFocus(HWND window);

#endif
