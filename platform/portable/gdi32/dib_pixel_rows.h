// One row of source pixels written as 24-bit surface pixels: palettes,
// bit-field layouts and the per-byte tables that make a row one load a
// byte. Every writer stores 4 bytes for each pixel but the last, whose spare
// byte the next pixel overwrites, and 3 for the last.
#ifndef PLATFORM_PORTABLE_GDI32_DIB_PIXEL_ROWS_H
#define PLATFORM_PORTABLE_GDI32_DIB_PIXEL_ROWS_H

#include <stdint.h>
#include <string.h>

namespace dib {

// Blue, green, red and a spare byte per index; indices past the table are black.
struct Palette {
    uint8_t entries[256][4];
};

// One colour channel of a bit-field pixel: its first run of mask bits, of
// which the top 8 are used.
struct Channel {
    int shift;
    int length;
};

// The channel of a mask: its first run of bits.
Channel ChannelOf(uint32_t mask);

struct FieldLayout {
    Channel red, green, blue;
};

// Writes count palette colours; every pixel but the last stores 4 bytes, the
// spare one overwritten by the next pixel.
inline void PutIndexedPixels(uint8_t *out, const uint8_t *indices, int64_t count, const Palette &palette)
{
    if (count <= 0)
        return;
    for (int64_t x = 0; x + 1 < count; ++x, out += 3)
        memcpy(out, palette.entries[indices[x]], 4);
    memcpy(out, palette.entries[indices[count - 1]], 3);
}

// The colours of every byte of packed indices, built once per conversion: a
// 4-bit byte's two pixels in 8 bytes (6 used), a 1-bit byte's eight in 24.
struct PackedIndexTables {
    uint8_t pairs[256][8];
    uint8_t octets[256][24];
};

void BuildPackedIndexTables(const Palette &palette, uint32_t bitCount, PackedIndexTables &tables);

// Whole bytes from their table entries, while a 4-bit entry's 8 bytes stay
// inside the row; the pixels left over one by one.
inline void PutPackedIndexedPixels(uint8_t *out, const uint8_t *row, int64_t width, uint32_t bitCount,
                                   const PackedIndexTables &tables, const Palette &palette)
{
    const int64_t perByte = 8 / bitCount;
    int64_t x = 0;
    if (bitCount == 4) {
        for (; x + 2 < width; x += 2, out += 6)
            memcpy(out, tables.pairs[row[x >> 1]], 8);
    } else {
        for (; x + 8 <= width; x += 8, out += 24)
            memcpy(out, tables.octets[row[x >> 3]], 24);
    }
    uint8_t rest[8];
    for (int64_t i = 0; x + i < width; ++i) {
        const int64_t at = x + i;
        const int shift = int(8 - bitCount - (at % perByte) * bitCount);
        rest[i] = uint8_t((row[at / perByte] >> shift) & ((1u << bitCount) - 1));
    }
    PutIndexedPixels(out, rest, width - x, palette);
}

// A bit-field pixel's colour is the OR of the colours of its bytes taken
// alone: every step of FieldValue (shifts, a mask, the top bits folded down)
// distributes over OR. So one table of 256 colours per byte, built once per
// conversion, gives any pixel with a load for each of its bytes.
struct FieldTables {
    uint8_t colours[4][256][4]; // blue, green, red, 0
};

void BuildFieldTables(const FieldLayout &layout, int pixelBytes, FieldTables &tables);

template <int pixelBytes> inline uint32_t FieldColour(const uint8_t *pixel, const FieldTables &tables)
{
    uint32_t colour = 0;
    for (int byte = 0; byte < pixelBytes; ++byte) {
        uint32_t part;
        memcpy(&part, tables.colours[byte][pixel[byte]], 4);
        colour |= part;
    }
    return colour;
}

// As PutIndexedPixels: 4 bytes a pixel, 3 for the last.
template <int pixelBytes>
void PutFieldPixels(uint8_t *out, const uint8_t *row, int64_t width, const FieldTables &tables)
{
    for (int64_t x = 0; x + 1 < width; ++x, out += 3) {
        const uint32_t colour = FieldColour<pixelBytes>(row + pixelBytes * x, tables);
        memcpy(out, &colour, 4);
    }
    const uint32_t last = FieldColour<pixelBytes>(row + pixelBytes * (width - 1), tables);
    memcpy(out, &last, 3);
}

// Blue, green and red as the first three bytes of each 4: copied as they are.
bool IsByteLayout(const FieldLayout &layout);
inline void PutBytePixels32(uint8_t *out, const uint8_t *row, int64_t width)
{
    for (int64_t x = 0; x + 1 < width; ++x, out += 3)
        memcpy(out, row + 4 * x, 4);
    memcpy(out, row + 4 * (width - 1), 3);
}

} // namespace dib

#endif
