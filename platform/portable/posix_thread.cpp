// Threads, events and waiting over C++ threads, all behind one lock and one
// condition variable: waits are rare and short-lived, so one of each is
// simpler than per-object signalling and cannot lose a wake-up.
#include <atomic>
#include <chrono>
#include <thread>
#include <unordered_set>

#include "handle_object.h"
#include "portable.h"
#include "portable_internal.h"

namespace {

constexpr DWORD kCreateSuspended = 0x00000004;

struct EventObject final : PortableWaitable {
    EventObject(bool manual, bool initial) : manualReset(manual), signalled(initial) {}
    bool Signalled() const override { return signalled; }
    void Acquired() override
    {
        if (!manualReset)
            signalled = false;
    }
    const bool manualReset;
    bool signalled;
};

struct ThreadObject final : PortableWaitable {
    bool Signalled() const override { return finished; }
    DWORD id = 0;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
};

struct WaitableHandle final : PortableHandle {
    explicit WaitableHandle(std::shared_ptr<PortableWaitable> target) : object(std::move(target)) {}
    const std::shared_ptr<PortableWaitable> object;
};

struct SharedState {
    std::mutex lock;
    std::condition_variable signal;
    std::unordered_set<DWORD> liveThreads;
    std::atomic<DWORD> nextThreadId{1};
};

// Never destroyed: detached threads and thread-exit hooks may still use it
// while the process runs its static destructors.
SharedState &Shared()
{
    static SharedState *state = new SharedState;
    return *state;
}

DWORD RegisterNewThreadId()
{
    SharedState &state = Shared();
    const DWORD id = state.nextThreadId++;
    std::lock_guard<std::mutex> hold(state.lock);
    state.liveThreads.insert(id);
    return id;
}

// The calling thread's id, given on first use; its end drops the thread's
// queue, so nothing can be posted to a thread that is gone.
struct ThreadIdentity {
    DWORD id = 0;
    ~ThreadIdentity()
    {
        if (id == 0)
            return;
        std::lock_guard<std::mutex> hold(Shared().lock);
        Shared().liveThreads.erase(id);
        PortableDiscardQueue(id);
    }
};
thread_local ThreadIdentity currentThread;

template <class Object>
std::shared_ptr<Object> Resolve(HANDLE handle)
{
    return std::dynamic_pointer_cast<Object>(PortableResolveWaitable(handle));
}

void RunThread(const std::shared_ptr<ThreadObject> &thread, LPTHREAD_START_ROUTINE start, LPVOID argument)
{
    currentThread.id = thread->id;
    const DWORD exitCode = start(argument);
    {
        std::lock_guard<std::mutex> hold(Shared().lock);
        thread->exitCode = exitCode;
        thread->finished = true;
    }
    Shared().signal.notify_all();
}

HANDLE WINAPI PortableCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID argument,
                                   DWORD flags, LPDWORD threadId)
{
    if (!start || (flags & kCreateSuspended))
        return nullptr;
    std::shared_ptr<ThreadObject> thread;
    HANDLE handle = nullptr;
    try {
        thread = std::make_shared<ThreadObject>();
        handle = PortableAdoptHandle(new WaitableHandle(thread));
    } catch (...) {
        return nullptr;
    }
    // Known before it runs, so a message can be posted to it at once.
    thread->id = RegisterNewThreadId();
    if (threadId)
        *threadId = thread->id;
    try {
        std::thread(RunThread, thread, start, argument).detach();
    } catch (...) {
        {
            std::lock_guard<std::mutex> hold(Shared().lock);
            Shared().liveThreads.erase(thread->id);
        }
        PortableReleaseHandle(handle);
        return nullptr;
    }
    return handle;
}

DWORD WINAPI PortableWaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    const std::shared_ptr<PortableWaitable> object = PortableResolveWaitable(handle);
    if (!object)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> hold(Shared().lock);
    const auto signalled = [&] { return object->Signalled(); };
    if (milliseconds == INFINITE)
        Shared().signal.wait(hold, signalled);
    else if (!Shared().signal.wait_for(hold, std::chrono::milliseconds(milliseconds), signalled))
        return WAIT_TIMEOUT;
    object->Acquired();
    return WAIT_OBJECT_0;
}

BOOL WINAPI PortableGetExitCodeThread(HANDLE handle, LPDWORD exitCode)
{
    const std::shared_ptr<ThreadObject> thread = Resolve<ThreadObject>(handle);
    if (!thread || !exitCode)
        return FALSE;
    std::lock_guard<std::mutex> hold(Shared().lock);
    *exitCode = thread->finished ? thread->exitCode : STILL_ACTIVE;
    return TRUE;
}

HANDLE WINAPI PortableCreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name)
{
    // Named events would be shared between callers; failing beats silently
    // handing out a private one.
    if (name)
        return nullptr;
    try {
        return PortableAdoptHandle(new WaitableHandle(std::make_shared<EventObject>(manualReset, initialState)));
    } catch (...) {
        return nullptr;
    }
}

BOOL WINAPI PortableSetEvent(HANDLE handle)
{
    const std::shared_ptr<EventObject> event = Resolve<EventObject>(handle);
    if (!event)
        return FALSE;
    {
        std::lock_guard<std::mutex> hold(Shared().lock);
        event->signalled = true;
    }
    Shared().signal.notify_all();
    return TRUE;
}

BOOL WINAPI PortableCloseHandle(HANDLE handle)
{
    return PortableReleaseHandle(handle) ? TRUE : FALSE;
}

DWORD WINAPI PortableGetCurrentThreadId(void)
{
    return PortableCurrentThreadId();
}

void WINAPI PortableSleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

HMODULE WINAPI PortableGetModuleHandleA(LPCSTR moduleName)
{
    return moduleName ? nullptr : PortableProgramInstance();
}

} // namespace

std::mutex &PortableLock()
{
    return Shared().lock;
}

std::condition_variable &PortableSignal()
{
    return Shared().signal;
}

DWORD PortableCurrentThreadId()
{
    if (currentThread.id == 0)
        currentThread.id = RegisterNewThreadId();
    return currentThread.id;
}

bool PortableIsLiveThread(DWORD threadId)
{
    return Shared().liveThreads.count(threadId) != 0;
}

HINSTANCE PortableProgramInstance()
{
    // The customary image base of a Windows program: fixed and never null.
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000));
}

std::shared_ptr<PortableWaitable> PortableResolveWaitable(HANDLE handle)
{
    WaitableHandle *wrapper = PortableHandleAs<WaitableHandle>(handle);
    return wrapper ? wrapper->object : nullptr;
}

bool PortableTryAcquire(PortableWaitable &object)
{
    if (!object.Signalled())
        return false;
    object.Acquired();
    return true;
}

void PortableFillThreads(PlatformTable *t)
{
    t->CreateThread = PortableCreateThread;
    t->WaitForSingleObject = PortableWaitForSingleObject;
    t->GetExitCodeThread = PortableGetExitCodeThread;
    t->CreateEventA = PortableCreateEventA;
    t->SetEvent = PortableSetEvent;
    t->CloseHandle = PortableCloseHandle;
    t->GetCurrentThreadId = PortableGetCurrentThreadId;
    t->Sleep = PortableSleep;
    t->GetModuleHandleA = PortableGetModuleHandleA;
}
