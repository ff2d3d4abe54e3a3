// X errors caught instead of ending the process.
#ifndef PLATFORM_PORTABLE_HOST_X11_ERROR_TRAP_H
#define PLATFORM_PORTABLE_HOST_X11_ERROR_TRAP_H

#include <X11/Xlib.h>

#include <mutex>

// Collects the X errors of the requests made while it lives instead of
// letting Xlib's default handler end the process. One at a time.
class HostXErrorTrap {
public:
    explicit HostXErrorTrap(Display *display);
    ~HostXErrorTrap();
    HostXErrorTrap(const HostXErrorTrap &) = delete;
    HostXErrorTrap &operator=(const HostXErrorTrap &) = delete;
    // Waits for the server's answers; true when any request failed so far.
    bool Failed();

private:
    std::lock_guard<std::mutex> hold_;
    Display *display_;
    int (*previous_)(Display *, XErrorEvent *);
};

#endif
