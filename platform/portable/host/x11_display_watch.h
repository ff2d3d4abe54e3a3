// Waking message waits when the display sends input. SDL reads X events only
// when asked, so a thread sleeping in GetMessageA would never hear of a key
// press; one watcher thread sleeps on the display connection instead and
// wakes the waits when something arrives, then sleeps again once the events
// have been read.
#ifndef PLATFORM_PORTABLE_HOST_X11_DISPLAY_WATCH_H
#define PLATFORM_PORTABLE_HOST_X11_DISPLAY_WATCH_H

struct SDL_Window;

// Starts the watcher on the connection behind an SDL window, once per process.
void HostWatchDisplayOf(SDL_Window *window);

// Any thread: nothing came from the display that SDL has not read yet, no
// byte on the connection and no event in Xlib's queue; a look that reads
// nothing. False while no display is watched.
bool HostDisplayQuiet();

// HostLock() held.
bool HostDisplayWatched();
bool HostDisplayHasNews(); // sent since the last reading

// SDL has read everything the connection had.
void HostDisplayRead();

// HostLock() held: around the sleep of a thread that reads the display,
// so that the watcher polls only while one sleeps.
void HostDisplayWaitBegins();
void HostDisplayWaitEnds();

#endif
