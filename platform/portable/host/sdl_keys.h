// What Win32 calls the keys SDL reports.
#ifndef PLATFORM_PORTABLE_HOST_SDL_KEYS_H
#define PLATFORM_PORTABLE_HOST_SDL_KEYS_H

#include <SDL.h>

#include "platform/platform.h"

// The virtual key: letters and digits by what the layout puts on the key,
// the rest by where the key is; 0 for a key Win32 has no name for.
BYTE HostVirtualKey(const SDL_Keysym &key);

// The keys Win32 marks extended in a key message (bit 24).
bool HostExtendedKey(SDL_Scancode scancode);

#endif
