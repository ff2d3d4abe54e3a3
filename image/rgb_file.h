// An open SGI rgb file: its header, row buffers and row tables, and
// positioned reads of it.
#ifndef IMAGE_RGB_FILE_H
#define IMAGE_RGB_FILE_H

#include <stddef.h>
#include <stdint.h>

#include "platform/win32_types.h"

// Its header, row buffers and (run-length files only) row tables.
struct RgbFileReader {
    WORD magic; // the file's first two bytes as read: they tell the byte order
    WORD storageAndBpc;
    WORD dimension;
    WORD xsize;
    WORD ysize;
    WORD zsize;
    HANDLE fileHandle;
    unsigned char *packedRow; // kPackedRowFactor x XSIZE bytes
    unsigned char *redRow;    // XSIZE bytes each
    unsigned char *greenRow;
    unsigned char *blueRow;
    uint32_t *rowOffsets; // YSIZE x ZSIZE entries each
    uint32_t *rowLengths;
    uint64_t fileSize;
    int bytesPerSample;  // 1, or 2 when only the high byte of each sample is kept
    int channelsRead;    // 3 for colour, 1 for grey files (ZSIZE 1 or 2)
};

constexpr uint32_t kRgbHeaderSize = 512;

// A file that starts 0x01 0xDA holds its words most significant byte first.
inline bool RgbIsBigEndian(const RgbFileReader *reader)
{
    return reinterpret_cast<const unsigned char *>(&reader->magic)[0] == 0x01;
}
constexpr uint32_t kPackedRowFactor = 256;

// Where the reader's memory comes from; malloc unless a test fails it.
extern void *(*rgbAllocate)(size_t size);

// Positions the file; reads as much of count bytes as it delivers.
bool RgbSeek(HANDLE file, uint64_t position);
uint64_t RgbRead(HANDLE file, void *buffer, uint64_t count);

#endif
