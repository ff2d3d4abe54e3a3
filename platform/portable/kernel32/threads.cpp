// Threads over POSIX threads. A thread's end is a waitable state shared by
// its handles; its id is known before it runs, so a message can be posted to
// it at once.
#include "fill_table.h"
#include "kernel32/threads.h"

#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <unistd.h>

#include <atomic>
#include <memory>
#include <unordered_set>

#include "kernel32/kernel_handles.h"
#include "user32/message_queue.h"
#include "kernel32/waits.h"

namespace {

constexpr DWORD kCreateSuspended = 0x00000004;

struct ThreadObject final : PortableWaitable {
    bool Signalled() const override { return finished; }
    DWORD id = 0;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
};

struct ThreadIds {
    std::unordered_set<DWORD> live; // PortableLock() held
    std::atomic<DWORD> next{1};
};

ThreadIds &Ids()
{
    static auto *ids = new ThreadIds; // thread-exit hooks run during process exit
    return *ids;
}

DWORD RegisterNewThreadId()
{
    const DWORD id = Ids().next++;
    std::lock_guard<std::mutex> hold(PortableLock());
    Ids().live.insert(id);
    return id;
}

// Its end drops the thread's queue, so nothing can be posted to a thread
// that is gone.
struct ThreadIdentity {
    DWORD id = 0;
    ~ThreadIdentity()
    {
        if (id == 0)
            return;
        std::lock_guard<std::mutex> hold(PortableLock());
        Ids().live.erase(id);
        PortableDiscardQueue(id);
    }
};
thread_local ThreadIdentity currentThread;

struct StartRecord {
    std::shared_ptr<ThreadObject> thread;
    LPTHREAD_START_ROUTINE start;
    LPVOID argument;
};

void *RunThread(void *argument)
{
    std::unique_ptr<StartRecord> record(static_cast<StartRecord *>(argument));
    currentThread.id = record->thread->id;
    const DWORD exitCode = record->start(record->argument);
    {
        std::lock_guard<std::mutex> hold(PortableLock());
        record->thread->exitCode = exitCode;
        record->thread->finished = true;
    }
    PortableSignal().notify_all();
    return nullptr;
}

bool StartDetached(StartRecord *record, SIZE_T stackSize)
{
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0)
        pthread_attr_setstacksize(&attributes, stackSize < size_t(PTHREAD_STACK_MIN) ? size_t(PTHREAD_STACK_MIN) : stackSize);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, RunThread, record) == 0;
    pthread_attr_destroy(&attributes);
    return started;
}

HANDLE WINAPI PortableCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                                   LPVOID argument, DWORD flags, LPDWORD threadId)
{
    if (!start || (flags & kCreateSuspended))
        return nullptr;
    std::unique_ptr<StartRecord> record;
    HANDLE handle = nullptr;
    try {
        record.reset(new StartRecord{std::make_shared<ThreadObject>(), start, argument});
        handle = PortableWaitableHandle(record->thread);
    } catch (...) {
    }
    if (!handle)
        return nullptr;
    const DWORD id = record->thread->id = RegisterNewThreadId();
    if (!StartDetached(record.get(), stackSize)) {
        {
            std::lock_guard<std::mutex> hold(PortableLock());
            Ids().live.erase(id);
        }
        PortableReleaseHandle(handle);
        return nullptr;
    }
    record.release(); // the thread owns it now
    if (threadId)
        *threadId = id;
    return handle;
}

BOOL WINAPI PortableGetExitCodeThread(HANDLE handle, LPDWORD exitCode)
{
    const auto thread = std::dynamic_pointer_cast<ThreadObject>(PortableResolveWaitable(handle));
    if (!thread || !exitCode)
        return FALSE;
    std::lock_guard<std::mutex> hold(PortableLock());
    *exitCode = thread->finished ? thread->exitCode : STILL_ACTIVE;
    return TRUE;
}

DWORD WINAPI PortableGetCurrentThreadId(void)
{
    return PortableCurrentThreadId();
}

void WINAPI PortableSleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;)
            pause();
    }
    timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

} // namespace

DWORD PortableCurrentThreadId()
{
    if (currentThread.id == 0)
        currentThread.id = RegisterNewThreadId();
    return currentThread.id;
}

bool PortableIsLiveThread(DWORD threadId)
{
    return Ids().live.count(threadId) != 0;
}

void PortableFillThreads(PlatformTable *t)
{
    t->CreateThread = PortableCreateThread;
    t->GetExitCodeThread = PortableGetExitCodeThread;
    t->GetCurrentThreadId = PortableGetCurrentThreadId;
    t->Sleep = PortableSleep;
}
