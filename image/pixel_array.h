// The record's pixel array, as both readers obtain it.
#ifndef IMAGE_PIXEL_ARRAY_H
#define IMAGE_PIXEL_ARRAY_H

#include <stddef.h>
#include <stdint.h>

// bytes from allocate (the C heap unless a test fails it), at least 1; null
// when the system cannot give them. A large array is brought in before the
// reader writes it from end to end.
unsigned char *AllocatePixelArray(void *(*allocate)(size_t size), uint64_t bytes);

#endif
