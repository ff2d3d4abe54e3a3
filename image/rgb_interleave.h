// The SGI reader's step from one decoded row of each channel to a row of
// pixels, red, green and blue side by side. Once for each instruction set,
// all giving the same bytes; InterleaveRgb runs the widest the processor has.
#ifndef IMAGE_RGB_INTERLEAVE_H
#define IMAGE_RGB_INTERLEAVE_H

#include <stddef.h>

// stream: the row is for a picture too large to stay in the caches and may
// go past them to memory, where the path can; the bytes are the same.
using InterleaveFunction = void (*)(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                                    unsigned char *out, size_t width, bool stream);

void InterleaveRgb(const unsigned char *red, const unsigned char *green, const unsigned char *blue, unsigned char *out,
                   size_t width, bool stream);

void InterleaveRgbPortable(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                           unsigned char *out, size_t width, bool stream);
// Only where the processor has SSSE3.
void InterleaveRgbSsse3(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                        unsigned char *out, size_t width, bool stream);

#endif
