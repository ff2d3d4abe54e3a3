// The keyboard focus.
#ifndef PLATFORM_PORTABLE_KEYBOARD_H
#define PLATFORM_PORTABLE_KEYBOARD_H

#include "platform/platform.h"

// Owner thread: the window got or lost the keyboard focus, or is going away.
void PortableNoteFocus(HWND window, bool gained);
void PortableForgetFocus(HWND window);

void PortableFillKeyboard(PlatformTable *t);

#endif
