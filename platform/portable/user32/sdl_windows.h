// Top-level windows over SDL2: the SDL window is the client area.
#ifndef PLATFORM_PORTABLE_SDL_WINDOWS_H
#define PLATFORM_PORTABLE_SDL_WINDOWS_H

#include <functional>
#include <mutex>

#include "platform/platform.h"

struct SDL_Window;

// SDL's video state is one for the process and SDL guards it with nothing of
// its own: every SDL call of this layer holds this lock. It comes before
// every other lock of the layer and is never held while a procedure runs.
std::recursive_mutex &PortableSdlLock();
using PortableSdlHold = std::lock_guard<std::recursive_mutex>;

// Any thread: runs use on the window's SDL window, the lock held, so that its
// owner cannot destroy it meanwhile; false when the window is gone.
bool PortableWithSdlWindow(HWND window, const std::function<void(SDL_Window *)> &use);

// Brings up SDL's video once per process; false when there is no display,
// which is then said once on standard error.
bool PortableEnsureVideo();

// ShowWindow, also for the default handling of the system commands. Another
// thread's window is shown by its owner, at its next look at its queue.
BOOL WINAPI PortableShowWindow(HWND window, int command);

// DestroyWindow, also for the default handling of WM_CLOSE.
BOOL WINAPI PortableDestroyWindow(HWND window);

#endif
