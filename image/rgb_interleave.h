// The SGI reader's step from one decoded row of each channel to a row of
// pixels, red, green and blue side by side. Once for each instruction set,
// all giving the same bytes; InterleaveRgb runs the widest the processor has.
#ifndef IMAGE_RGB_INTERLEAVE_H
#define IMAGE_RGB_INTERLEAVE_H

#include <stddef.h>

using InterleaveFunction = void (*)(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                                    unsigned char *out, size_t width);

void InterleaveRgb(const unsigned char *red, const unsigned char *green, const unsigned char *blue, unsigned char *out,
                   size_t width);

void InterleaveRgbPortable(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                           unsigned char *out, size_t width);
// Only where the processor has SSSE3.
void InterleaveRgbSsse3(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                        unsigned char *out, size_t width);

#endif
