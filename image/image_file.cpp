#include "image_file.h"

#include <atomic>

#include "image/image.h"
#include "platform/platform.h"

namespace {

// A setting like the box switch, one a program may change while another
// thread reads a picture.
std::atomic<uint64_t> pixelLimit{IMAGE_DEFAULT_PIXEL_LIMIT};

} // namespace

HANDLE OpenImageFile(const void *name, bool wide)
{
    if (name == nullptr)
        return INVALID_HANDLE_VALUE;
    if (wide)
        return platform.CreateFileW(static_cast<LPCWSTR>(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return platform.CreateFileA(static_cast<LPCSTR>(name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool PixelCountAllowed(uint64_t width, uint64_t height)
{
    uint64_t limit = pixelLimit.load(std::memory_order_relaxed);
    // Both sides are below 2^32, so the product cannot wrap.
    return limit == 0 || width * height <= limit;
}

extern "C" uint64_t SetImagePixelLimit(uint64_t pixels)
{
    return pixelLimit.exchange(pixels, std::memory_order_relaxed);
}
