// Threads, events and waits through the table.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <thread>
#endif

#include "tests/platform/platform_test_helpers.h"

namespace {

struct ThreadProbe {
    HANDLE release = nullptr; // the thread waits for it before it returns
    HANDLE done = nullptr;    // and sets this one last
    DWORD seenId = 0;
    DWORD exitCode = 0;
};

DWORD WINAPI ProbeThread(LPVOID argument)
{
    ThreadProbe *probe = static_cast<ThreadProbe *>(argument);
    probe->seenId = platform.GetCurrentThreadId();
    if (probe->release)
        platform.WaitForSingleObject(probe->release, INFINITE);
    const DWORD exitCode = probe->exitCode;
    if (probe->done)
        platform.SetEvent(probe->done); // the probe may be gone after this
    return exitCode;
}

TEST(Threads, RunAtOnceAndReportTheirIdAndExitCode)
{
    ThreadProbe probe;
    probe.release = platform.CreateEventA(nullptr, FALSE, FALSE, nullptr);
    probe.exitCode = 42;
    DWORD threadId = 0;
    HANDLE thread = platform.CreateThread(nullptr, 0, ProbeThread, &probe, 0, &threadId);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(threadId, 0u);
    EXPECT_NE(threadId, platform.GetCurrentThreadId());

    DWORD exitCode = 0;
    ASSERT_TRUE(platform.GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, STILL_ACTIVE);
    EXPECT_EQ(platform.WaitForSingleObject(thread, 30), WAIT_TIMEOUT);

    ASSERT_TRUE(platform.SetEvent(probe.release));
    EXPECT_EQ(platform.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(probe.seenId, threadId);
    ASSERT_TRUE(platform.GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, 42u);
    // The waiting thread took the auto-reset event's one signal.
    EXPECT_EQ(platform.WaitForSingleObject(probe.release, 0), WAIT_TIMEOUT);
    // A finished thread stays signalled.
    EXPECT_EQ(platform.WaitForSingleObject(thread, 0), WAIT_OBJECT_0);

    EXPECT_TRUE(platform.CloseHandle(thread));
    EXPECT_TRUE(platform.CloseHandle(probe.release));
}

TEST(Threads, ClosingTheHandleLeavesTheThreadRunning)
{
    ThreadProbe probe;
    probe.release = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    probe.done = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = platform.CreateThread(nullptr, 0, ProbeThread, &probe, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(platform.CloseHandle(thread));
    platform.SetEvent(probe.release);
    EXPECT_EQ(platform.WaitForSingleObject(probe.done, 5000), WAIT_OBJECT_0);
    platform.CloseHandle(probe.done);
    platform.CloseHandle(probe.release);
}

TEST(Threads, IdsAreNonzeroStableAndDistinct)
{
    const DWORD self = platform.GetCurrentThreadId();
    EXPECT_NE(self, 0u);
    EXPECT_EQ(platform.GetCurrentThreadId(), self);
#ifndef _WIN32
    // A thread the table did not make gets an id of its own as well.
    DWORD foreign = 0;
    DWORD foreignAgain = 0;
    std::thread([&] {
        foreign = platform.GetCurrentThreadId();
        foreignAgain = platform.GetCurrentThreadId();
    }).join();
    EXPECT_NE(foreign, 0u);
    EXPECT_NE(foreign, self);
    EXPECT_EQ(foreignAgain, foreign);
    EXPECT_LT(self, 0x10000u);
#endif
    HMODULE module = platform.GetModuleHandleA(nullptr);
    EXPECT_NE(module, nullptr);
    EXPECT_EQ(platform.GetModuleHandleA(nullptr), module);
}

TEST(Events, AutoResetReleasesOneWaitManualResetStaysSet)
{
    HANDLE autoReset = platform.CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE manualReset = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(autoReset, nullptr);
    ASSERT_NE(manualReset, nullptr);

    EXPECT_EQ(platform.WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(platform.WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT);
    platform.SetEvent(autoReset);
    EXPECT_EQ(platform.WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);

    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 0), WAIT_TIMEOUT);
    platform.SetEvent(manualReset);
    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 0), WAIT_OBJECT_0);

    platform.CloseHandle(autoReset);
    platform.CloseHandle(manualReset);
}

TEST(Events, FiniteWaitEndsNoEarlierThanAsked)
{
    HANDLE never = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform.WaitForSingleObject(never, 120), WAIT_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), 120 - kTimerSlackMs);
    platform.CloseHandle(never);
}

TEST(Handles, WrongOrStaleHandlesFail)
{
    HANDLE event = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD exitCode = 0;
    EXPECT_FALSE(platform.GetExitCodeThread(event, &exitCode)); // not a thread
    EXPECT_TRUE(platform.CloseHandle(event));
    EXPECT_FALSE(platform.CloseHandle(event)); // closed twice
    EXPECT_EQ(platform.WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_FALSE(platform.SetEvent(event));
    EXPECT_EQ(platform.WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_FALSE(platform.CloseHandle(nullptr));
}

} // namespace
