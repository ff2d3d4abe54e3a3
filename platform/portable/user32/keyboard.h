// Keyboard input and focus.
#ifndef PLATFORM_PORTABLE_KEYBOARD_H
#define PLATFORM_PORTABLE_KEYBOARD_H

#include <SDL.h>
#include <stdint.h>

#include "user32/window_registry.h"

// Event reader, SDL lock held: queues the key message of an SDL key event for
// the window's owner, with the character the layout gives for it (SDL's text
// event that follows a press is taken here).
void PortablePostKey(HWND window, DWORD owner, const SDL_KeyboardEvent &event);

// The calling thread took this key message: TranslateMessage gives it this
// character.
void PortableRememberCharacter(const MSG &keyMessage, uint32_t character);

// Owner thread: the window got or lost the keyboard focus, or is going away.
void PortableNoteFocus(HWND window, bool gained);
void PortableForgetFocus(HWND window);

#endif
