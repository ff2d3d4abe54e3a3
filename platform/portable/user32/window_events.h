// How window state changes become messages, and which window is active.
// Changes made while handling an SDL event or a platform call gather their
// messages first and deliver them after, since a procedure may destroy the
// window it is handed.
#ifndef PLATFORM_PORTABLE_WINDOW_EVENTS_H
#define PLATFORM_PORTABLE_WINDOW_EVENTS_H

#include <vector>

#include "platform/platform.h"
#include "user32/window_registry.h"

using PortableNotices = std::vector<MSG>;

// Sends each notice on the owner's thread; another thread's window gets it posted.
void PortableDeliver(const PortableNotices &notices);

// Owner thread. Shows a hidden window; its first showing reports its size.
void PortableReveal(PortableWindow &window, PortableNotices &notices);
// Minimising deactivates the window, restoring activates it.
void PortableSetMinimized(PortableWindow &window, bool minimized, PortableNotices &notices);

// Any thread. The one active window of the desktop: making another active
// deactivates the one before, each hearing of it through WM_ACTIVATE.
void PortableActivate(HWND window, PortableNotices &notices);
void PortableDeactivate(HWND window, PortableNotices &notices); // only if it is the active one
HWND PortableActiveWindow();
void PortableForgetActive(HWND window); // the window is going

// Reads SDL's process-wide events and hands each to the thread that owns its
// window, as input or as a window event for that thread to turn into
// messages; then runs what was handed to the calling thread. Procedures
// called from here may look at their queue again.
void PortablePumpWindowEvents();

// Whether the calling thread can read SDL's events now: it owns windows and
// is not inside a procedure that the pump called.
bool PortableCanPump();

#endif
