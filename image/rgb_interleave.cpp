#include "rgb_interleave.h"

namespace {

InterleaveFunction ChooseInterleave()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? InterleaveRgbSsse3 : InterleaveRgbPortable;
}

} // namespace

void InterleaveRgbPortable(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                           unsigned char *out, size_t width, bool)
{
    for (size_t x = 0; x < width; ++x, out += 3) {
        out[0] = red[x];
        out[1] = green[x];
        out[2] = blue[x];
    }
}

void InterleaveRgb(const unsigned char *red, const unsigned char *green, const unsigned char *blue, unsigned char *out,
                   size_t width, bool stream)
{
    static const InterleaveFunction interleave = ChooseInterleave();
    interleave(red, green, blue, out, width, stream);
}
