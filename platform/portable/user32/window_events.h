// How window state changes become messages. Changes made while handling an
// SDL event or a platform call gather their messages first and deliver them
// after, since a procedure may destroy the window it is handed.
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
void PortableSetMinimized(PortableWindow &window, bool minimized, PortableNotices &notices);

// Turns pending SDL events into sent and posted messages; procedures called
// from here may look at their queue again.
void PortablePumpWindowEvents();

// Whether the calling thread can read SDL's events now: it owns windows and
// is not inside a procedure that the pump called.
bool PortableCanPump();

#endif
