// Threads and their identities.
#ifndef PLATFORM_PORTABLE_THREADS_H
#define PLATFORM_PORTABLE_THREADS_H

#include "platform/platform.h"

// The calling thread's id, given on first use. Not with HostLock() held: a
// first call registers the thread.
DWORD PortableCurrentThreadId();
bool PortableIsLiveThread(DWORD threadId); // HostLock() held

// What a floor above keeps per thread goes with the thread: the hook runs
// as a thread that had an id ends, HostLock() held. Set while the table is
// filled.
void PortableOnThreadExit(void (*hook)(DWORD threadId));

void PortableFillThreads(PlatformTable *t);

#endif
