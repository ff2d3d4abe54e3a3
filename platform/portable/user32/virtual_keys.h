// What Win32 calls the keys SDL reports.
#ifndef PLATFORM_PORTABLE_VIRTUAL_KEYS_H
#define PLATFORM_PORTABLE_VIRTUAL_KEYS_H

#include <SDL.h>
#include <stdint.h>

#include "platform/platform.h"
#include "user32/key_state.h"

// The virtual key: letters and digits by what the layout puts on the key,
// the rest by where the key is; 0 for a key Win32 has no name for.
BYTE PortableVirtualKey(const SDL_Keysym &key);

// The keys Win32 marks extended in a key message (bit 24).
bool PortableExtendedKey(SDL_Scancode scancode);

// The character a US keyboard gives for a press of the key in that state,
// for keys the layout gives no text for (Return, Tab, Control with a letter)
// and for key messages no keyboard made. 0 for none.
uint32_t PortableFallbackCharacter(BYTE key, const PortableKeyState &keys);

#endif
