// Events and waiting for one object.
#include "kernel32/events_and_waits.h"

#include <chrono>

#include "kernel32/kernel_handles.h"

namespace {

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

struct WaitableHandle final : PortableKernelObject {
    explicit WaitableHandle(std::shared_ptr<PortableWaitable> target) : object(std::move(target)) {}
    const std::shared_ptr<PortableWaitable> object;
};

HANDLE WINAPI PortableCreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name)
{
    // Named events would be shared between callers; failing beats silently
    // handing out a private one.
    if (name)
        return nullptr;
    try {
        return PortableWaitableHandle(std::make_shared<EventObject>(manualReset, initialState));
    } catch (...) {
        return nullptr;
    }
}

BOOL WINAPI PortableSetEvent(HANDLE handle)
{
    const auto event = std::dynamic_pointer_cast<EventObject>(PortableResolveWaitable(handle));
    if (!event)
        return FALSE;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        event->signalled = true;
    }
    HostSignal().notify_all();
    return TRUE;
}

DWORD WINAPI PortableWaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    const std::shared_ptr<PortableWaitable> object = PortableResolveWaitable(handle);
    if (!object)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> hold(HostLock());
    const auto signalled = [&] { return object->Signalled(); };
    if (milliseconds == INFINITE)
        HostSignal().wait(hold, signalled);
    else if (!HostSignal().wait_for(hold, std::chrono::milliseconds(milliseconds), signalled))
        return WAIT_TIMEOUT;
    object->Acquired();
    return WAIT_OBJECT_0;
}

} // namespace

HANDLE PortableWaitableHandle(std::shared_ptr<PortableWaitable> object)
{
    return PortableAdoptHandle(new WaitableHandle(std::move(object)));
}

std::shared_ptr<PortableWaitable> PortableResolveWaitable(HANDLE handle)
{
    std::shared_ptr<PortableWaitable> object;
    PortableVisitHandle(handle, [&](PortableKernelObject &found) {
        if (auto *wrapper = dynamic_cast<WaitableHandle *>(&found))
            object = wrapper->object;
    });
    return object;
}

bool PortableTryAcquire(PortableWaitable &object)
{
    if (!object.Signalled())
        return false;
    object.Acquired();
    return true;
}

void PortableFillEventsAndWaits(PlatformTable *t)
{
    t->CreateEventA = PortableCreateEventA;
    t->SetEvent = PortableSetEvent;
    t->WaitForSingleObject = PortableWaitForSingleObject;
}
