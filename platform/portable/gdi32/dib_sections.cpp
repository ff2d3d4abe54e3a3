// Memory device contexts and 24-bit DIB sections in software, enough for
// converting bitmaps as GDI does.
#include <new>

#include "gdi32/dib_sections.h"
#include "gdi32/dib_conversion.h"
#include "gdi32/gdi_objects.h"
#include "host/posix_memory.h"

namespace {

struct DibSection final : PortableGdiObject {
    DibSection(uint8_t *memory, size_t bytes, int32_t w, int32_t h)
        : PortableGdiObject(PortableGdiKind::Bitmap, false), bits(memory), size(bytes), width(w), height(h)
    {
    }
    ~DibSection() override { HostFreeZeroed(bits, size); }
    uint8_t *const bits;
    const size_t size;
    const int32_t width;
    const int32_t height;
};

DibSourceFormat SourceFormatOf(const BITMAPINFOHEADER &header)
{
    return DibSourceFormat{header.biWidth, header.biHeight, header.biPlanes, header.biBitCount,
                           header.biCompression, header.biSizeImage, header.biClrUsed};
}

HDC WINAPI PortableCreateCompatibleDC(HDC)
{
    std::unique_ptr<PortableDeviceContext> context(new (std::nothrow)
                                                       PortableDeviceContext(PortableGdiKind::MemoryDC, nullptr));
    if (!context)
        return nullptr;
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    return static_cast<HDC>(PortableAddGdiObject(std::move(context)));
}

BOOL WINAPI PortableDeleteDC(HDC handle)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    return PortableDeleteMemoryContext(handle) ? TRUE : FALSE;
}

HBITMAP WINAPI PortableCreateDIBSection(HDC, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section,
                                        DWORD)
{
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || section != nullptr || usage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER &header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biBitCount != 24 || header.biCompression != BI_RGB ||
        header.biPlanes == 0 || header.biWidth <= 0 || header.biHeight == 0)
        return nullptr;
    uint64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    uint64_t size = DibStride(header.biWidth, 24) * rows;
    if (size > UINT32_MAX || size > SIZE_MAX)
        return nullptr;
    uint8_t *memory = HostAllocateZeroed(size_t(size)); // zero, as the pages Windows hands out are
    if (memory == nullptr)
        return nullptr;
    std::unique_ptr<DibSection> surface(new (std::nothrow) DibSection(memory, size_t(size), header.biWidth,
                                                                      header.biHeight));
    if (surface == nullptr) {
        HostFreeZeroed(memory, size_t(size));
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const HGDIOBJ handle = PortableAddGdiObject(std::move(surface));
    if (handle != nullptr && bits != nullptr)
        *bits = memory;
    return static_cast<HBITMAP>(handle);
}

// The caller vouches, as with GDI, that bits and the colour table hold what
// the header describes; the conversion reads exactly that much.
int WINAPI PortableSetDIBits(HDC, HBITMAP bitmap, UINT firstLine, UINT lineCount, const void *bits,
                             const BITMAPINFO *info, UINT usage)
{
    if (info == nullptr || bits == nullptr || usage != DIB_RGB_COLORS ||
        info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    DibSourceFormat format = SourceFormatOf(info->bmiHeader);
    // The bits hold the lines asked for, from the first one.
    uint64_t sourceBytes = DibSourceBytes(format);
    uint64_t rows = format.height < 0 ? -int64_t(format.height) : format.height;
    if (format.compression != BI_RLE8 && format.compression != BI_RLE4 && lineCount < rows)
        sourceBytes = DibStride(format.width, format.bitCount) * lineCount;
    if (!IsConvertibleDib(format) || sourceBytes > SIZE_MAX)
        return 0;
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    auto *surface = static_cast<DibSection *>(PortableFindGdiObject(bitmap, PortableGdiKind::Bitmap));
    if (surface == nullptr || surface->stock)
        return 0;
    // Colour entries follow the header; bit-field masks always sit at offset 40.
    const uint8_t *header = reinterpret_cast<const uint8_t *>(info);
    size_t tableOffset = format.compression == BI_BITFIELDS ? sizeof(BITMAPINFOHEADER) : info->bmiHeader.biSize;
    Bgr24Surface target{surface->bits, surface->width, surface->height};
    return ConvertDibToBgr24(format, header + tableOffset, DibColourTableBytes(format),
                             static_cast<const uint8_t *>(bits), size_t(sourceBytes), firstLine, lineCount, target);
}

// Drawing here is synchronous: the surface is complete when SetDIBits returns.
BOOL WINAPI PortableGdiFlush(void) { return TRUE; }

} // namespace

void PortableFillDibSections(PlatformTable *t)
{
    t->CreateCompatibleDC = PortableCreateCompatibleDC;
    t->DeleteDC = PortableDeleteDC;
    t->CreateDIBSection = PortableCreateDIBSection;
    t->SetDIBits = PortableSetDIBits;
    t->GdiFlush = PortableGdiFlush;
}
