// The SGI rgb reader's rows: read, decoded and interleaved into the
// picture. Open to the tests.
#ifndef IMAGE_RGB_ROWS_H
#define IMAGE_RGB_ROWS_H

#include <stddef.h>
#include <stdint.h>

#include "image/image.h"
#include "rgb_file.h"

// Fills XSIZE bytes of destination with row y of channel z.
void ReadRgbRow(RgbFileReader *reader, unsigned char *destination, uint32_t y, uint32_t z);
// False when there was no memory for the pixels: the record stays without them.
bool ReadRgbPixels(RgbFileReader *reader, PixelImage *image);

// Decodes one packed row into at most width samples and returns how many;
// what lies past them in out's width bytes is undefined.
size_t DecodeRgbPackedRow(const unsigned char *packed, size_t packedLength, int bytesPerSample, bool bigEndian,
                          unsigned char *out, size_t width);

#endif
