// Memory device contexts and 24-bit DIB sections in software, enough for
// converting bitmaps as GDI does. Handles are checked against the live
// objects, so a stale or foreign handle fails instead of being followed.
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include <mutex>
#include <new>
#include <set>

#include "dib_conversion.h"
#include "portable.h"

namespace {

struct DibSection {
    uint8_t *bits;
    size_t size;
    int32_t width;
    int32_t height;
    HDC selectedInto;
};

struct MemoryContext {
    DibSection *selected;
};

// What a new memory context holds before anything is selected into it, as
// the 1 x 1 stock bitmap of Windows.
int stockBitmapTag;
HGDIOBJ const kStockBitmap = &stockBitmapTag;

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

std::mutex objectLock;
std::set<MemoryContext *> liveContexts;
std::set<DibSection *> liveSections;

MemoryContext *FindContext(HDC handle)
{
    auto found = liveContexts.find(reinterpret_cast<MemoryContext *>(handle));
    return found == liveContexts.end() ? nullptr : *found;
}

DibSection *FindSection(HGDIOBJ handle)
{
    auto found = liveSections.find(static_cast<DibSection *>(handle));
    return found == liveSections.end() ? nullptr : *found;
}

DibSourceFormat SourceFormatOf(const BITMAPINFOHEADER &header)
{
    return DibSourceFormat{header.biWidth, header.biHeight, header.biPlanes, header.biBitCount,
                           header.biCompression, header.biSizeImage, header.biClrUsed};
}

HDC WINAPI PortableCreateCompatibleDC(HDC)
{
    MemoryContext *context = new (std::nothrow) MemoryContext{nullptr};
    if (context == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> guard(objectLock);
    liveContexts.insert(context);
    return reinterpret_cast<HDC>(context);
}

BOOL WINAPI PortableDeleteDC(HDC handle)
{
    std::lock_guard<std::mutex> guard(objectLock);
    MemoryContext *context = FindContext(handle);
    if (context == nullptr)
        return FALSE;
    if (context->selected != nullptr)
        context->selected->selectedInto = nullptr;
    liveContexts.erase(context);
    delete context;
    return TRUE;
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
    DibSection *surface = new (std::nothrow) DibSection{nullptr, size_t(size), header.biWidth, header.biHeight, nullptr};
    if (surface == nullptr)
        return nullptr;
    surface->bits = AllocateSectionMemory(size_t(size));
    if (surface->bits == nullptr) {
        delete surface;
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> guard(objectLock);
        liveSections.insert(surface);
    }
    if (bits != nullptr)
        *bits = surface->bits;
    return reinterpret_cast<HBITMAP>(surface);
}

// Only bitmaps are selectable here; a bitmap lives in one context at a time.
HGDIOBJ WINAPI PortableSelectObject(HDC handle, HGDIOBJ object)
{
    std::lock_guard<std::mutex> guard(objectLock);
    MemoryContext *context = FindContext(handle);
    if (context == nullptr)
        return nullptr;
    DibSection *surface = FindSection(object);
    if (surface == nullptr && object != kStockBitmap)
        return nullptr;
    if (surface != nullptr && surface->selectedInto != nullptr && surface->selectedInto != handle)
        return nullptr;
    HGDIOBJ previous = context->selected != nullptr ? HGDIOBJ(context->selected) : kStockBitmap;
    if (context->selected != nullptr)
        context->selected->selectedInto = nullptr;
    context->selected = surface;
    if (surface != nullptr)
        surface->selectedInto = handle;
    return previous;
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
    std::lock_guard<std::mutex> guard(objectLock);
    DibSection *surface = FindSection(bitmap);
    if (surface == nullptr)
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

// A bitmap still selected into a context is not deleted, as with GDI.
BOOL WINAPI PortableDeleteObject(HGDIOBJ object)
{
    std::lock_guard<std::mutex> guard(objectLock);
    DibSection *surface = FindSection(object);
    if (surface == nullptr || surface->selectedInto != nullptr)
        return FALSE;
    liveSections.erase(surface);
    FreeSectionMemory(surface->bits, surface->size);
    delete surface;
    return TRUE;
}

} // namespace

void PortableFillDibSections(PlatformTable *t)
{
    t->CreateCompatibleDC = PortableCreateCompatibleDC;
    t->DeleteDC = PortableDeleteDC;
    t->CreateDIBSection = PortableCreateDIBSection;
    t->SelectObject = PortableSelectObject;
    t->SetDIBits = PortableSetDIBits;
    t->GdiFlush = PortableGdiFlush;
    t->DeleteObject = PortableDeleteObject;
}
