// Threads and sleeping over POSIX.
#ifndef PLATFORM_PORTABLE_HOST_POSIX_THREADS_H
#define PLATFORM_PORTABLE_HOST_POSIX_THREADS_H

#include <stddef.h>

// Runs run(argument) on a new detached thread with at least stackSize bytes
// of stack (0: the default); false when no thread could be started.
bool HostStartThread(void *(*run)(void *), void *argument, size_t stackSize);

// Gives up the rest of the time slice.
void HostYield();
// Sleeps the whole time, through signals.
void HostSleep(unsigned milliseconds);
[[noreturn]] void HostSleepForever();

#endif
