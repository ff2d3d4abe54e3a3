// libFuzzer target for the SGI rgb reader. The input is served as a file
// through the platform table, which notes any read past its end.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "image/rgb_reader.h"
#include "platform/platform.h"
#include "tests/image/memory_file.h"
#include "toolkit/tk.h"

namespace {

// Pictures larger than this are opened and closed but not decoded: a few
// bytes can describe 65535 x 65535 pixels, more than the fuzzer's memory.
constexpr uint64_t kDecodedPixelLimit = uint64_t(1) << 22;

int boxesThisCall = 0;

int WINAPI CountBox(HWND, LPCSTR, LPCSTR, UINT)
{
    ++boxesThisCall;
    return IDOK;
}

HWND WINAPI NoFocus(void) { return nullptr; }

uint64_t DeclaredPixels(const uint8_t *data, size_t size)
{
    if (size < 10)
        return 0;
    bool bigEndian = data[0] == 0x01;
    auto word = [&](size_t at) { return bigEndian ? uint32_t(data[at] << 8 | data[at + 1]) : uint32_t(data[at + 1] << 8 | data[at]); };
    return uint64_t(word(6)) * word(8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tkShowErrorBoxes(1);
    platform.MessageBoxA = CountBox;
    platform.GetFocus = NoFocus;
    InstallMemoryFile(&platform, data, size);
    boxesThisCall = 0;

    if (DeclaredPixels(data, size) <= kDecodedPixelLimit) {
        PixelImage *image = LoadRgbImageA("fuzz.rgb");
        if (image && image->pixels) {
            // Every byte handed out must have been written: touch them all.
            volatile unsigned sum = 0;
            for (size_t i = 0; i < size_t(image->width) * image->height * 3; ++i)
                sum = sum + image->pixels[i];
        }
        if (image)
            free(image->pixels);
        free(image);
    } else {
        CloseRgbReader(OpenRgbReader("fuzz.rgb", false));
    }

    if (memoryFile.readPastEnd || memoryFile.closes != memoryFile.opens || boxesThisCall > 1)
        abort();
    return 0;
}
