#include "handle_numbers.h"

#include <atomic>

uintptr_t PortableNewHandleNumber()
{
    static std::atomic<uintptr_t> next{kFirstMadeHandle};
    return next.fetch_add(4);
}
