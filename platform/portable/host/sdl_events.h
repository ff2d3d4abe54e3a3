// Reading SDL's events, which are one queue for the process.
#ifndef PLATFORM_PORTABLE_HOST_SDL_EVENTS_H
#define PLATFORM_PORTABLE_HOST_SDL_EVENTS_H

// Reads every event SDL has and reports those of the windows it shows
// through host/host_input.h, in the order SDL read them. One reader at a
// time; the reports' receivers must not wait for another reader. Returns at
// once, reading nothing, when nothing can have come: SDL's queue empty, the
// display quiet, and SDL read less than 10 ms ago.
void HostReadEvents();

#endif
