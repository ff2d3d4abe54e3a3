// The one way events come up from the host floor: the event reader
// (host/sdl_events.cpp) calls these for each event of a window it knows, on
// the thread that reads, with the SDL lock held. user32 defines them
// (user32/input.cpp), turning each into Win32 input for the window's owner.
#ifndef PLATFORM_PORTABLE_HOST_HOST_INPUT_H
#define PLATFORM_PORTABLE_HOST_HOST_INPUT_H

#include <stdint.h>

#include "platform/platform.h"

struct HostKey {
    BYTE key; // the virtual key, never 0
    bool down;
    bool repeat;   // a press while the key was down already
    bool extended; // as Win32 marks the key
    bool shift, control, alt, capsLock, numLock; // as the keyboard reports them with the event
    uint32_t character; // what the layout typed with a press, 0 for nothing
};

enum class HostButton { None, Left, Right, Middle };

struct HostPointer {
    HostButton button; // None: the pointer moved
    bool down;
    int x, y; // client coordinates
    bool leftHeld, rightHeld, middleHeld; // with a move
};

enum class HostWindowChange { Closed, Minimized, Restored, FocusGained, FocusLost, Resized, Moved, Exposed };

void PortableInputKey(HWND window, const HostKey &key);
void PortableInputPointer(HWND window, const HostPointer &pointer);
// Resized: the client area's new width and height; Moved: its new corner.
void PortableInputWindowChange(HWND window, HostWindowChange change, int first, int second);

#endif
