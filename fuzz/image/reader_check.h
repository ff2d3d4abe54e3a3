// What must hold for any input to either reader, checked by the fuzz targets
// on new inputs and by the tests on every input the targets kept or crashed on.
#ifndef FUZZ_IMAGE_READER_CHECK_H
#define FUZZ_IMAGE_READER_CHECK_H

#include <stddef.h>
#include <stdint.h>

// LoadRgbImageA, LoadDibImageA, or LoadImageFile, which tells them apart.
enum class ImageReader { Rgb, Dib, Any };

// Larger pictures are refused by the reader's own limit: without a low one a
// few bytes of run-length data keep each run busy for seconds.
constexpr uint64_t kCheckedPixelLimit = uint64_t(1) << 22;

// Reads data as a file through the platform table: nothing read outside the
// file, everything obtained released, a failure recorded for a refusal and
// none for a whole record, one box for a refusal of the specified entry
// points and none otherwise, and every byte of the record readable.
bool ReadsSafely(ImageReader reader, const uint8_t *data, size_t size);

#endif
