// Runs the real program for a few seconds and reports the frame loop's
// frames per second and the CPU time the waiting entry thread used.
//   bench_app [seconds]
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>

#include "app/process_entry.h"
#include "app/process_objects.h"

namespace {

using Clock = std::chrono::steady_clock;

PlatformTable real;
double seconds = 5.0;
Clock::time_point firstFrame, lastFrame, deadline;
long frames;
bool closeRequested;

BOOL WINAPI TimedSwapBuffers(HDC dc)
{
    Clock::time_point now = Clock::now();
    if (frames == 0) {
        firstFrame = now;
        deadline = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }
    ++frames;
    lastFrame = now;
    // Once: the quit message waits behind every other posted message.
    if (now >= deadline && !closeRequested) {
        closeRequested = true;
        real.PostMessageA(mainWindow.hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return real.SwapBuffers(dc);
}

double ThreadCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1)
        seconds = strtod(argv[1], nullptr);
    real = platform;
    platform.SwapBuffers = TimedSwapBuffers;

    double cpuBefore = ThreadCpuSeconds();
    Clock::time_point start = Clock::now();
    int code = ProcessEntry(nullptr, nullptr, nullptr, 0);
    double wall = std::chrono::duration<double>(Clock::now() - start).count();
    double entryCpu = ThreadCpuSeconds() - cpuBefore;

    double drawing = std::chrono::duration<double>(lastFrame - firstFrame).count();
    printf("exit code            %d\n", code);
    printf("frames               %ld in %.2f s: %.1f frames per second\n", frames, drawing,
           drawing > 0 ? (frames - 1) / drawing : 0.0);
    printf("entry thread CPU     %.4f s over %.2f s wall: %.3f %% of one core\n", entryCpu, wall,
           100.0 * entryCpu / wall);
    return code;
}
