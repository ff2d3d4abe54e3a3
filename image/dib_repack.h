// The bitmap reader's one pass over the converted surface: rows of blue,
// green, red padded to 4 bytes become the record's red-green-blue rows
// without gaps. Once for each instruction set, all giving the same bytes;
// RepackRows runs the widest the processor has.
#ifndef IMAGE_DIB_REPACK_H
#define IMAGE_DIB_REPACK_H

#include <stdint.h>

using RepackFunction = void (*)(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows);

void RepackRows(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows);

void RepackRowsPortable(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows);
// Only where the processor has SSSE3.
void RepackRowsSsse3(const unsigned char *surface, unsigned char *out, int32_t width, int32_t rows);

#endif
