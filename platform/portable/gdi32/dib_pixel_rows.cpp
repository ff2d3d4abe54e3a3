#include "gdi32/dib_pixel_rows.h"

namespace dib {

namespace {

inline uint8_t FieldValue(uint32_t pixel, Channel channel)
{
    static const uint8_t kTopBits[9] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};
    int length = channel.length > 8 ? 8 : channel.length;
    int shift = channel.shift + channel.length - 8;
    uint32_t value = shift < 0 ? pixel << -shift : pixel >> shift;
    value &= kTopBits[length];
    value |= value >> length;
    return uint8_t(value);
}

} // namespace

Channel ChannelOf(uint32_t mask)
{
    Channel channel{0, 0};
    if (mask == 0)
        return channel;
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++channel.length;
    }
    return channel;
}

void BuildPackedIndexTables(const Palette &palette, uint32_t bitCount, PackedIndexTables &tables)
{
    memset(tables.pairs, 0, sizeof tables.pairs);
    for (int byte = 0; byte < 256; ++byte) {
        if (bitCount == 4) {
            memcpy(tables.pairs[byte], palette.entries[byte >> 4], 3);
            memcpy(tables.pairs[byte] + 3, palette.entries[byte & 0x0F], 3);
        } else {
            for (int bit = 0; bit < 8; ++bit)
                memcpy(tables.octets[byte] + 3 * bit, palette.entries[(byte >> (7 - bit)) & 1], 3);
        }
    }
}


void BuildFieldTables(const FieldLayout &layout, int pixelBytes, FieldTables &tables)
{
    for (int byte = 0; byte < pixelBytes; ++byte)
        for (uint32_t value = 0; value < 256; ++value) {
            const uint32_t pixel = value << (8 * byte);
            uint8_t *colour = tables.colours[byte][value];
            colour[0] = FieldValue(pixel, layout.blue);
            colour[1] = FieldValue(pixel, layout.green);
            colour[2] = FieldValue(pixel, layout.red);
            colour[3] = 0;
        }
}

bool IsByteLayout(const FieldLayout &layout)
{
    return layout.blue.shift == 0 && layout.green.shift == 8 && layout.red.shift == 16 && layout.blue.length == 8 &&
           layout.green.length == 8 && layout.red.length == 8;
}



} // namespace dib
