#include "handle_object.h"

#include <mutex>
#include <unordered_set>

namespace {

std::mutex &RegistryLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_set<PortableHandle *> &Registry()
{
    static std::unordered_set<PortableHandle *> live;
    return live;
}

} // namespace

PortableHandle::~PortableHandle() = default;

HANDLE PortableAdoptHandle(PortableHandle *object)
{
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().insert(object);
    return object;
}

PortableHandle *PortableFindHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> guard(RegistryLock());
    auto found = Registry().find(static_cast<PortableHandle *>(handle));
    return found == Registry().end() ? nullptr : *found;
}

bool PortableReleaseHandle(HANDLE handle)
{
    PortableHandle *object = static_cast<PortableHandle *>(handle);
    {
        std::lock_guard<std::mutex> guard(RegistryLock());
        if (Registry().erase(object) == 0)
            return false;
    }
    delete object;
    return true;
}
