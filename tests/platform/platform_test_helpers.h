// Shared by the platform suites: queue hygiene, timing and display checks.
#ifndef TESTS_PLATFORM_PLATFORM_TEST_HELPERS_H
#define TESTS_PLATFORM_PLATFORM_TEST_HELPERS_H

#include <chrono>
#include <stdlib.h>

#include "platform/platform.h"

// Every suite runs on the main thread and shares its queue: start clean.
inline void DrainQueue()
{
    MSG message;
    while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

inline long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

// Win32 timers may end a wait up to one tick (15.6 ms) early; ours never do.
#ifdef _WIN32
constexpr long long kTimerSlackMs = 16;
#else
constexpr long long kTimerSlackMs = 0;
#endif

#endif
