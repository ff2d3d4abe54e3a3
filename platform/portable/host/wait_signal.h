// What waits are made of. Every wait of the layer (for an event, a thread's
// end, a posted message, input from the display) sleeps on one lock and one
// condition variable: whatever can end a wait changes state under HostLock()
// and then notifies HostSignal(). Waits are rare and short, so one of each is
// simpler than per-object signalling and cannot lose a wake-up.
#ifndef PLATFORM_PORTABLE_HOST_WAIT_SIGNAL_H
#define PLATFORM_PORTABLE_HOST_WAIT_SIGNAL_H

#include <condition_variable>
#include <mutex>

std::mutex &HostLock();
std::condition_variable &HostSignal();

#endif
