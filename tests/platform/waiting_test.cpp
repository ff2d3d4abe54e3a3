// A thread that owns a window and waits for its messages sleeps until
// something arrives, and wakes at once when the display sends input.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>

#include "tests/platform/platform_test_helpers.h"
#include "tests/support/real_input.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Sleeper {
    HANDLE ready = nullptr;
    long linuxThread = 0;
    HWND window = nullptr;
    std::atomic<bool> moved{false};
    Clock::time_point movedAt;
};

DWORD WINAPI SleeperThread(LPVOID argument)
{
    Sleeper *sleeper = static_cast<Sleeper *>(argument);
    sleeper->window = platform.CreateWindowExA(0, "OvSleeper", "sleeper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300,
                                               300, 200, 160, nullptr, nullptr, nullptr, nullptr);
    MSG message;
    const auto settled = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < settled) { // the window manager maps and focuses it meanwhile
        while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            platform.DispatchMessageA(&message);
        platform.Sleep(5);
    }
    sleeper->linuxThread = syscall(SYS_gettid);
    platform.SetEvent(sleeper->ready);
    while (platform.GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_MOUSEMOVE && !sleeper->moved) {
            sleeper->movedAt = Clock::now();
            sleeper->moved = true;
        }
        platform.DispatchMessageA(&message);
    }
    platform.DestroyWindow(sleeper->window);
    return 0;
}

long ContextSwitches(long linuxThread)
{
    std::ifstream status("/proc/self/task/" + std::to_string(linuxThread) + "/status");
    long total = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.find("ctxt_switches:") != std::string::npos)
            total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

TEST(Waiting, AThreadWithAWindowSleepsInGetMessageUntilInputWakesIt)
{
    if (!getenv("DISPLAY") || !RealInputReady())
        GTEST_SKIP() << "no display with XTEST";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = platform.DefWindowProcA;
    windowClass.hInstance = platform.GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OvSleeper";
    ASSERT_NE(platform.RegisterClassA(&windowClass), 0);
    Sleeper sleeper;
    sleeper.ready = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread = platform.CreateThread(nullptr, 0, SleeperThread, &sleeper, 0, &threadId);
    ASSERT_EQ(platform.WaitForSingleObject(sleeper.ready, 5000), WAIT_OBJECT_0);

    MovePointerTo(0, 0); // away, so that coming back is a move
    platform.Sleep(100);
    const long before = ContextSwitches(sleeper.linuxThread);
    platform.Sleep(500);
    EXPECT_LE(ContextSwitches(sleeper.linuxThread) - before, 2); // a 5 ms poll would make about 100

    RECT outer{};
    platform.GetWindowRect(sleeper.window, &outer);
    const Clock::time_point sent = Clock::now();
    MovePointerTo((outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2);
    while (!sleeper.moved && Clock::now() - sent < std::chrono::seconds(2))
        platform.Sleep(1);
    ASSERT_TRUE(sleeper.moved);
    EXPECT_LT(sleeper.movedAt - sent, std::chrono::milliseconds(50));

    platform.PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    EXPECT_EQ(platform.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    platform.CloseHandle(thread);
    platform.CloseHandle(sleeper.ready);
    platform.UnregisterClassA("OvSleeper", windowClass.hInstance);
}

} // namespace
