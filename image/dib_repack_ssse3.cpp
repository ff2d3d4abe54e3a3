// Built with SSSE3: nothing here may run before the processor is known to
// have it, and nothing shared with other translation units is defined here.
#include "dib_repack.h"

#include <tmmintrin.h>

// Five pixels at a time: one 16-byte load, one shuffle that turns each
// pixel's three bytes round, one store; the sixteenth byte is overwritten by
// the next store. The last few pixels of a row, where 16 bytes would reach
// past it, go bytewise.
void RepackRowsSsse3(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows)
{
    const __m128i turn = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    for (int32_t y = 0; y < rows; ++y, surface += stride, out += size_t(width) * 3) {
        int32_t x = 0;
        for (; x + 6 <= width; x += 5) {
            __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(surface + 3 * x));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 3 * x), _mm_shuffle_epi8(pixels, turn));
        }
        for (; x < width; ++x) {
            out[3 * x] = surface[3 * x + 2];
            out[3 * x + 1] = surface[3 * x + 1];
            out[3 * x + 2] = surface[3 * x];
        }
    }
}
