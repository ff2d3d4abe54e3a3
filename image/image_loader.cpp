// One call for either format: the file's first bytes tell a bitmap, with or
// without its file header, from an SGI rgb file. No box is ever shown; the
// failure record says why a file was refused.
#include <stdint.h>
#include <stdio.h>
#include <vector>

#include "common/error_report.h"
#include "dib_reader.h"
#include "file_names.h"
#include "image/image.h"
#include "image_file.h"
#include "platform/platform.h"
#include "rgb_reader.h"

namespace {

enum class ImageKind { Unreadable, Unknown, Dib, Rgb };

constexpr size_t kRecordLimit = 600;

ImageKind KindOfStart(const unsigned char *start, DWORD length)
{
    if (length >= 2 && start[0] == 'B' && start[1] == 'M')
        return ImageKind::Dib;
    if (length >= 2 && ((start[0] == 0x01 && start[1] == 0xDA) || (start[0] == 0xDA && start[1] == 0x01)))
        return ImageKind::Rgb;
    if (length < 4)
        return ImageKind::Unknown;
    // A bitmap without its file header starts with its header's size.
    const uint32_t headerSize = uint32_t(start[0]) | uint32_t(start[1]) << 8 | uint32_t(start[2]) << 16 |
                                uint32_t(start[3]) << 24;
    const bool known = headerSize == 12 || headerSize == 40 || headerSize == 108 || headerSize == 124;
    return known ? ImageKind::Dib : ImageKind::Unknown;
}

// Reads no further than the file goes.
ImageKind KindOfFile(const WCHAR *name)
{
    const HANDLE file = OpenImageFile(name, true);
    if (file == INVALID_HANDLE_VALUE)
        return ImageKind::Unreadable;
    unsigned char start[4] = {};
    DWORD high = 0, length = 0;
    const DWORD size = platform.GetFileSize(file, &high);
    const DWORD wanted = high != 0 || size >= sizeof start ? sizeof start : size;
    const bool read = (size != INVALID_FILE_SIZE || high != 0) &&
                      platform.ReadFile(file, start, wanted, &length, nullptr);
    platform.CloseHandle(file);
    return read ? KindOfStart(start, length) : ImageKind::Unreadable;
}

void Refuse(int32_t code, const char *format, const char *path)
{
    char text[kRecordLimit];
    snprintf(text, sizeof text, format, path);
    ReportFailure(code, text, nullptr);
}

} // namespace

extern "C" PixelImage *LoadImageFile(const char *path)
{
    QuietFailures quiet;
    std::vector<WCHAR> name;
    if (path == nullptr) {
        ReportFailure(TK_ERROR_ARGUMENT, "No image file name.", nullptr);
        return nullptr;
    }
    if (!Utf8ToUtf16(path, &name)) {
        Refuse(TK_ERROR_ARGUMENT, "%.500s: the name is not UTF-8.", path);
        return nullptr;
    }
    switch (KindOfFile(name.data())) {
    case ImageKind::Dib:
        return ReadDibFile(name.data(), true, true);
    case ImageKind::Rgb:
        return ReadRgbFile(name.data(), true);
    case ImageKind::Unreadable:
        Refuse(TK_ERROR_FILE_OPEN, "Failed to open image file %.500s.", path);
        return nullptr;
    case ImageKind::Unknown:
        break;
    }
    Refuse(TK_ERROR_FILE_FORMAT, "%.500s: neither a bitmap nor an SGI rgb file.", path);
    return nullptr;
}
