// Kernel objects of the portable build that CloseHandle releases: files,
// mappings and whatever else derives from PortableHandle. A handle is the
// object's address, registered while it lives, so CloseHandle can tell these
// objects from others and refuse a handle closed twice.
#ifndef PLATFORM_PORTABLE_HANDLE_OBJECT_H
#define PLATFORM_PORTABLE_HANDLE_OBJECT_H

#include "platform/platform.h"

struct PortableHandle {
    virtual ~PortableHandle();
};

// Registers the object and returns its handle.
HANDLE PortableAdoptHandle(PortableHandle *object);

// The live object behind handle, or null.
PortableHandle *PortableFindHandle(HANDLE handle);

template <class T>
T *PortableHandleAs(HANDLE handle)
{
    return dynamic_cast<T *>(PortableFindHandle(handle));
}

// Unregisters and deletes the object; false when handle is not one of them.
bool PortableReleaseHandle(HANDLE handle);

#endif
