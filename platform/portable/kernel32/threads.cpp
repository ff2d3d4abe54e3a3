// Threads. A thread's end is a waitable state shared by its handles; its id
// is known before it runs, so a message can be posted to it at once.
#include "kernel32/threads.h"

#include <atomic>
#include <memory>
#include <unordered_set>

#include "host/posix_threads.h"
#include "kernel32/events_and_waits.h"
#include "kernel32/kernel_handles.h"

namespace {

constexpr DWORD kCreateSuspended = 0x00000004;

struct ThreadObject final : PortableWaitable {
    bool Signalled() const override { return finished; }
    DWORD id = 0;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
};

struct ThreadIds {
    std::unordered_set<DWORD> live; // HostLock() held
    std::atomic<DWORD> next{1};
};

// Set once while the table is filled, before any thread runs.
void (*threadExitHook)(DWORD threadId) = nullptr;

ThreadIds &Ids()
{
    static auto *ids = new ThreadIds; // thread-exit hooks run during process exit
    return *ids;
}

DWORD RegisterNewThreadId()
{
    const DWORD id = Ids().next++;
    std::lock_guard<std::mutex> hold(HostLock());
    Ids().live.insert(id);
    return id;
}

// Its end tells the hook, so that nothing is kept for a thread that is gone.
struct ThreadIdentity {
    DWORD id = 0;
    ~ThreadIdentity()
    {
        if (id == 0)
            return;
        std::lock_guard<std::mutex> hold(HostLock());
        Ids().live.erase(id);
        if (threadExitHook)
            threadExitHook(id);
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
        std::lock_guard<std::mutex> hold(HostLock());
        record->thread->exitCode = exitCode;
        record->thread->finished = true;
    }
    HostSignal().notify_all();
    return nullptr;
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
    if (!HostStartThread(RunThread, record.get(), stackSize)) {
        {
            std::lock_guard<std::mutex> hold(HostLock());
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
    std::lock_guard<std::mutex> hold(HostLock());
    *exitCode = thread->finished ? thread->exitCode : STILL_ACTIVE;
    return TRUE;
}

DWORD WINAPI PortableGetCurrentThreadId(void)
{
    return PortableCurrentThreadId();
}

void WINAPI PortableSleep(DWORD milliseconds)
{
    if (milliseconds == 0)
        HostYield();
    else if (milliseconds == INFINITE)
        HostSleepForever();
    else
        HostSleep(milliseconds);
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

void PortableOnThreadExit(void (*hook)(DWORD threadId))
{
    threadExitHook = hook;
}

void PortableFillThreads(PlatformTable *t)
{
    t->CreateThread = PortableCreateThread;
    t->GetExitCodeThread = PortableGetExitCodeThread;
    t->GetCurrentThreadId = PortableGetCurrentThreadId;
    t->Sleep = PortableSleep;
}
