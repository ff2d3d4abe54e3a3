// The state of the keys and mouse buttons, kept twice as Win32 keeps it: as
// the devices report it while events are read, and as of the input message a
// thread took last, which is what GetKeyState answers.
#ifndef PLATFORM_PORTABLE_KEY_STATE_H
#define PLATFORM_PORTABLE_KEY_STATE_H

#include <stdint.h>

#include <array>

#include "platform/platform.h"

// One byte per virtual key: bit 7 held down, bit 0 toggled.
using PortableKeyState = std::array<BYTE, 256>;

// The event reader's side, on the thread that reads the host's events.
void PortableNoteKey(BYTE key, bool down); // a press toggles, a repeat does not
// Shift, Control and Alt held, Caps Lock and Num Lock on, as the device
// reports them with each key event.
void PortableNoteModifiers(bool shift, bool control, bool alt, bool capsLock, bool numLock);
PortableKeyState PortableDeviceKeys();
bool PortableHeld(const PortableKeyState &keys, BYTE key);

// The calling thread took an input message stamped with this state and, for
// a key press, the character the keyboard typed with it (0 for none).
void PortableAdoptInput(const MSG &message, const PortableKeyState &keys, uint32_t character);
const PortableKeyState &PortableThreadKeys();
// The character typed with the key press the calling thread took last, if
// the message is that press.
bool PortableTypedWith(const MSG &keyMessage, uint32_t *character);

void PortableFillKeyState(PlatformTable *t);

#endif
