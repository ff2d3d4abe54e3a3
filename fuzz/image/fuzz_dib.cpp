// libFuzzer target for the bitmap reader. The input is served as a mapped
// file whose view is a heap block of exactly its size, so any read past the
// end is caught by AddressSanitizer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "image/dib_reader.h"
#include "platform/platform.h"
#include "tests/image/memory_file.h"
#include "toolkit/tk.h"

namespace {

// Pictures larger than this are not decoded: a few bytes of run-length data
// can describe more pixels than the fuzzer's memory holds.
constexpr uint64_t kDecodedPixelLimit = uint64_t(1) << 22;

int boxesThisCall = 0;

int WINAPI CountBox(HWND, LPCSTR, LPCSTR, UINT)
{
    ++boxesThisCall;
    return IDOK;
}

HWND WINAPI NoFocus(void) { return nullptr; }

uint32_t Le(const uint8_t *p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

uint64_t DeclaredPixels(const uint8_t *data, size_t size)
{
    size_t at = size >= 2 && data[0] == 'B' && data[1] == 'M' ? 14 : 0;
    if (size < at + 12)
        return 0;
    if (Le(data + at, 4) == 12)
        return uint64_t(Le(data + at + 4, 2)) * Le(data + at + 6, 2);
    int64_t width = int32_t(Le(data + at + 4, 4));
    int64_t height = int32_t(Le(data + at + 8, 4));
    return uint64_t(width < 0 ? -width : width) * uint64_t(height < 0 ? -height : height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (DeclaredPixels(data, size) > kDecodedPixelLimit)
        return 0;
    tkShowErrorBoxes(1);
    platform.MessageBoxA = CountBox;
    platform.GetFocus = NoFocus;
    InstallMemoryFile(&platform, data, size);
    boxesThisCall = 0;

    PixelImage *image = LoadDibImageA("fuzz.bmp");
    if (image) {
        // Every byte handed out must have been written: touch them all.
        volatile unsigned sum = 0;
        for (size_t i = 0; i < size_t(image->width) * size_t(image->height) * 3; ++i)
            sum = sum + image->pixels[i];
        free(image->pixels);
        free(image);
    }
    bool released = memoryFile.unmaps == memoryFile.views && memoryFile.closes == memoryFile.opens + memoryFile.maps;
    if (!released || boxesThisCall != (image ? 0 : 1))
        abort();
    return 0;
}
