// The SSSE3 path of image/rgb_interleave.h, built with those instructions.
#ifndef IMAGE_RGB_INTERLEAVE_SSSE3_H
#define IMAGE_RGB_INTERLEAVE_SSSE3_H

#include <stddef.h>

// Only where the processor has SSSE3.
void InterleaveRgbSsse3(const unsigned char *red, const unsigned char *green, const unsigned char *blue,
                        unsigned char *out, size_t width, bool stream);

#endif
