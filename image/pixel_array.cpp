#include "pixel_array.h"

#include "platform/platform.h"

namespace {

// Below a large page there is little for the system to gain.
constexpr uint64_t kBroughtInFrom = uint64_t(2) << 20;

} // namespace

unsigned char *AllocatePixelArray(void *(*allocate)(size_t size), uint64_t bytes)
{
    if (bytes > SIZE_MAX)
        return nullptr;
    unsigned char *pixels = static_cast<unsigned char *>(allocate(bytes > 0 ? size_t(bytes) : 1));
    if (pixels != nullptr && bytes >= kBroughtInFrom) {
        WIN32_MEMORY_RANGE_ENTRY range{pixels, SIZE_T(bytes)};
        platform.PrefetchVirtualMemory(platform.GetCurrentProcess(), 1, &range, 0); // a hint: failing costs only time
    }
    return pixels;
}
