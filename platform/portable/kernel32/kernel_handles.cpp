#include "kernel32/kernel_handles.h"

#include <memory>

#include "handle_map.h"

namespace {

using KernelObjects = PortableHandleMap<HANDLE, std::unique_ptr<PortableKernelObject>>;

KernelObjects &Objects()
{
    static auto *objects = new KernelObjects;
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
    return Objects().Add(std::unique_ptr<PortableKernelObject>(object));
}

PortableKernelObject *PortableFindHandle(HANDLE handle)
{
    PortableKernelObject *object = nullptr;
    Objects().Visit(handle, [&](std::unique_ptr<PortableKernelObject> &found) { object = found.get(); });
    return object;
}

bool PortableVisitHandle(HANDLE handle, const std::function<void(PortableKernelObject &)> &visit)
{
    return Objects().Visit(handle, [&](std::unique_ptr<PortableKernelObject> &found) { visit(*found); });
}

bool PortableReleaseHandle(HANDLE handle)
{
    std::unique_ptr<PortableKernelObject> gone; // deleted outside the lock: a file's destructor closes its descriptor
    return Objects().Release(handle, &gone);
}

void PortableFillKernelHandles(PlatformTable *t)
{
    t->CloseHandle = PortableCloseHandle;
}
