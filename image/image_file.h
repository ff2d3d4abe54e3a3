// What both readers do first with a file name: open the file for reading.
#ifndef IMAGE_IMAGE_FILE_H
#define IMAGE_IMAGE_FILE_H

#include <stdint.h>

#include "platform/win32_types.h"

// name holds 8-bit characters, or UTF-16 when wide is set. Read access, shared
// with other readers, the file must exist. INVALID_HANDLE_VALUE on failure,
// also for a null name.
HANDLE OpenImageFile(const void *name, bool wide);

// False when a picture of width x height pixels is above the limit set with
// SetImagePixelLimit: the reader refuses it before obtaining anything for it.
bool PixelCountAllowed(uint64_t width, uint64_t height);

#endif
