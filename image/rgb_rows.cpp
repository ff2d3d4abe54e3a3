// SGI rgb rows: verbatim and run-length rows of one channel, and the pixels.
#include "rgb_rows.h"

#include <stdlib.h>
#include <string.h>

#include "image_report.h"
#include "pixel_array.h"
#include "platform/platform.h"
#include "rgb_interleave.h"

namespace {

// Pictures this large would only push everything else out of the caches.
constexpr uint64_t kStreamedFrom = uint64_t(16) << 20;

// The high byte of the 16-bit sample at bytes.
unsigned char HighByte(const unsigned char *bytes, bool bigEndian) { return bigEndian ? bytes[0] : bytes[1]; }

// Run-length packets of one channel, in units of one byte or, in two-byte
// files, of one 16-bit word: the control is a word's low byte and only the
// high byte of each sample is kept.
template <size_t unit>
size_t DecodePackets(const unsigned char *packed, size_t packedLength, bool bigEndian, unsigned char *out, size_t width)
{
    const size_t units = packedLength / unit;
    const size_t controlByte = unit == 2 && bigEndian ? 1 : 0;
    const size_t sampleByte = unit == 2 && !bigEndian ? 1 : 0;
    size_t in = 0;
    size_t x = 0;
    while (in < units && x < width) {
        if constexpr (unit == 1) {
            // A packet of at most 32 samples, with 32 bytes to spare after it
            // in both rows, moves as 32 bytes whichever its kind, as most
            // packets of a photograph can; the next packet overwrites the rest.
            const size_t count = packed[in] & 0x7F;
            if (count - 1 < 32 && in + 33 <= units && x + 32 <= width) {
                // All ones for a literal packet: chosen by mask, not by a
                // branch the kinds' mixture would keep mispredicting.
                const uint64_t literal = 0 - uint64_t(packed[in] >> 7);
                const uint64_t run = packed[in + 1] * uint64_t(0x0101010101010101);
                uint64_t samples[4];
                memcpy(samples, packed + in + 1, 32);
                for (uint64_t &word : samples)
                    word = (word & literal) | (run & ~literal);
                memcpy(out + x, samples, 32);
                in += 2 + ((count - 1) & literal);
                x += count;
                continue;
            }
        }
        unsigned char control = packed[in++ * unit + controlByte];
        size_t count = control & 0x7F;
        if (count == 0)
            break;
        if (count > width - x)
            count = width - x;
        if (control & 0x80) {
            if (count > units - in)
                count = units - in;
            if constexpr (unit == 1) {
                memcpy(out + x, packed + in, count);
            } else {
                for (size_t i = 0; i < count; ++i)
                    out[x + i] = packed[(in + i) * unit + sampleByte];
            }
            in += count;
        } else {
            if (in == units)
                break;
            memset(out + x, packed[in++ * unit + sampleByte], count);
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
        return DecodePackets<2>(packed, packedLength, bigEndian, out, width);
    return DecodePackets<1>(packed, packedLength, bigEndian, out, width);
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

bool ReadRgbPixels(RgbFileReader *reader, PixelImage *image)
{
    image->pixels = AllocatePixelArray(rgbAllocate, uint64_t(reader->xsize) * reader->ysize * 3);
    if (!image->pixels)
        return false;
    size_t width = reader->xsize;
    bool stream = uint64_t(width) * reader->ysize * 3 >= kStreamedFrom;
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
        InterleaveRgb(reader->redRow, green, blue, out, width, stream);
        out += width * 3;
    }
    return true;
}
