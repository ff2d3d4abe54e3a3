// Converting device-independent bitmap pixel data into a 24-bit surface with
// the results GDI's SetDIBits gives. Pure functions over byte ranges: every
// read of the source and of its colour table is checked against its length.
#ifndef PLATFORM_PORTABLE_DIB_CONVERSION_H
#define PLATFORM_PORTABLE_DIB_CONVERSION_H

#include <stddef.h>
#include <stdint.h>

// The source's info-header fields that the conversion reads.
struct DibSourceFormat {
    int32_t width;
    int32_t height; // negative: rows stored top row first
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;   // length of run-length data
    uint32_t colourCount; // biClrUsed
};

// A 24-bit BI_RGB surface: rows of blue, green, red padded to 4 bytes.
struct Bgr24Surface {
    uint8_t *bits;
    int32_t width;
    int32_t height; // negative: top row first in memory
};

// Bytes in one padded row of width pixels of bitCount bits.
uint64_t DibStride(int64_t width, uint32_t bitCount);

// The formats SetDIBits accepts; anything else converts no line.
bool IsConvertibleDib(const DibSourceFormat &format);

// How many bytes of pixel data, and of colour table (or the three bit-field
// masks) after the 40-byte header, the conversion of this format reads.
uint64_t DibSourceBytes(const DibSourceFormat &format);
size_t DibColourTableBytes(const DibSourceFormat &format);

// Converts lineCount scan lines from firstLine (counted from the bottom of a
// bottom-up source) into target. Returns the number of lines converted, 0 for
// a format GDI refuses or a range too short for what the format needs.
// Run-length data always converts all lines, as in GDI.
int ConvertDibToBgr24(const DibSourceFormat &format, const uint8_t *colourTable, size_t colourTableBytes,
                      const uint8_t *bits, size_t bitsBytes, uint32_t firstLine, uint32_t lineCount,
                      const Bgr24Surface &target);

#endif
