// The SGI rgb reader's internals, open to the tests.
#ifndef IMAGE_RGB_READER_H
#define IMAGE_RGB_READER_H

#include "image/image.h"
#include "rgb_file.h"

PixelImage *ReadRgbFile(const void *name, bool wide);
RgbFileReader *OpenRgbReader(const void *name, bool wide);
void CloseRgbReader(RgbFileReader *reader);

#endif
