// Device-independent bitmap files: mapped read-only, converted by the
// platform's drawing interface into a 24-bit surface, repacked into a
// PixelImage. Each call releases everything it obtained and raises at most
// one message.
#include "dib_reader.h"

#include <stdlib.h>

#include "dib_header.h"
#include "dib_repack.h"
#include "image_file.h"
#include "image_report.h"
#include "pixel_array.h"
#include "platform/platform.h"

void *(*dibAllocate)(size_t size) = malloc;

namespace {

struct MappedFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const unsigned char *view = nullptr;
    uint64_t size = 0;
};

// Everything one call obtains, in the order it is obtained.
struct DibCall {
    MappedFile source;
    DibSource dib{};
    HDC context = nullptr;
    BITMAPINFO *target = nullptr;
    HBITMAP surface = nullptr;
    const unsigned char *surfaceBits = nullptr;
    unsigned char *pixels = nullptr;
    PixelImage *image = nullptr;
};

// An empty file cannot be mapped on Windows; it is refused the same way
// everywhere, before the mapping is asked for.
bool OpenMappedFile(const void *name, bool wide, MappedFile *mapped)
{
    mapped->file = OpenImageFile(name, wide);
    if (mapped->file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD low = platform.GetFileSize(mapped->file, &high);
    if (low == INVALID_FILE_SIZE && high == 0)
        return false;
    mapped->size = uint64_t(high) << 32 | low;
    if (mapped->size == 0 || mapped->size > SIZE_MAX)
        return false;
    mapped->mapping = platform.CreateFileMappingA(mapped->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapped->mapping == nullptr)
        return false;
    mapped->view = static_cast<const unsigned char *>(platform.MapViewOfFile(mapped->mapping, FILE_MAP_READ, 0, 0, 0));
    return mapped->view != nullptr;
}

// A bottom-up surface whatever the file's row order, so that the repacking
// below always reads it bottom row first.
BITMAPINFO *MakeTargetHeader(const DibSource &dib)
{
    BITMAPINFO *target = static_cast<BITMAPINFO *>(platform.LocalAlloc(LPTR, sizeof(BITMAPINFOHEADER) + 4));
    if (target == nullptr)
        return nullptr;
    BITMAPINFOHEADER &header = target->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = dib.width;
    header.biHeight = dib.rows;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = uint32_t(dib.outputBytes);
    return target;
}

const char *ConvertToSurface(DibCall *call)
{
    call->context = platform.CreateCompatibleDC(nullptr);
    if (call->context == nullptr)
        return kImageOutOfMemory;
    call->target = MakeTargetHeader(call->dib);
    if (call->target == nullptr)
        return kImageOutOfMemory;
    void *bits = nullptr;
    call->surface = platform.CreateDIBSection(call->context, call->target, DIB_RGB_COLORS, &bits, nullptr, 0);
    call->surfaceBits = static_cast<const unsigned char *>(bits);
    if (call->surface == nullptr || bits == nullptr || platform.SelectObject(call->context, call->surface) == nullptr)
        return kImageOutOfMemory;
    int lines = platform.SetDIBits(call->context, call->surface, 0, UINT(call->dib.rows), call->dib.pixels,
                                   call->dib.working, DIB_RGB_COLORS);
    if (lines == 0)
        return kDibConversionError;
    platform.GdiFlush();
    return nullptr;
}

const char *DecodeMappedFile(DibCall *call, bool longHeaders)
{
    const char *failure = PrepareDibSource(call->source.view, call->source.size, &call->dib, longHeaders);
    if (failure == nullptr)
        failure = ConvertToSurface(call);
    if (failure != nullptr)
        return failure;
    call->pixels = AllocatePixelArray(dibAllocate, call->dib.outputBytes);
    if (call->pixels == nullptr)
        return kImageOutOfMemory;
    RepackRows(call->surfaceBits, call->pixels, call->dib.width, call->dib.rows);
    call->image = static_cast<PixelImage *>(dibAllocate(sizeof(PixelImage)));
    if (call->image == nullptr)
        return kImageOutOfMemory;
    call->image->width = call->dib.width;
    call->image->height = call->dib.rows;
    call->image->pixels = call->pixels;
    return nullptr;
}

// The context goes first, with the surface still selected, then the surface.
void Release(DibCall *call)
{
    if (call->context != nullptr)
        platform.DeleteDC(call->context);
    if (call->surface != nullptr)
        platform.DeleteObject(call->surface);
    if (call->target != nullptr)
        platform.LocalFree(call->target);
    if (call->dib.working != nullptr)
        platform.LocalFree(call->dib.working);
    if (call->source.view != nullptr)
        platform.UnmapViewOfFile(call->source.view);
    if (call->source.mapping != nullptr)
        platform.CloseHandle(call->source.mapping);
    if (call->source.file != INVALID_HANDLE_VALUE)
        platform.CloseHandle(call->source.file);
}

} // namespace

PixelImage *ReadDibFile(const void *name, bool wide, bool longHeaders)
{
    DibCall call;
    bool opened = OpenMappedFile(name, wide, &call.source);
    if (opened) {
        const char *failure = DecodeMappedFile(&call, longHeaders);
        if (failure != nullptr)
            ReportImageFailure(failure, name, wide);
    }
    Release(&call);
    if (call.image != nullptr)
        return call.image;
    free(call.pixels);
    if (!opened)
        ReportImageOpenFailure(kDibOpenFailed, kDibOpenFailedWide, name, wide);
    return nullptr;
}

extern "C" {

PixelImage *LoadDibImage(const char *name) { return ReadDibFile(name, false); }
PixelImage *LoadDibImageA(const char *name) { return ReadDibFile(name, false); }
PixelImage *LoadDibImageW(const ImageWideChar *name) { return ReadDibFile(name, true); }

} // extern "C"
