// Per-thread message queues in software, taken in Win32's order: posted
// messages, then the quit request (a flag beside the queue, so WM_QUIT comes
// only after the posted messages, and whatever the filter), then input, then
// WM_PAINT for a window with something to repaint. A taken input message sets
// the thread's key state to the one it was stamped with. Beside the messages
// a queue holds the work other threads handed to its thread's windows, done
// before any message is taken. Every queue changes only under HostLock().
// A thread that owns windows reads the host's events at each look at its
// queue; they come back through user32/input.cpp as input and window work.
#include <chrono>
#include <deque>
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "user32/message_queue.h"

#include "host/sdl_events.h"
#include "host/wait_signal.h"
#include "host/x11_display_watch.h"
#include "kernel32/events_and_waits.h"
#include "kernel32/threads.h"
#include "user32/painting.h"
#include "user32/window_registry.h"

namespace {

using Clock = std::chrono::steady_clock;

// Without a display connection to watch, a thread with windows must read
// the host's events now and then: they would not end a wait.
constexpr auto kWindowPollInterval = std::chrono::milliseconds(5);
constexpr DWORD kMaximumWaitObjects = 63; // MAXIMUM_WAIT_OBJECTS less the queue
const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

struct MessageQueue {
    std::deque<MSG> posted;
    bool quitPending = false;
    WPARAM quitCode = 0;
    std::deque<PortableInput> input;
    std::deque<std::function<void()>> tasks;
};

thread_local bool pumping = false;

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

    bool InRange(UINT message) const { return (first == 0 && last == 0) || (message >= first && message <= last); }
    bool Matches(const MSG &message) const
    {
        if (window == kThreadMessagesOnly ? message.hwnd != nullptr : window && message.hwnd != window)
            return false;
        return InRange(message.message);
    }
    bool AcceptsPaint() const { return window != kThreadMessagesOnly && InRange(WM_PAINT); }
};

// What was taken from the input queue: applied once the lock is let go.
struct TakenInput {
    bool taken = false;
    PortableInput input;
};

// Lock held.
bool TakeMessage(DWORD self, MessageQueue &queue, const MessageFilter &filter, bool remove, MSG *out,
                 TakenInput *taken)
{
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (filter.Matches(*it)) {
            *out = *it;
            if (remove)
                queue.posted.erase(it);
            return true;
        }
    }
    if (queue.quitPending) {
        *out = PortableMakeMessage(nullptr, WM_QUIT, queue.quitCode, 0);
        if (remove)
            queue.quitPending = false;
        return true;
    }
    for (auto it = queue.input.begin(); it != queue.input.end(); ++it) {
        if (!filter.Matches(it->message))
            continue;
        *out = it->message;
        if (remove) {
            taken->taken = true;
            taken->input = *it;
            queue.input.erase(it);
        }
        return true;
    }
    const HWND paint = filter.AcceptsPaint() ? PortableFindPaint(self, filter.window) : nullptr;
    if (paint)
        *out = PortableMakeMessage(paint, WM_PAINT, 0, 0);
    return paint != nullptr;
}

// The thread now handles this input: GetKeyState and TranslateMessage see
// the keys as they were when it happened.
void Adopt(const TakenInput &taken)
{
    if (taken.taken)
        PortableAdoptInput(taken.input.message, taken.input.keys, taken.input.character);
}

// Does what was handed to the calling thread, in order.
void RunAskedTasks()
{
    const DWORD self = PortableCurrentThreadId();
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        if (MessageQueue *queue = QueueOf(self))
            tasks.swap(queue->tasks);
    }
    for (const std::function<void()> &task : tasks)
        task();
}

// Reads the host's events and does what they and other threads handed to
// the calling thread. Procedures called from here may look at their queue
// again; that look reads nothing.
void Pump()
{
    if (pumping)
        return;
    pumping = true;
    if (PortableThreadOwnsWindows())
        HostReadEvents();
    RunAskedTasks();
    pumping = false;
}

// Whether the calling thread reads the host's events now: it owns windows
// and is not inside a procedure that the pump called.
bool CanPump()
{
    return PortableThreadOwnsWindows() && !pumping;
}

bool Waiting(const MessageQueue &queue)
{
    return !queue.posted.empty() || queue.quitPending || !queue.input.empty();
}

// Lock held through `hold`; returns on any change or at the deadline, at
// once when work was handed to the thread. A thread that reads the host's
// events also returns when the display has sent something.
void WaitForChange(std::unique_lock<std::mutex> &hold, const MessageQueue &queue,
                   const std::optional<Clock::time_point> &deadline)
{
    if (!queue.tasks.empty())
        return;
    std::condition_variable &signal = HostSignal();
    std::optional<Clock::time_point> until = deadline;
    const bool readsDisplay = CanPump();
    if (readsDisplay) {
        if (HostDisplayHasNews())
            return;
        if (!HostDisplayWatched() && (!until || Clock::now() + kWindowPollInterval < *until))
            until = Clock::now() + kWindowPollInterval;
        HostDisplayWaitBegins();
    }
    if (until)
        signal.wait_until(hold, *until);
    else
        signal.wait(hold);
    if (readsDisplay)
        HostDisplayWaitEnds();
}

BOOL WINAPI PortablePeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT flags)
{
    if (!message)
        return FALSE;
    Pump();
    const DWORD self = PortableCurrentThreadId();
    TakenInput taken;
    bool found;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        MessageQueue *queue = QueueOf(self);
        found = queue && TakeMessage(self, *queue, {window, first, last}, (flags & PM_REMOVE) != 0, message, &taken);
    }
    Adopt(taken);
    return found;
}

BOOL WINAPI PortableGetMessageA(LPMSG message, HWND window, UINT first, UINT last)
{
    if (!message || (window && window != kThreadMessagesOnly && PortableWindowOwner(window) == 0))
        return -1;
    const DWORD self = PortableCurrentThreadId();
    const MessageFilter filter{window, first, last};
    for (;;) {
        Pump();
        TakenInput taken;
        {
            std::unique_lock<std::mutex> hold(HostLock());
            MessageQueue *queue = QueueOf(self);
            if (!queue)
                return -1;
            if (!TakeMessage(self, *queue, filter, true, message, &taken)) {
                WaitForChange(hold, *queue, std::nullopt);
                continue;
            }
        }
        Adopt(taken);
        return message->message != WM_QUIT;
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
        std::lock_guard<std::mutex> hold(HostLock());
        MessageQueue *queue = QueueOf(self);
        if (!queue)
            return;
        queue->quitPending = true;
        queue->quitCode = static_cast<WPARAM>(exitCode);
    }
    HostSignal().notify_all();
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
        Pump();
        std::unique_lock<std::mutex> hold(HostLock());
        for (DWORD i = 0; i < count; ++i) {
            if (PortableTryAcquire(*objects[i]))
                return WAIT_OBJECT_0 + i;
        }
        const MessageQueue *queue = QueueOf(self);
        if (wakeMask != 0 && queue && (Waiting(*queue) || PortableFindPaint(self, nullptr)))
            return WAIT_OBJECT_0 + count;
        if (deadline && Clock::now() >= *deadline)
            return WAIT_TIMEOUT;
        if (!queue)
            return WAIT_FAILED;
        WaitForChange(hold, *queue, deadline);
    }
}

// HostLock() held: the thread has ended.
void DiscardQueue(DWORD threadId)
{
    Queues().erase(threadId);
}

// Adds to the thread's queue and wakes its waits; false when the thread is gone.
template <class Add>
bool Enqueue(DWORD threadId, Add add)
{
    {
        std::lock_guard<std::mutex> hold(HostLock());
        MessageQueue *queue = QueueOf(threadId);
        if (!queue)
            return false;
        add(*queue);
    }
    HostSignal().notify_all();
    return true;
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
    return Enqueue(threadId, [&](MessageQueue &queue) { queue.posted.push_back(message); });
}

bool PortablePostInput(DWORD threadId, const PortableInput &input)
{
    return Enqueue(threadId, [&](MessageQueue &queue) {
        // As on Windows, a pointer move not yet taken gives way to the next one.
        const bool moved = input.message.message == WM_MOUSEMOVE;
        if (moved && !queue.input.empty() && queue.input.back().message.message == WM_MOUSEMOVE &&
            queue.input.back().message.hwnd == input.message.hwnd)
            queue.input.back() = input;
        else
            queue.input.push_back(input);
    });
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

bool PortableAskThread(DWORD threadId, std::function<void()> task)
{
    return Enqueue(threadId, [&](MessageQueue &queue) { queue.tasks.push_back(std::move(task)); });
}

void PortableFillMessageQueue(PlatformTable *t)
{
    PortableOnThreadExit(DiscardQueue);
    t->PeekMessageA = PortablePeekMessageA;
    t->GetMessageA = PortableGetMessageA;
    t->PostMessageA = PortablePostMessageA;
    t->PostThreadMessageA = PortablePostThreadMessageA;
    t->PostQuitMessage = PortablePostQuitMessage;
    t->DispatchMessageA = PortableDispatchMessageA;
    t->SendMessageA = PortableSendMessageA;
    t->MsgWaitForMultipleObjects = PortableMsgWaitForMultipleObjects;
}
