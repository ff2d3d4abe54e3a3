#include "rgb_file.h"

#include <stdlib.h>

#include "platform/platform.h"

void *(*rgbAllocate)(size_t size) = malloc;

bool RgbSeek(HANDLE file, uint64_t position)
{
    LONG high = LONG(position >> 32);
    DWORD low = platform.SetFilePointer(file, LONG(uint32_t(position)), &high, FILE_BEGIN);
    return (uint64_t(uint32_t(high)) << 32 | low) == position;
}

uint64_t RgbRead(HANDLE file, void *buffer, uint64_t count)
{
    constexpr DWORD kChunk = 1u << 30;
    unsigned char *out = static_cast<unsigned char *>(buffer);
    uint64_t total = 0;
    while (total < count) {
        DWORD want = count - total < kChunk ? DWORD(count - total) : kChunk;
        DWORD delivered = 0;
        if (!platform.ReadFile(file, out + total, want, &delivered, nullptr) || delivered > want)
            break;
        total += delivered;
        if (delivered < want)
            break;
    }
    return total;
}
