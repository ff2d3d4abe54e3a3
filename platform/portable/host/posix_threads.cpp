#include "host/posix_threads.h"

#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <sched.h>
#include <time.h>
#include <unistd.h>

bool HostStartThread(void *(*run)(void *), void *argument, size_t stackSize)
{
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0)
        pthread_attr_setstacksize(&attributes, stackSize < size_t(PTHREAD_STACK_MIN) ? size_t(PTHREAD_STACK_MIN) : stackSize);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, run, argument) == 0;
    pthread_attr_destroy(&attributes);
    return started;
}

void HostYield()
{
    sched_yield();
}

void HostSleep(unsigned milliseconds)
{
    timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

void HostSleepForever()
{
    for (;;)
        pause();
}
