#include "host/x11_error_trap.h"

#include <atomic>

namespace {

std::atomic<bool> trappedError{false};

int NoteXError(Display *, XErrorEvent *)
{
    trappedError = true;
    return 0;
}

std::mutex &TrapLock()
{
    static auto *lock = new std::mutex;
    return *lock;
}

} // namespace

HostXErrorTrap::HostXErrorTrap(Display *display) : hold_(TrapLock()), display_(display)
{
    XSync(display_, False);
    trappedError = false;
    previous_ = XSetErrorHandler(NoteXError);
}

HostXErrorTrap::~HostXErrorTrap()
{
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool HostXErrorTrap::Failed()
{
    XSync(display_, False);
    return trappedError;
}
