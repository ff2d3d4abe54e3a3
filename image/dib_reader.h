// The bitmap reader's internals, open to the tests.
#ifndef IMAGE_DIB_READER_H
#define IMAGE_DIB_READER_H

#include <stddef.h>

#include "image/image.h"

// Where the output pixel array and the record come from; malloc unless a
// test fails it.
extern void *(*dibAllocate)(size_t size);

PixelImage *ReadDibFile(const void *name, bool wide, bool longHeaders = false);

#endif
