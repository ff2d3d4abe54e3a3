// The characters of keys no keyboard layout gave text for.
#ifndef PLATFORM_PORTABLE_KEY_CHARACTERS_H
#define PLATFORM_PORTABLE_KEY_CHARACTERS_H

#include <stdint.h>

#include "platform/platform.h"
#include "user32/key_state.h"

// The character a US keyboard gives for a press of the key in that state,
// for keys the layout gives no text for (Return, Tab, Control with a letter)
// and for key messages no keyboard made. 0 for none.
uint32_t PortableFallbackCharacter(BYTE key, const PortableKeyState &keys);

#endif
