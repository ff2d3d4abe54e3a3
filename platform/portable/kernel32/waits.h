// What waits are made of. Every wait (for an event, a thread's end, a posted
// message) sleeps on one lock and one condition variable: whatever can end a
// wait changes state under PortableLock() and then notifies PortableSignal().
// Waits are rare and short, so one of each is simpler than per-object
// signalling and cannot lose a wake-up.
#ifndef PLATFORM_PORTABLE_WAITS_H
#define PLATFORM_PORTABLE_WAITS_H

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/platform.h"

std::mutex &PortableLock();
std::condition_variable &PortableSignal();

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


#endif
