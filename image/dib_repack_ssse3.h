// The SSSE3 path of image/dib_repack.h, built with those instructions.
#ifndef IMAGE_DIB_REPACK_SSSE3_H
#define IMAGE_DIB_REPACK_SSSE3_H

#include <stdint.h>

// Only where the processor has SSSE3.
void RepackRowsSsse3(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows);

#endif
