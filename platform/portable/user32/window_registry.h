// The live top-level windows and the one way to look one up. A window's
// fields belong to the thread that owns it: only that thread changes them,
// holding PortableWindowLock, and only that thread destroys the window, so it
// may read them freely. Other threads read them through the accessors below,
// under the same lock; none holds a window across a call that may run a
// window procedure.
#ifndef PLATFORM_PORTABLE_WINDOW_REGISTRY_H
#define PLATFORM_PORTABLE_WINDOW_REGISTRY_H

#include <functional>
#include <memory>

#include "platform/platform.h"
#include "user32/window_frame.h"

struct PortableWindow {
    HWND handle = nullptr;
    DWORD owner = 0; // thread id
    WNDCLASSA windowClass{};
    ATOM classAtom = 0;
    DWORD style = 0;
    PortableFrame frame;
    int x = 0; // outer top-left corner, screen coordinates
    int y = 0;
    int clientWidth = 1;
    int clientHeight = 1;
    LONG_PTR userData = 0; // any thread, under the lock
    bool visible = false;
    bool sized = false; // WM_SIZE has been sent once
    bool minimized = false;
    bool destroying = false;
};

// Registers the window under its handle and counts it for the calling
// thread; false when out of memory.
bool PortableAddWindow(std::unique_ptr<PortableWindow> window);
// Unregisters the window and hands it back; null when there is none.
std::unique_ptr<PortableWindow> PortableRemoveWindow(HWND handle);

// The owner thread's hold while it changes its window's fields.
class PortableWindowLock {
public:
    PortableWindowLock();
    ~PortableWindowLock();
    PortableWindowLock(const PortableWindowLock &) = delete;
    PortableWindowLock &operator=(const PortableWindowLock &) = delete;
};

// The calling thread's own window, or null (also for another thread's).
PortableWindow *PortableFindOwnedWindow(HWND handle);

// Runs visit with the registry locked on the window, or on every window.
bool PortableVisitWindow(HWND handle, const std::function<void(PortableWindow &)> &visit);
void PortableVisitWindows(const std::function<void(PortableWindow &)> &visit);

DWORD PortableWindowOwner(HWND handle);  // 0 for no window
WNDPROC PortableWindowProc(HWND handle); // null for no window

bool PortableThreadOwnsWindows();

void PortableFillWindowRegistry(PlatformTable *t);

#endif
