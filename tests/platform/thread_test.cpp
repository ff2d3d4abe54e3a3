// Threads, events and waits through the table.
#include <gtest/gtest.h>

#include "tests/platform/platform_test_helpers.h"

namespace {

struct ThreadProbe {
    HANDLE release = nullptr; // the thread waits for it before it returns
    DWORD seenId = 0;
};

DWORD WINAPI ProbeThread(LPVOID argument)
{
    ThreadProbe *probe = static_cast<ThreadProbe *>(argument);
    probe->seenId = platform.GetCurrentThreadId();
    platform.WaitForSingleObject(probe->release, INFINITE);
    return 42;
}

TEST(Threads, RunAtOnceAndReportTheirIdAndExitCode)
{
    ThreadProbe probe;
    probe.release = platform.CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread = platform.CreateThread(nullptr, 0, ProbeThread, &probe, 0, &threadId);
    ASSERT_NE(thread, nullptr);
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
    EXPECT_TRUE(platform.CloseHandle(thread));
    EXPECT_TRUE(platform.CloseHandle(probe.release));
}

TEST(Events, AutoResetReleasesOneWaitManualResetStaysSet)
{
    HANDLE autoReset = platform.CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE manualReset = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(autoReset, nullptr);
    ASSERT_NE(manualReset, nullptr);

    EXPECT_EQ(platform.WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(platform.WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 120), WAIT_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), 120 - kTimerSlackMs);
    platform.SetEvent(manualReset);
    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 0), WAIT_OBJECT_0);
    EXPECT_EQ(platform.WaitForSingleObject(manualReset, 0), WAIT_OBJECT_0);

    platform.CloseHandle(autoReset);
    EXPECT_TRUE(platform.CloseHandle(manualReset));
    EXPECT_FALSE(platform.CloseHandle(manualReset)); // closed twice
}

} // namespace
