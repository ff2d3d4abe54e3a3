// Kernel objects that CloseHandle releases: threads, events, files and
// mappings. Each is registered under a number while it lives, so CloseHandle
// can tell them from other handles and refuses a handle closed twice.
#ifndef PLATFORM_PORTABLE_KERNEL_HANDLES_H
#define PLATFORM_PORTABLE_KERNEL_HANDLES_H

#include <functional>

#include "platform/platform.h"

struct PortableKernelObject {
    virtual ~PortableKernelObject();
};

// Registers the object and returns its handle; null when out of memory.
HANDLE PortableAdoptHandle(PortableKernelObject *object);

// The live object behind handle, or null. The caller keeps it alive only as
// long as nothing can close the handle meanwhile.
PortableKernelObject *PortableFindHandle(HANDLE handle);

// Runs visit on the live object behind handle with the registry locked, so no
// other thread can close it meanwhile; false when there is none.
bool PortableVisitHandle(HANDLE handle, const std::function<void(PortableKernelObject &)> &visit);

template <class T>
T *PortableHandleAs(HANDLE handle)
{
    return dynamic_cast<T *>(PortableFindHandle(handle));
}

// Unregisters and deletes the object; false when handle is not one of them.
bool PortableReleaseHandle(HANDLE handle);

void PortableFillKernelHandles(PlatformTable *t);

#endif
