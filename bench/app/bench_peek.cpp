// What the frame loop's one message take costs when nothing waits: the
// demo's window open and current, then many PeekMessageA calls with PM_REMOVE
// on the empty queue, timed as a whole.
//   bench_peek [calls]
#include <stdio.h>
#include <stdlib.h>

#include <chrono>

#include "app/gl_window.h"
#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

// Drains what opening the window left in the queue, so the timed calls find it empty.
void Drain()
{
    MSG message;
    for (auto until = Clock::now() + std::chrono::milliseconds(500); Clock::now() < until;)
        while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            platform.TranslateMessage(&message);
            platform.DispatchMessageA(&message);
        }
}

template <class Call>
double NanosecondsPerCall(long calls, Call call)
{
    const Clock::time_point start = Clock::now();
    long found = 0;
    for (long i = 0; i < calls; ++i)
        found += call();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (found)
        printf("(%ld calls found something)\n", found);
    return seconds * 1e9 / double(calls);
}

} // namespace

int main(int argc, char **argv)
{
    const long calls = argc > 1 ? atol(argv[1]) : 200000;
    GLWindow window;
    if (!window.Open("bench_peek", 320, 240, 16, false))
        return 1;
    Drain();
    MSG message;
    const double peek =
        NanosecondsPerCall(calls, [&] { return platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0; });
    printf("empty queue: PeekMessageA %.0f ns per call (%ld calls)\n", peek, calls);
    window.Close();
    return 0;
}
