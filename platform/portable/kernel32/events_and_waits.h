// What can be waited for: events and threads, behind kernel handles. Their
// state changes under HostLock() (host/wait_signal.h), on which every wait
// sleeps.
#ifndef PLATFORM_PORTABLE_EVENTS_AND_WAITS_H
#define PLATFORM_PORTABLE_EVENTS_AND_WAITS_H

#include <memory>

#include "host/wait_signal.h"
#include "platform/platform.h"

// What a thread or event handle refers to. Handles share the object, so a
// thread's state outlives a closed handle and the other way round.
struct PortableWaitable {
    virtual ~PortableWaitable() = default;
    virtual bool Signalled() const = 0; // lock held
    virtual void Acquired() {}          // lock held; an auto-reset event resets
};

// Wraps a waitable in a kernel handle; null when out of memory.
HANDLE PortableWaitableHandle(std::shared_ptr<PortableWaitable> object);
std::shared_ptr<PortableWaitable> PortableResolveWaitable(HANDLE handle); // null if none

// True, and the object acquired, when it is signalled. Lock held.
bool PortableTryAcquire(PortableWaitable &object);

void PortableFillEventsAndWaits(PlatformTable *t);

#endif
