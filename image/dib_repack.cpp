#include "dib_repack.h"

#include <string.h>

namespace {

inline void PutRgb(const unsigned char *bgr, unsigned char *rgb)
{
    rgb[0] = bgr[2];
    rgb[1] = bgr[1];
    rgb[2] = bgr[0];
}

RepackFunction ChooseRepack()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? RepackRowsSsse3 : RepackRowsPortable;
}

} // namespace

// Each pixel moves as one 4-byte word whose spare byte the next pixel
// overwrites; only the very last pixel, with nothing after it, goes bytewise.
void RepackRowsPortable(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows)
{
    size_t padding = size_t(width) % 4;
    for (int32_t y = 0; y < rows; ++y) {
        int32_t wordPixels = y + 1 < rows ? width : width - 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        for (int32_t x = 0; x < wordPixels; ++x, surface += 3, out += 3) {
            uint32_t word;
            memcpy(&word, surface, 4);
            word = __builtin_bswap32(word) >> 8;
            memcpy(out, &word, 4);
        }
#else
        for (int32_t x = 0; x < wordPixels; ++x, surface += 3, out += 3)
            PutRgb(surface, out);
#endif
        if (wordPixels < width) {
            PutRgb(surface, out);
            surface += 3, out += 3;
        }
        surface += padding;
    }
}

void RepackRows(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows)
{
    static const RepackFunction repack = ChooseRepack();
    repack(surface, out, width, rows);
}
