// Built with SSSE3: nothing here may run before the processor is known to
// have it, and nothing shared with other translation units is defined here.
#include <tmmintrin.h>

#include "image/rgb_interleave.h"

namespace {

// For output block b (16 bytes) and channel c: the sample of each byte that
// belongs to the channel, -128 (a cleared byte) for the others.
struct Placement {
    alignas(16) signed char bytes[3][3][16];
};

constexpr Placement MakePlacement()
{
    Placement placement{};
    for (int block = 0; block < 3; ++block)
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 16; ++i) {
                const int at = 16 * block + i;
                placement.bytes[block][channel][i] = static_cast<signed char>(at % 3 == channel ? at / 3 : -128);
            }
    return placement;
}

constexpr Placement kPlacement = MakePlacement();

inline __m128i Place(const __m128i samples[3], int block)
{
    __m128i out = _mm_setzero_si128();
    for (int channel = 0; channel < 3; ++channel) {
        const __m128i mask = _mm_load_si128(reinterpret_cast<const __m128i *>(kPlacement.bytes[block][channel]));
        out = _mm_or_si128(out, _mm_shuffle_epi8(samples[channel], mask));
    }
    return out;
}

} // namespace

// Sixteen pixels at a time: three loads, nine shuffles, three stores; the
// last few pixels of the row go bytewise.
void InterleaveRgbSsse3(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                        unsigned char *out, size_t width)
{
    size_t x = 0;
    for (; x + 16 <= width; x += 16, out += 48) {
        const __m128i samples[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i *>(red + x)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(green + x)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(blue + x))};
        for (int block = 0; block < 3; ++block)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out) + block, Place(samples, block));
    }
    InterleaveRgbPortable(red + x, green + x, blue + x, out, width - x);
}
