// Threads and their identities.
#ifndef PLATFORM_PORTABLE_THREADS_H
#define PLATFORM_PORTABLE_THREADS_H

#include "platform/platform.h"

// The calling thread's id, given on first use. Not with PortableLock() held:
// a first call registers the thread.
DWORD PortableCurrentThreadId();
bool PortableIsLiveThread(DWORD threadId); // PortableLock() held


#endif
