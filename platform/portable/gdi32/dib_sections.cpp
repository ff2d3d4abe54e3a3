// Memory device contexts and 24-bit DIB sections in software, enough for
// converting bitmaps as GDI does.
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include <new>

#include "gdi32/dib_conversion.h"
#include "fill_table.h"
#include "gdi32/gdi_objects.h"

namespace {

// Fresh section memory reads as zero, as the pages Windows hands out do. A
// large surface takes its pages all at once, huge where the system allows:
// faulting them in one by one costs more than converting into them. Small
// ones come from the heap, where the sanitizers watch their bounds.
constexpr size_t kMappedSectionSize = size_t(1) << 20;

uint8_t *AllocateSectionMemory(size_t size)
{
#ifdef MAP_POPULATE
    if (size >= kMappedSectionSize) {
        void *memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return nullptr;
#ifdef MADV_HUGEPAGE
        madvise(memory, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
        madvise(memory, size, MADV_POPULATE_WRITE);
#endif
        return static_cast<uint8_t *>(memory);
    }
#endif
    return static_cast<uint8_t *>(calloc(size, 1));
}

void FreeSectionMemory(uint8_t *bits, size_t size)
{
#ifdef MAP_POPULATE
    if (size >= kMappedSectionSize) {
        munmap(bits, size);
        return;
    }
#endif
    free(bits);
}

struct DibSection final : PortableGdiObject {
    DibSection(uint8_t *memory, size_t bytes, int32_t w, int32_t h)
        : PortableGdiObject(PortableGdiKind::Bitmap, false), bits(memory), size(bytes), width(w), height(h)
    {
    }
    ~DibSection() override { FreeSectionMemory(bits, size); }
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
    uint8_t *memory = AllocateSectionMemory(size_t(size));
    if (memory == nullptr)
        return nullptr;
    std::unique_ptr<DibSection> surface(new (std::nothrow) DibSection(memory, size_t(size), header.biWidth,
                                                                      header.biHeight));
    if (surface == nullptr) {
        FreeSectionMemory(memory, size_t(size));
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
