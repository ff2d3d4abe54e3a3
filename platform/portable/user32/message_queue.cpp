// Per-thread message queues in software. Posted messages wait in the queue of
// the thread that owns their window; the quit request is a flag beside the
// queue, as on Windows, so WM_QUIT comes only after the posted messages.
#include <chrono>
#include <deque>
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "user32/message_queue.h"

#include "fill_table.h"
#include "kernel32/threads.h"
#include "kernel32/waits.h"
#include "user32/window_events.h"
#include "user32/window_registry.h"

namespace {

using Clock = std::chrono::steady_clock;

// A thread with windows must return to SDL now and then: its events do not
// notify our condition variable.
constexpr auto kWindowPollInterval = std::chrono::milliseconds(5);
constexpr DWORD kMaximumWaitObjects = 63; // MAXIMUM_WAIT_OBJECTS less the queue
const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

struct MessageQueue {
    std::deque<MSG> posted;
    bool quitPending = false;
    WPARAM quitCode = 0;
};

std::unordered_map<DWORD, MessageQueue> &Queues()
{
    static auto *queues = new std::unordered_map<DWORD, MessageQueue>; // outlives exiting threads
    return *queues;
}

// Lock held. Made on first use, for live threads only.
MessageQueue *QueueOf(DWORD threadId)
{
    auto found = Queues().find(threadId);
    if (found != Queues().end())
        return &found->second;
    if (!PortableIsLiveThread(threadId))
        return nullptr;
    return &Queues()[threadId];
}

struct MessageFilter {
    HWND window;
    UINT first;
    UINT last;

    bool Matches(const MSG &message) const
    {
        if (window == kThreadMessagesOnly ? message.hwnd != nullptr : window && message.hwnd != window)
            return false;
        return (first == 0 && last == 0) || (message.message >= first && message.message <= last);
    }
    // WM_QUIT ignores the range but belongs to no window.
    bool AcceptsQuit() const { return window == nullptr || window == kThreadMessagesOnly; }
};

// Lock held.
bool TakeMessage(MessageQueue &queue, const MessageFilter &filter, bool remove, MSG *out)
{
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (filter.Matches(*it)) {
            *out = *it;
            if (remove)
                queue.posted.erase(it);
            return true;
        }
    }
    if (queue.quitPending && filter.AcceptsQuit()) {
        *out = PortableMakeMessage(nullptr, WM_QUIT, queue.quitCode, 0);
        if (remove)
            queue.quitPending = false;
        return true;
    }
    return false;
}

// Lock held through `hold`; returns on any change, at the deadline, or when
// it is time to look at SDL again.
void WaitForChange(std::unique_lock<std::mutex> &hold, const std::optional<Clock::time_point> &deadline)
{
    std::condition_variable &signal = PortableSignal();
    if (PortableThreadOwnsWindows()) {
        Clock::time_point until = Clock::now() + kWindowPollInterval;
        if (deadline && *deadline < until)
            until = *deadline;
        signal.wait_until(hold, until);
    } else if (deadline) {
        signal.wait_until(hold, *deadline);
    } else {
        signal.wait(hold);
    }
}

BOOL WINAPI PortablePeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT flags)
{
    if (!message)
        return FALSE;
    PortablePumpWindowEvents();
    const DWORD self = PortableCurrentThreadId();
    std::lock_guard<std::mutex> hold(PortableLock());
    MessageQueue *queue = QueueOf(self);
    return queue && TakeMessage(*queue, {window, first, last}, (flags & PM_REMOVE) != 0, message);
}

BOOL WINAPI PortableGetMessageA(LPMSG message, HWND window, UINT first, UINT last)
{
    if (!message || (window && window != kThreadMessagesOnly && PortableWindowOwner(window) == 0))
        return -1;
    const DWORD self = PortableCurrentThreadId();
    const MessageFilter filter{window, first, last};
    for (;;) {
        PortablePumpWindowEvents();
        std::unique_lock<std::mutex> hold(PortableLock());
        MessageQueue *queue = QueueOf(self);
        if (!queue)
            return -1;
        if (TakeMessage(*queue, filter, true, message))
            return message->message != WM_QUIT;
        WaitForChange(hold, std::nullopt);
    }
}

// Every window of the portable build is a top-level one; in handle order.
std::vector<std::pair<HWND, DWORD>> TopLevelWindows()
{
    std::vector<std::pair<HWND, DWORD>> found;
    PortableVisitWindows([&](PortableWindow &window) { found.emplace_back(window.handle, window.owner); });
    std::sort(found.begin(), found.end());
    return found;
}

BOOL WINAPI PortablePostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == HWND_BROADCAST) {
        for (const auto &[handle, owner] : TopLevelWindows())
            PortablePostToThread(owner, PortableMakeMessage(handle, message, wParam, lParam));
        return TRUE;
    }
    const DWORD owner = window ? PortableWindowOwner(window) : PortableCurrentThreadId();
    if (owner == 0)
        return FALSE;
    return PortablePostToThread(owner, PortableMakeMessage(window, message, wParam, lParam));
}

BOOL WINAPI PortablePostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PortablePostToThread(threadId, PortableMakeMessage(nullptr, message, wParam, lParam));
}

void WINAPI PortablePostQuitMessage(int exitCode)
{
    const DWORD self = PortableCurrentThreadId();
    {
        std::lock_guard<std::mutex> hold(PortableLock());
        MessageQueue *queue = QueueOf(self);
        if (!queue)
            return;
        queue->quitPending = true;
        queue->quitCode = static_cast<WPARAM>(exitCode);
    }
    PortableSignal().notify_all();
}

LRESULT WINAPI PortableDispatchMessageA(const MSG *message)
{
    if (!message)
        return 0;
    WNDPROC procedure = PortableWindowProc(message->hwnd);
    return procedure ? procedure(message->hwnd, message->message, message->wParam, message->lParam) : 0;
}

LRESULT WINAPI PortableSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only same-thread sends are modelled: a procedure always runs on the
    // thread that owns its window.
    WNDPROC procedure = PortableWindowProc(window);
    if (!procedure || PortableWindowOwner(window) != PortableCurrentThreadId())
        return 0;
    return procedure(window, message, wParam, lParam);
}

DWORD WINAPI PortableMsgWaitForMultipleObjects(DWORD count, const HANDLE *handles, BOOL waitAll, DWORD milliseconds,
                                               DWORD wakeMask)
{
    if (waitAll || count > kMaximumWaitObjects || (count > 0 && !handles))
        return WAIT_FAILED;
    std::shared_ptr<PortableWaitable> objects[kMaximumWaitObjects];
    for (DWORD i = 0; i < count; ++i) {
        objects[i] = PortableResolveWaitable(handles[i]);
        if (!objects[i])
            return WAIT_FAILED;
    }
    std::optional<Clock::time_point> deadline;
    if (milliseconds != INFINITE)
        deadline = Clock::now() + std::chrono::milliseconds(milliseconds);

    const DWORD self = PortableCurrentThreadId();
    for (;;) {
        PortablePumpWindowEvents();
        std::unique_lock<std::mutex> hold(PortableLock());
        for (DWORD i = 0; i < count; ++i) {
            if (PortableTryAcquire(*objects[i]))
                return WAIT_OBJECT_0 + i;
        }
        const MessageQueue *queue = QueueOf(self);
        if (wakeMask != 0 && queue && (!queue->posted.empty() || queue->quitPending))
            return WAIT_OBJECT_0 + count;
        if (deadline && Clock::now() >= *deadline)
            return WAIT_TIMEOUT;
        WaitForChange(hold, deadline);
    }
}

} // namespace

MSG PortableMakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG made{};
    made.hwnd = window;
    made.message = message;
    made.wParam = wParam;
    made.lParam = lParam;
    const auto sinceStart = Clock::now().time_since_epoch();
    made.time = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
    return made;
}

bool PortablePostToThread(DWORD threadId, const MSG &message)
{
    {
        std::lock_guard<std::mutex> hold(PortableLock());
        MessageQueue *queue = QueueOf(threadId);
        if (!queue)
            return false;
        queue->posted.push_back(message);
    }
    PortableSignal().notify_all();
    return true;
}

void PortableSendToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    const DWORD self = PortableCurrentThreadId();
    for (const auto &[handle, owner] : TopLevelWindows()) {
        WNDPROC procedure = owner == self ? PortableWindowProc(handle) : nullptr;
        if (procedure)
            procedure(handle, message, wParam, lParam);
        else
            PortablePostToThread(owner, PortableMakeMessage(handle, message, wParam, lParam));
    }
}

void PortableDiscardQueue(DWORD threadId)
{
    Queues().erase(threadId);
}

void PortableFillMessageQueue(PlatformTable *t)
{
    t->PeekMessageA = PortablePeekMessageA;
    t->GetMessageA = PortableGetMessageA;
    t->PostMessageA = PortablePostMessageA;
    t->PostThreadMessageA = PortablePostThreadMessageA;
    t->PostQuitMessage = PortablePostQuitMessage;
    t->DispatchMessageA = PortableDispatchMessageA;
    t->SendMessageA = PortableSendMessageA;
    t->MsgWaitForMultipleObjects = PortableMsgWaitForMultipleObjects;
}
