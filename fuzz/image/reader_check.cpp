#include "fuzz/image/reader_check.h"

#include <stdlib.h>

#include "image/image.h"
#include "platform/platform.h"
#include "tests/image/memory_file.h"
#include "toolkit/tk.h"

namespace {

int boxes = 0;

int WINAPI CountBox(HWND, LPCSTR, LPCSTR, UINT) { return ++boxes, IDOK; }
HWND WINAPI NoFocus(void) { return nullptr; }

} // namespace

bool ReadsSafely(ImageReader reader, const uint8_t *data, size_t size)
{
    tkShowErrorBoxes(1);
    platform.MessageBoxA = CountBox;
    platform.GetFocus = NoFocus;
    InstallMemoryFile(&platform, data, size);
    boxes = 0;
    tkClearLastError();
    PixelImage *image = reader == ImageReader::Rgb ? LoadRgbImageA("input.rgb")
                        : reader == ImageReader::Dib ? LoadDibImageA("input.bmp")
                                                     : LoadImageFile("input");
    bool whole = image && image->pixels;
    bool recorded = tkLastError() != TK_ERROR_NONE;
    if (whole) {
        volatile unsigned sum = 0;
        for (size_t i = 0; i < size_t(image->width) * size_t(image->height) * 3; ++i)
            sum = sum + image->pixels[i];
    }
    if (image)
        free(image->pixels);
    free(image);
    return memoryFile.AllReleased() && !memoryFile.readPastEnd && recorded == !whole &&
           boxes == (whole || reader == ImageReader::Any ? 0 : 1);
}
