// The bitmap reader's header work: locating the headers and pixel data in the
// mapped file and building the working header that describes the source to
// SetDIBits. Every field is read inside the file, sizes are worked out in 64
// bits, and the colour entries the conversion will use must be in the file.
#include "dib_header.h"

#include <string.h>

#include "image_file.h"
#include "image_report.h"
#include "platform/platform.h"

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint64_t kMaskBytes = 12;

bool IsLongHeader(uint32_t size) { return size == kV4HeaderSize || size == kV5HeaderSize; }

uint16_t Le16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

uint32_t Le32(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsRunLength(uint32_t compression) { return compression == BI_RLE8 || compression == BI_RLE4; }

uint64_t Stride(uint64_t width, uint64_t bitCount) { return ((width * bitCount + 31) >> 5) << 2; }

// The colour entries SetDIBits reads after an info header: the three masks of
// a bit-field bitmap, or up to one per index of 1, 4 and 8 bits.
uint32_t EntriesConverted(uint16_t bitCount, uint32_t compression, uint32_t coloursUsed)
{
    if (compression == BI_BITFIELDS)
        return 3;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        return 0;
    uint32_t most = 1u << bitCount;
    return coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
}

// The working header's table is longer than BITMAPINFO declares it.
unsigned char *ColourEntries(BITMAPINFO *working)
{
    return reinterpret_cast<unsigned char *>(working) + sizeof(BITMAPINFOHEADER);
}

struct HeaderPlace {
    const unsigned char *header;
    uint64_t offset;      // of the bitmap header in the file
    uint64_t pixelOffset; // from the file header; settled later without one
    bool fileHeader;
};

// Copies the core header's fields and widens its 3-byte colour entries.
const char *FillFromCoreHeader(const HeaderPlace &place, uint64_t fileSize, WORD count, BITMAPINFO *working,
                               uint64_t *pixelOffset)
{
    const unsigned char *core = place.header;
    BITMAPINFOHEADER &info = working->bmiHeader;
    info.biWidth = Le16(core + 4);
    info.biHeight = Le16(core + 6);
    info.biPlanes = Le16(core + 8);
    info.biBitCount = Le16(core + 10);
    info.biClrUsed = info.biClrImportant = count;
    uint64_t tableOffset = place.offset + kCoreHeaderSize;
    if (uint64_t(count) * 3 > fileSize - tableOffset)
        return kDibConversionError;
    unsigned char *entries = ColourEntries(working);
    for (WORD i = 0; i < count; ++i)
        memcpy(entries + 4 * i, core + kCoreHeaderSize + 3 * i, 3); // the reserved byte stays 0
    *pixelOffset = place.fileHeader ? place.pixelOffset : tableOffset + 3 * uint64_t(count);
    return nullptr;
}

// Copies the info header's fields and as many of its colour entries (or bit
// masks) as the working header has room for and the file holds. The longer
// forms hold their masks inside the header and are handed on as an info
// header with the masks where its own would stand; their colour-space fields
// are dropped, as GDI ignores them when it converts.
const char *FillFromInfoHeader(const HeaderPlace &place, uint32_t headerSize, uint64_t fileSize, WORD count,
                               uint32_t slots, BITMAPINFO *working, uint64_t *pixelOffset)
{
    BITMAPINFOHEADER &info = working->bmiHeader;
    memcpy(reinterpret_cast<unsigned char *>(&info) + 4, place.header + 4, kInfoHeaderSize - 4);
    const bool bitFields = info.biCompression == BI_BITFIELDS;
    const bool masksInHeader = bitFields && headerSize != kInfoHeaderSize;
    uint64_t tableOffset = place.offset + headerSize;
    uint64_t entriesInFile = (fileSize - tableOffset) / 4;
    uint32_t needed = masksInHeader ? 0 : EntriesConverted(info.biBitCount, info.biCompression, info.biClrUsed);
    if (needed > entriesInFile)
        return kDibConversionError;
    if (masksInHeader) {
        memcpy(ColourEntries(working), place.header + kInfoHeaderSize, kMaskBytes);
    } else {
        uint64_t copied = slots < entriesInFile ? slots : entriesInFile;
        memcpy(ColourEntries(working), place.header + headerSize, size_t(copied) * 4);
    }
    // A packed bit-field bitmap keeps its masks ahead of any colour table.
    uint64_t masks = bitFields && !masksInHeader ? kMaskBytes : 0;
    *pixelOffset = place.fileHeader ? place.pixelOffset : tableOffset + masks + 4 * uint64_t(count);
    return nullptr;
}

// Width, height and the sizes they lead to, and the pixel data against the
// end of the file.
const char *CheckPixelData(const unsigned char *file, uint64_t fileSize, uint64_t pixelOffset, DibSource *source)
{
    BITMAPINFOHEADER &info = source->working->bmiHeader;
    if (info.biWidth <= 0 || info.biHeight == 0)
        return kDibConversionError;
    uint64_t width = uint64_t(info.biWidth);
    uint64_t rows = info.biHeight < 0 ? uint64_t(-int64_t(info.biHeight)) : uint64_t(info.biHeight);
    if (!PixelCountAllowed(width, rows))
        return kImagePixelLimit;
    source->surfaceBytes = Stride(width, 24) * rows;
    source->outputBytes = width * rows * 3;
    if (source->surfaceBytes > UINT32_MAX || source->surfaceBytes > SIZE_MAX)
        return kImageOutOfMemory;
    if (pixelOffset > fileSize)
        return kDibConversionError;
    uint64_t available = fileSize - pixelOffset;
    if (IsRunLength(info.biCompression)) {
        if (info.biSizeImage > available)
            info.biSizeImage = uint32_t(available); // the runs stop at the end of the file
    } else if (Stride(width, info.biBitCount) * rows > available) {
        return kDibConversionError;
    }
    source->pixels = file + pixelOffset;
    source->width = info.biWidth;
    source->rows = int32_t(rows);
    return nullptr;
}

} // namespace

WORD CountDibColors(const void *header)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(header);
    WORD bitCount;
    if (Le32(bytes) == kCoreHeaderSize) {
        bitCount = Le16(bytes + 10);
    } else {
        uint32_t coloursUsed = Le32(bytes + 32);
        if (coloursUsed != 0)
            return WORD(coloursUsed);
        bitCount = Le16(bytes + 14);
    }
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

const char *PrepareDibSource(const unsigned char *file, uint64_t fileSize, DibSource *source, bool longHeaders)
{
    *source = DibSource{};
    HeaderPlace place{file, 0, 0, false};
    if (fileSize >= 2 && file[0] == 0x42 && file[1] == 0x4D) {
        if (fileSize < kFileHeaderSize)
            return kDibUnknownFormat;
        place = HeaderPlace{file + kFileHeaderSize, kFileHeaderSize, Le32(file + 10), true};
    }
    // The fields that tell the form and count the colours must be in the file,
    // and all of a longer header that will be read.
    uint64_t room = fileSize - place.offset;
    if (room < 4 || room < (Le32(place.header) == kCoreHeaderSize ? kCoreHeaderSize : kInfoHeaderSize))
        return kDibUnknownFormat;
    uint32_t headerSize = Le32(place.header);
    const bool longHeader = longHeaders && IsLongHeader(headerSize);
    if (longHeader && room < headerSize)
        return kDibUnknownFormat;

    WORD count = CountDibColors(place.header);
    uint32_t slots = count;
    if (headerSize != kCoreHeaderSize) {
        uint32_t converted = EntriesConverted(Le16(place.header + 14), Le32(place.header + 16), Le32(place.header + 32));
        slots = converted > slots ? converted : slots;
    }
    // Room for one more entry, as GDI's own headers have; cleared, so that no
    // entry the file does not fill is handed on uninitialised.
    size_t workingBytes = sizeof(BITMAPINFOHEADER) + (size_t(slots) + 1) * sizeof(RGBQUAD);
    source->working = static_cast<BITMAPINFO *>(platform.LocalAlloc(LMEM_FIXED, workingBytes));
    if (source->working == nullptr)
        return kImageOutOfMemory;
    memset(source->working, 0, workingBytes);
    source->working->bmiHeader.biSize = kInfoHeaderSize;

    uint64_t pixelOffset = 0;
    const char *failure;
    if (headerSize == kCoreHeaderSize)
        failure = FillFromCoreHeader(place, fileSize, count, source->working, &pixelOffset);
    else if (headerSize == kInfoHeaderSize || longHeader)
        failure = FillFromInfoHeader(place, headerSize, fileSize, count, slots, source->working, &pixelOffset);
    else
        failure = kDibUnknownFormat;
    if (failure != nullptr)
        return failure;

    BITMAPINFOHEADER &info = source->working->bmiHeader;
    if (info.biSizeImage == 0 && info.biWidth > 0) {
        uint64_t rows = info.biHeight < 0 ? uint64_t(-int64_t(info.biHeight)) : uint64_t(info.biHeight);
        uint64_t size = ((uint64_t(info.biWidth) * info.biBitCount + 7) >> 3) * rows;
        info.biSizeImage = size > UINT32_MAX ? UINT32_MAX : uint32_t(size);
    }
    if (info.biClrUsed == 0)
        info.biClrUsed = count;
    return CheckPixelData(file, fileSize, pixelOffset, source);
}
