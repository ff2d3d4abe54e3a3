// SDL's video, which is one for the process.
#ifndef PLATFORM_PORTABLE_HOST_SDL_VIDEO_H
#define PLATFORM_PORTABLE_HOST_SDL_VIDEO_H

#include <mutex>

// SDL's video state is one for the process and SDL guards it with nothing of
// its own: every SDL call of the layer holds this lock. It comes before
// every other lock of the layer and is never held while a window procedure runs.
std::recursive_mutex &HostSdlLock();
using HostSdlHold = std::lock_guard<std::recursive_mutex>;

// Brings up SDL's video once per process; false when there is no display,
// which is then said once on standard error.
bool HostEnsureVideo();

// Whether the cursor shows over the program's windows, now or once the
// video is up.
void HostShowCursor(bool shown);

#endif
