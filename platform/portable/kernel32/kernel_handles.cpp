#include "fill_table.h"
#include "kernel32/kernel_handles.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "handle_numbers.h"

namespace {

struct KernelObjects {
    std::mutex lock;
    std::unordered_map<HANDLE, std::unique_ptr<PortableKernelObject>> live;
};

KernelObjects &Objects()
{
    static auto *objects = new KernelObjects; // threads may close handles during exit
    return *objects;
}

BOOL WINAPI PortableCloseHandle(HANDLE handle)
{
    return PortableReleaseHandle(handle) ? TRUE : FALSE;
}

} // namespace

PortableKernelObject::~PortableKernelObject() = default;

HANDLE PortableAdoptHandle(PortableKernelObject *object)
{
    std::unique_ptr<PortableKernelObject> owned(object);
    const HANDLE handle = PortableNewHandle<HANDLE>();
    try {
        std::lock_guard<std::mutex> hold(Objects().lock);
        Objects().live.emplace(handle, std::move(owned));
    } catch (...) {
        return nullptr;
    }
    return handle;
}

PortableKernelObject *PortableFindHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> hold(Objects().lock);
    auto found = Objects().live.find(handle);
    return found == Objects().live.end() ? nullptr : found->second.get();
}

bool PortableVisitHandle(HANDLE handle, const std::function<void(PortableKernelObject &)> &visit)
{
    std::lock_guard<std::mutex> hold(Objects().lock);
    auto found = Objects().live.find(handle);
    if (found == Objects().live.end())
        return false;
    visit(*found->second);
    return true;
}

bool PortableReleaseHandle(HANDLE handle)
{
    std::unique_ptr<PortableKernelObject> gone;
    {
        std::lock_guard<std::mutex> hold(Objects().lock);
        auto found = Objects().live.find(handle);
        if (found == Objects().live.end())
            return false;
        gone = std::move(found->second);
        Objects().live.erase(found);
    }
    return true; // deleted outside the lock: a file's destructor closes its descriptor
}

void PortableFillKernelHandles(PlatformTable *t)
{
    t->CloseHandle = PortableCloseHandle;
}
