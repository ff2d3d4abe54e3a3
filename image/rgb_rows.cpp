// SGI rgb rows: verbatim and run-length rows of one channel, and the pixels.
#include <stdlib.h>
#include <string.h>

#include "image/image_report.h"
#include "image/rgb_reader.h"
#include "platform/platform.h"

namespace {

// The high byte of the 16-bit sample at bytes.
unsigned char HighByte(const unsigned char *bytes, bool bigEndian) { return bigEndian ? bytes[0] : bytes[1]; }

size_t DecodeBytes(const unsigned char *packed, size_t packedLength, unsigned char *out, size_t width)
{
    size_t in = 0;
    size_t x = 0;
    while (in < packedLength && x < width) {
        unsigned char control = packed[in++];
        size_t count = control & 0x7F;
        if (count == 0)
            break;
        if (count > width - x)
            count = width - x;
        if (control & 0x80) {
            if (count > packedLength - in)
                count = packedLength - in;
            memcpy(out + x, packed + in, count);
            in += count;
        } else {
            if (in == packedLength)
                break;
            memset(out + x, packed[in++], count);
        }
        x += count;
    }
    return x;
}

// Two-byte files pack 16-bit words: a control word, then one word to repeat
// or the words to copy. Only the high byte of each sample is kept.
size_t DecodeWords(const unsigned char *packed, size_t packedLength, bool bigEndian, unsigned char *out,
                   size_t width)
{
    size_t words = packedLength / 2;
    size_t in = 0;
    size_t x = 0;
    while (in < words && x < width) {
        const unsigned char *word = packed + in++ * 2;
        unsigned control = bigEndian ? word[1] : word[0];
        size_t count = control & 0x7F;
        if (count == 0)
            break;
        if (count > width - x)
            count = width - x;
        if (control & 0x80) {
            if (count > words - in)
                count = words - in;
            for (size_t i = 0; i < count; ++i)
                out[x + i] = HighByte(packed + (in + i) * 2, bigEndian);
            in += count;
        } else {
            if (in == words)
                break;
            memset(out + x, HighByte(packed + in++ * 2, bigEndian), count);
        }
        x += count;
    }
    return x;
}

size_t ReadPackedRow(RgbFileReader *reader, unsigned char *destination, uint32_t y, uint32_t z)
{
    size_t row = size_t(z) * reader->ysize + y;
    size_t length = 0;
    if (RgbSeek(reader->fileHandle, reader->rowOffsets[row]))
        length = size_t(RgbRead(reader->fileHandle, reader->packedRow, reader->rowLengths[row]));
    return DecodeRgbPackedRow(reader->packedRow, length, reader->bytesPerSample, RgbIsBigEndian(reader), destination,
                              reader->xsize);
}

size_t ReadVerbatimRow(RgbFileReader *reader, unsigned char *destination, uint32_t y, uint32_t z)
{
    size_t width = reader->xsize;
    size_t sampleSize = reader->bytesPerSample;
    uint64_t row = uint64_t(z) * reader->ysize + y;
    if (!RgbSeek(reader->fileHandle, kRgbHeaderSize + row * width * sampleSize))
        return 0;
    if (sampleSize == 1)
        return size_t(RgbRead(reader->fileHandle, destination, width));
    size_t samples = size_t(RgbRead(reader->fileHandle, reader->packedRow, width * 2)) / 2;
    bool bigEndian = RgbIsBigEndian(reader);
    for (size_t x = 0; x < samples; ++x)
        destination[x] = HighByte(reader->packedRow + x * 2, bigEndian);
    return samples;
}

} // namespace

size_t DecodeRgbPackedRow(const unsigned char *packed, size_t packedLength, int bytesPerSample, bool bigEndian,
                          unsigned char *out, size_t width)
{
    if (bytesPerSample == 2)
        return DecodeWords(packed, packedLength, bigEndian, out, width);
    return DecodeBytes(packed, packedLength, out, width);
}

void ReadRgbRow(RgbFileReader *reader, unsigned char *destination, uint32_t y, uint32_t z)
{
    size_t filled = 0;
    if (y < reader->ysize && z < reader->zsize) {
        bool runLength = (reader->storageAndBpc >> 8) == 1;
        filled = runLength ? ReadPackedRow(reader, destination, y, z) : ReadVerbatimRow(reader, destination, y, z);
    }
    // A row that ends early is black rather than whatever the buffer held.
    memset(destination + filled, 0, reader->xsize - filled);
}

void ReadRgbPixels(RgbFileReader *reader, PixelImage *image)
{
    uint64_t size = uint64_t(reader->xsize) * reader->ysize * 3;
    image->pixels = size <= SIZE_MAX ? static_cast<unsigned char *>(rgbAllocate(size > 0 ? size_t(size) : 1))
                                     : nullptr;
    if (!image->pixels) {
        ReportImageFailure("Out of memory.");
        return;
    }
    size_t width = reader->xsize;
    bool colour = reader->channelsRead == 3;
    const unsigned char *green = colour ? reader->greenRow : reader->redRow;
    const unsigned char *blue = colour ? reader->blueRow : reader->redRow;
    unsigned char *out = image->pixels;
    for (uint32_t y = 0; y < reader->ysize; ++y) {
        ReadRgbRow(reader, reader->redRow, y, 0);
        if (colour) {
            ReadRgbRow(reader, reader->greenRow, y, 1);
            ReadRgbRow(reader, reader->blueRow, y, 2);
        }
        for (size_t x = 0; x < width; ++x) {
            out[0] = reader->redRow[x];
            out[1] = green[x];
            out[2] = blue[x];
            out += 3;
        }
    }
}
