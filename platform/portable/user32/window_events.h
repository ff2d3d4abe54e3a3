// How window state changes become messages, and which window is active.
// Changes made while handling a host event or a platform call gather their
// messages first and deliver them after, since a procedure may destroy the
// window it is handed.
#ifndef PLATFORM_PORTABLE_WINDOW_EVENTS_H
#define PLATFORM_PORTABLE_WINDOW_EVENTS_H

#include <vector>

#include "host/host_input.h"
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

// Owner thread: what the host reported of the window, as messages, if the
// window is still there.
void PortableTranslateWindowChange(HWND window, HostWindowChange change, int first, int second);

void PortableFillWindowEvents(PlatformTable *t);

#endif
