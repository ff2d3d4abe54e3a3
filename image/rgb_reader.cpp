// SGI rgb files: opening, header and row tables, and the public entry points.
// Everything taken from the file is checked against the file's size before it
// is used, so a damaged file is refused rather than read outside its bounds.
#include "rgb_reader.h"

#include <stdlib.h>
#include <string.h>

#include "image_file.h"
#include "image_report.h"
#include "platform/platform.h"
#include "rgb_rows.h"

namespace {

uint16_t Word(const unsigned char *bytes, bool bigEndian)
{
    return bigEndian ? uint16_t(bytes[0] << 8 | bytes[1]) : uint16_t(bytes[1] << 8 | bytes[0]);
}

uint32_t Long(const unsigned char *bytes, bool bigEndian)
{
    if (bigEndian)
        return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    return uint32_t(bytes[3]) << 24 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[1]) << 8 | bytes[0];
}

bool IsRunLength(const RgbFileReader *reader) { return (reader->storageAndBpc >> 8) == 1; }

void *AllocateBytes(uint64_t size)
{
    if (size > SIZE_MAX)
        return nullptr;
    return rgbAllocate(size > 0 ? size_t(size) : 1);
}

bool MeasureFile(HANDLE file, uint64_t *size)
{
    LONG high = 0;
    DWORD low = platform.SetFilePointer(file, 0, &high, FILE_END);
    if (low == INVALID_SET_FILE_POINTER)
        return false;
    *size = uint64_t(uint32_t(high)) << 32 | low;
    return true;
}

// Both parts of the header must be in the file: the 12 bytes the reader uses
// and the rest of the 512 before the data.
bool ReadHeader(RgbFileReader *reader)
{
    unsigned char header[12];
    if (reader->fileSize < kRgbHeaderSize || !RgbSeek(reader->fileHandle, 0) ||
        RgbRead(reader->fileHandle, header, sizeof header) != sizeof header)
        return false;
    memcpy(&reader->magic, header, 2);
    bool bigEndian;
    if (header[0] == 0x01 && header[1] == 0xDA)
        bigEndian = true;
    else if (header[0] == 0xDA && header[1] == 0x01)
        bigEndian = false;
    else
        return false;
    reader->storageAndBpc = Word(header + 2, bigEndian);
    reader->dimension = Word(header + 4, bigEndian);
    reader->xsize = Word(header + 6, bigEndian);
    reader->ysize = Word(header + 8, bigEndian);
    reader->zsize = Word(header + 10, bigEndian);
    reader->bytesPerSample = (reader->storageAndBpc & 0xFF) == 2 ? 2 : 1;
    reader->channelsRead = reader->zsize >= 3 ? 3 : 1;
    return reader->zsize > 0;
}

bool VerbatimDataFits(const RgbFileReader *reader)
{
    uint64_t channelBytes = uint64_t(reader->ysize) * reader->xsize * reader->bytesPerSample;
    return kRgbHeaderSize + channelBytes * reader->channelsRead <= reader->fileSize;
}

bool ObtainRowBuffers(RgbFileReader *reader)
{
    uint64_t width = reader->xsize;
    reader->packedRow = static_cast<unsigned char *>(AllocateBytes(kPackedRowFactor * width));
    reader->redRow = static_cast<unsigned char *>(AllocateBytes(width));
    reader->greenRow = static_cast<unsigned char *>(AllocateBytes(width));
    reader->blueRow = static_cast<unsigned char *>(AllocateBytes(width));
    return reader->packedRow && reader->redRow && reader->greenRow && reader->blueRow;
}

bool ReadTable(RgbFileReader *reader, uint32_t *table, uint64_t entries)
{
    unsigned char *bytes = reinterpret_cast<unsigned char *>(table);
    uint64_t size = entries * 4;
    if (RgbRead(reader->fileHandle, bytes, size) != size)
        return false;
    bool bigEndian = RgbIsBigEndian(reader);
    for (uint64_t i = 0; i < entries; ++i)
        table[i] = Long(bytes + i * 4, bigEndian);
    return true;
}

// Every row that will be decoded must lie inside the file and fit packedRow.
bool RowTablesAreSound(const RgbFileReader *reader)
{
    uint64_t rows = uint64_t(reader->ysize) * reader->channelsRead;
    uint64_t capacity = uint64_t(kPackedRowFactor) * reader->xsize;
    for (uint64_t i = 0; i < rows; ++i) {
        uint64_t length = reader->rowLengths[i];
        if (length > capacity || reader->rowOffsets[i] + length > reader->fileSize)
            return false;
    }
    return true;
}

// Returns the failure message, or null when the tables are in place.
const char *ObtainRowTables(RgbFileReader *reader)
{
    uint64_t entries = uint64_t(reader->ysize) * reader->zsize;
    if (kRgbHeaderSize + entries * 8 > reader->fileSize)
        return kRgbInvalidFile;
    reader->rowOffsets = static_cast<uint32_t *>(AllocateBytes(entries * 4));
    reader->rowLengths = static_cast<uint32_t *>(AllocateBytes(entries * 4));
    if (!reader->rowOffsets || !reader->rowLengths)
        return kImageOutOfMemory;
    if (!RgbSeek(reader->fileHandle, kRgbHeaderSize) || !ReadTable(reader, reader->rowOffsets, entries) ||
        !ReadTable(reader, reader->rowLengths, entries) || !RowTablesAreSound(reader))
        return kRgbInvalidFile;
    return nullptr;
}

// Reports and releases; the one way out of OpenRgbReader after the file opened.
RgbFileReader *RefuseReader(RgbFileReader *reader, const char *message, const void *name, bool wide)
{
    ReportImageFailure(message, name, wide);
    CloseRgbReader(reader);
    return nullptr;
}

} // namespace

RgbFileReader *OpenRgbReader(const void *name, bool wide)
{
    RgbFileReader *reader = static_cast<RgbFileReader *>(rgbAllocate(sizeof(RgbFileReader)));
    if (!reader) {
        ReportImageFailure(kImageOutOfMemory, name, wide);
        return nullptr;
    }
    memset(reader, 0, sizeof *reader);
    reader->fileHandle = OpenImageFile(name, wide);
    if (reader->fileHandle == INVALID_HANDLE_VALUE) {
        ReportImageOpenFailure(kRgbOpenFailed, kRgbOpenFailedWide, name, wide);
        free(reader);
        return nullptr;
    }
    if (!MeasureFile(reader->fileHandle, &reader->fileSize) || !ReadHeader(reader) ||
        (!IsRunLength(reader) && !VerbatimDataFits(reader)))
        return RefuseReader(reader, kRgbInvalidFile, name, wide);
    if (!PixelCountAllowed(reader->xsize, reader->ysize))
        return RefuseReader(reader, kImagePixelLimit, name, wide);
    if (!ObtainRowBuffers(reader))
        return RefuseReader(reader, kImageOutOfMemory, name, wide);
    if (IsRunLength(reader)) {
        if (const char *failure = ObtainRowTables(reader))
            return RefuseReader(reader, failure, name, wide);
    }
    return reader;
}

void CloseRgbReader(RgbFileReader *reader)
{
    if (!reader)
        return;
    if (reader->fileHandle != INVALID_HANDLE_VALUE && reader->fileHandle != nullptr)
        platform.CloseHandle(reader->fileHandle);
    free(reader->packedRow);
    free(reader->redRow);
    free(reader->greenRow);
    free(reader->blueRow);
    free(reader->rowOffsets);
    free(reader->rowLengths);
    free(reader);
}

PixelImage *ReadRgbFile(const void *name, bool wide)
{
    RgbFileReader *reader = OpenRgbReader(name, wide);
    if (!reader)
        return nullptr;
    PixelImage *image = static_cast<PixelImage *>(rgbAllocate(sizeof(PixelImage)));
    if (!image) {
        ReportImageFailure(kImageOutOfMemory, name, wide);
        CloseRgbReader(reader);
        return nullptr;
    }
    image->width = reader->xsize;
    image->height = reader->ysize;
    image->pixels = nullptr;
    if (!ReadRgbPixels(reader, image))
        ReportImageFailure(kImageOutOfMemory, name, wide);
    CloseRgbReader(reader);
    return image;
}

extern "C" {

PixelImage *LoadRgbImage(const char *name) { return ReadRgbFile(name, false); }
PixelImage *LoadRgbImageA(const char *name) { return ReadRgbFile(name, false); }
PixelImage *LoadRgbImageW(const ImageWideChar *name) { return ReadRgbFile(name, true); }

} // extern "C"
