// Built with SSSE3: nothing here may run before the processor is known to
// have it, and nothing shared with other translation units is defined here.
#include "rgb_interleave.h"

#include <stdint.h>
#include <tmmintrin.h>

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

template <bool stream> inline void Store(unsigned char *out, const __m128i samples[3])
{
    for (int block = 0; block < 3; ++block) {
        __m128i *to = reinterpret_cast<__m128i *>(out) + block;
        if (stream)
            _mm_stream_si128(to, Place(samples, block));
        else
            _mm_storeu_si128(to, Place(samples, block));
    }
}

template <bool stream>
void Interleave(const unsigned char *red, const unsigned char *green, const unsigned char *blue, unsigned char *out,
                size_t width)
{
    size_t x = 0;
    if (stream) { // up to the first pixel that starts on 16 bytes: 3 x = -out mod 16, and 3 x 11 = 1 mod 16
        x = (16 - reinterpret_cast<uintptr_t>(out) % 16) * 11 % 16;
        x = x < width ? x : width;
        InterleaveRgbPortable(red, green, blue, out, x, false);
        out += 3 * x;
    }
    for (; x + 16 <= width; x += 16, out += 48) {
        const __m128i samples[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i *>(red + x)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(green + x)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(blue + x))};
        Store<stream>(out, samples);
    }
    InterleaveRgbPortable(red + x, green + x, blue + x, out, width - x, false);
    if (stream)
        _mm_sfence(); // the streamed stores ordered before whatever follows
}

} // namespace

// Sixteen pixels at a time: three loads, nine shuffles, three stores; the
// pixels before the first aligned block of a streamed row and the last few
// of any row go bytewise.
void InterleaveRgbSsse3(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                        unsigned char *out, size_t width, bool stream)
{
    if (stream)
        Interleave<true>(red, green, blue, out, width);
    else
        Interleave<false>(red, green, blue, out, width);
}
