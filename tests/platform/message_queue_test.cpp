// Thread message queues and waits that need no window.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/platform_test_helpers.h"

namespace {

const UINT kFirst = WM_USER + 1;
const UINT kSecond = WM_USER + 2;
const UINT kStop = WM_USER + 9;

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
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kFirst);
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kSecond);
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 5u);
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, NoRemoveLeavesTheMessageInPlace)
{
    platform.PostMessageA(nullptr, kFirst, 11, 12);
    MSG message;
    for (int look = 0; look < 2; ++look) {
        ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(message.message, kFirst);
        EXPECT_EQ(message.wParam, 11u);
        EXPECT_EQ(message.lParam, 12);
    }
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kFirst);
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));

    platform.PostQuitMessage(3);
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(MessageQueue, RangeFilterTakesOnlyItsMessagesButAlwaysQuit)
{
    platform.PostMessageA(nullptr, kFirst, 0, 0);
    platform.PostMessageA(nullptr, kSecond, 0, 0);
    MSG message;
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, kSecond, kSecond, PM_REMOVE));
    EXPECT_EQ(message.message, kSecond);
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, kSecond, kSecond, PM_REMOVE));

    platform.PostQuitMessage(0);
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, kSecond, kSecond, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kFirst);
}

// Records what its GetMessageA loop receives until kStop or WM_QUIT.
struct QueueWorker {
    HANDLE ready = nullptr;
    std::vector<MSG> received;
    BOOL lastResult = TRUE;
    BOOL peekedAnything = FALSE;
};

DWORD WINAPI QueueWorkerThread(LPVOID argument)
{
    QueueWorker *worker = static_cast<QueueWorker *>(argument);
    MSG message;
    // Win32 makes the queue on first use; the peek must find it empty.
    worker->peekedAnything = platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    platform.SetEvent(worker->ready);
    for (;;) {
        worker->lastResult = platform.GetMessageA(&message, nullptr, 0, 0);
        if (worker->lastResult <= 0)
            return static_cast<DWORD>(message.wParam);
        worker->received.push_back(message);
        if (message.message == kStop)
            return 0;
    }
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
    EXPECT_FALSE(worker.peekedAnything);
    ASSERT_EQ(worker.received.size(), 1u);
    EXPECT_EQ(worker.received[0].message, kFirst);
    EXPECT_EQ(worker.received[0].wParam, 99u);
    EXPECT_EQ(worker.received[0].hwnd, nullptr);
    EXPECT_EQ(worker.lastResult, 0); // GetMessageA is 0 for WM_QUIT
    DWORD exitCode = 0;
    platform.GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(exitCode, 3u);
    platform.CloseHandle(thread);
    platform.CloseHandle(worker.ready);
}

DWORD WINAPI ReturnAtOnce(LPVOID)
{
    return 0;
}

TEST_F(MessageQueue, PostThreadMessageToAnUnknownOrEndedThreadFails)
{
#ifndef _WIN32
    EXPECT_FALSE(platform.PostThreadMessageA(0, kFirst, 0, 0)); // Wine takes 0 for the caller
#endif
    EXPECT_FALSE(platform.PostThreadMessageA(0x7FFFFFF0u, kFirst, 0, 0));

    DWORD endedId = 0;
    HANDLE thread = platform.CreateThread(nullptr, 0, ReturnAtOnce, nullptr, 0, &endedId);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(platform.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    platform.Sleep(20); // the thread's own end follows its routine's return
    EXPECT_FALSE(platform.PostThreadMessageA(endedId, kFirst, 0, 0));
    platform.CloseHandle(thread);
}

// Sets an event or posts to a thread after a delay.
struct DelayedAction {
    DWORD delayMs = 0;
    HANDLE event = nullptr;
    DWORD postTo = 0;
};

DWORD WINAPI DelayedActionThread(LPVOID argument)
{
    const DelayedAction *action = static_cast<const DelayedAction *>(argument);
    platform.Sleep(action->delayMs);
    if (action->event)
        platform.SetEvent(action->event);
    if (action->postTo)
        platform.PostThreadMessageA(action->postTo, kFirst, 7, 0);
    return 0;
}

class MessageWait : public MessageQueue {
protected:
    void SetUp() override
    {
        MessageQueue::SetUp();
        event_ = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(event_, nullptr);
    }
    void TearDown() override
    {
        if (helper_) {
            platform.WaitForSingleObject(helper_, 5000);
            platform.CloseHandle(helper_);
        }
        platform.CloseHandle(event_);
        MessageQueue::TearDown();
    }
    void Start(DelayedAction *action)
    {
        helper_ = platform.CreateThread(nullptr, 0, DelayedActionThread, action, 0, nullptr);
        ASSERT_NE(helper_, nullptr);
    }
    DWORD Wait(DWORD milliseconds)
    {
        return platform.MsgWaitForMultipleObjects(1, &event_, FALSE, milliseconds, QS_ALLINPUT);
    }

    HANDLE event_ = nullptr;
    HANDLE helper_ = nullptr;
};

TEST_F(MessageWait, TimesOutNoEarlierThanAsked)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Wait(120), WAIT_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), 120 - kTimerSlackMs);
    EXPECT_EQ(Wait(0), WAIT_TIMEOUT);
}

TEST_F(MessageWait, WakesWhenTheEventIsSet)
{
    DelayedAction action;
    action.delayMs = 60;
    action.event = event_;
    const auto start = std::chrono::steady_clock::now();
    Start(&action);
    EXPECT_EQ(Wait(INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(MillisecondsSince(start), 60 - kTimerSlackMs);
}

TEST_F(MessageWait, WakesWhenAMessageIsPostedToTheWaitingThread)
{
    DelayedAction action;
    action.delayMs = 60;
    action.postTo = platform.GetCurrentThreadId();
    const auto start = std::chrono::steady_clock::now();
    Start(&action);
    EXPECT_EQ(Wait(5000), WAIT_OBJECT_0 + 1);
    EXPECT_GE(MillisecondsSince(start), 60 - kTimerSlackMs);
    MSG message;
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kFirst);
    EXPECT_EQ(message.wParam, 7u);
}

#ifndef _WIN32
// Win32 wakes only for messages that arrived since the queue was last read;
// here any message in the queue wakes the wait, which no caller can miss.
TEST_F(MessageWait, AMessageAlreadyQueuedEndsTheWaitAtOnce)
{
    platform.PostMessageA(nullptr, kFirst, 0, 0);
    MSG message;
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(Wait(5000), WAIT_OBJECT_0 + 1);
    DrainQueue();
    // A pending quit request counts as a message.
    platform.PostQuitMessage(0);
    EXPECT_EQ(Wait(5000), WAIT_OBJECT_0 + 1);
}

TEST_F(MessageWait, RefusesWhatItCannotWaitFor)
{
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234));
    EXPECT_EQ(platform.MsgWaitForMultipleObjects(1, &bogus, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
    EXPECT_EQ(platform.MsgWaitForMultipleObjects(1, &event_, TRUE, 0, QS_ALLINPUT), WAIT_FAILED);
}
#endif

} // namespace
