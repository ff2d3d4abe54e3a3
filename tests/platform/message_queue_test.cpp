// Thread message queues and waits that need no window.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/platform_test_helpers.h"

namespace {

const UINT kFirst = WM_USER + 1;
const UINT kSecond = WM_USER + 2;

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override { DrainQueue(); }
    void TearDown() override { DrainQueue(); }
};

TEST_F(MessageQueue, QuitComesAfterEveryPostedMessage)
{
    ASSERT_TRUE(platform.PostMessageA(nullptr, kFirst, 1, 0));
    platform.PostQuitMessage(5);
    ASSERT_TRUE(platform.PostThreadMessageA(platform.GetCurrentThreadId(), kSecond, 2, 0));

    MSG message;
    for (UINT expected : {kFirst, kSecond, static_cast<UINT>(WM_QUIT)}) {
        ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, expected);
    }
    EXPECT_EQ(message.wParam, 5u);
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, NoRemoveLeavesTheMessageOrTheQuitRequestInPlace)
{
    for (UINT posted : {kFirst, static_cast<UINT>(WM_QUIT)}) {
        SCOPED_TRACE(posted);
        if (posted == WM_QUIT)
            platform.PostQuitMessage(11);
        else
            platform.PostMessageA(nullptr, posted, 11, 12);
        MSG message;
        for (UINT flags : {PM_NOREMOVE, PM_NOREMOVE, PM_REMOVE}) {
            ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, flags));
            EXPECT_EQ(message.message, posted);
            EXPECT_EQ(message.wParam, 11u);
        }
        EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    }
}

TEST_F(MessageQueue, AFilterTakesEveryMessageOfItsRangeAndNoOther)
{
    struct Case {
        UINT first;
        UINT last;
        bool taken;
    };
    const Case cases[] = {
        {kFirst, kSecond, true}, {kSecond, kSecond, true}, {kFirst, kFirst, false}, {kSecond + 1, kSecond + 9, false},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.first - WM_USER);
        platform.PostMessageA(nullptr, kSecond, 0, 0);
        MSG message;
        EXPECT_EQ(platform.PeekMessageA(&message, nullptr, each.first, each.last, PM_REMOVE) != FALSE, each.taken);
        DrainQueue();
    }
}

// Records what its GetMessageA loop receives until WM_QUIT.
struct QueueWorker {
    HANDLE ready = nullptr;
    std::vector<MSG> received;
    BOOL lastResult = TRUE;
};

DWORD WINAPI QueueWorkerThread(LPVOID argument)
{
    QueueWorker *worker = static_cast<QueueWorker *>(argument);
    MSG message;
    platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // Win32 makes the queue on first use
    platform.SetEvent(worker->ready);
    while ((worker->lastResult = platform.GetMessageA(&message, nullptr, 0, 0)) > 0)
        worker->received.push_back(message);
    return static_cast<DWORD>(message.wParam);
}

TEST_F(MessageQueue, AMessageForAnotherThreadArrivesThereNotHere)
{
    QueueWorker worker;
    worker.ready = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD workerId = 0;
    HANDLE thread = platform.CreateThread(nullptr, 0, QueueWorkerThread, &worker, 0, &workerId);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(platform.WaitForSingleObject(worker.ready, 5000), WAIT_OBJECT_0);

    ASSERT_TRUE(platform.PostThreadMessageA(workerId, kFirst, 99, 0));
    ASSERT_TRUE(platform.PostThreadMessageA(workerId, WM_QUIT, 3, 0));
    ASSERT_EQ(platform.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);

    MSG message;
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(worker.received.size(), 1u);
    EXPECT_EQ(worker.received[0].message, kFirst);
    EXPECT_EQ(worker.received[0].wParam, 99u);
    EXPECT_EQ(worker.lastResult, 0); // GetMessageA is 0 for WM_QUIT
    DWORD exitCode = 0;
    platform.GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(exitCode, 3u);
    platform.CloseHandle(thread);
    platform.CloseHandle(worker.ready);
}

// Sets an event or posts to a thread after a delay.
struct DelayedAction {
    HANDLE event = nullptr;
    DWORD postTo = 0;
};

DWORD WINAPI DelayedActionThread(LPVOID argument)
{
    const DelayedAction *action = static_cast<const DelayedAction *>(argument);
    platform.Sleep(60);
    if (action->event)
        platform.SetEvent(action->event);
    else
        platform.PostThreadMessageA(action->postTo, kFirst, 7, 0);
    return 0;
}

DWORD WaitFor(HANDLE event, DWORD milliseconds)
{
    return platform.MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds, QS_ALLINPUT);
}

TEST_F(MessageQueue, MessageWaitTimesOutNoEarlierThanAsked)
{
    HANDLE never = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitFor(never, 120), WAIT_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), 120 - kTimerSlackMs);
    platform.CloseHandle(never);
}

TEST_F(MessageQueue, MessageWaitWakesOnTheEventOrAPostedMessage)
{
    for (bool byEvent : {true, false}) {
        SCOPED_TRACE(byEvent ? "event" : "message");
        HANDLE event = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DelayedAction action;
        if (byEvent)
            action.event = event;
        else
            action.postTo = platform.GetCurrentThreadId();
        const auto start = std::chrono::steady_clock::now();
        HANDLE helper = platform.CreateThread(nullptr, 0, DelayedActionThread, &action, 0, nullptr);
        ASSERT_NE(helper, nullptr);
        EXPECT_EQ(WaitFor(event, byEvent ? INFINITE : 5000), byEvent ? WAIT_OBJECT_0 : WAIT_OBJECT_0 + 1);
        EXPECT_GE(MillisecondsSince(start), 60 - kTimerSlackMs);
        platform.WaitForSingleObject(helper, 5000);
        platform.CloseHandle(helper);
        platform.CloseHandle(event);
        MSG message;
        EXPECT_EQ(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE, !byEvent);
    }
}

} // namespace
