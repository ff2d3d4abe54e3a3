// Test support: input made the way a user's is, through the system's own
// input path (SendInput on Windows, the XTEST extension under X), so that
// what a window gets can be compared on both builds.
#ifndef TESTS_SUPPORT_REAL_INPUT_H
#define TESTS_SUPPORT_REAL_INPUT_H

#include "platform/platform.h"

// False when there is nothing to send input to (no display natively).
bool RealInputReady();

void PressKey(BYTE virtualKey, bool down = true);

// VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
void PressButton(BYTE button, bool down = true);
void MovePointerTo(int screenX, int screenY);

#endif
