// SGI rgb files made by the tests, the reference pictures, and temp files.
#ifndef TESTS_IMAGE_RGB_TEST_FILES_H
#define TESTS_IMAGE_RGB_TEST_FILES_H

#include <stdint.h>

#include <string>
#include <vector>

#include "image/image.h"

using Bytes = std::vector<unsigned char>;

// Samples channel after channel, rows bottom first, as the file holds them.
struct SgiPicture {
    uint16_t width = 0, height = 0, channels = 0;
    std::vector<uint16_t> samples; // 16-bit samples for 2 bytes per sample
};

SgiPicture RandomPicture(uint16_t width, uint16_t height, uint16_t channels, int bytesPerSample, uint32_t seed);

// Most significant byte first; SwapByteOrder makes the other form.
Bytes EncodeVerbatim(const SgiPicture &picture, int bytesPerSample);
Bytes EncodeRunLength(const SgiPicture &picture, int bytesPerSample);
Bytes SwapByteOrder(const Bytes &file);

// The record a reader must deliver: red, green, blue rows bottom first,
// channel 0 as grey for fewer than three channels, high bytes of 2-byte samples.
Bytes ExpectedRecord(const SgiPicture &picture, int bytesPerSample);

// A PPM (P6) or PGM (P5) picture, top row first, as an RGB record bottom first.
bool ReadReference(const std::string &path, int *width, int *height, Bytes *record);

Bytes ReadWholeFile(const std::string &path);
std::string TestDataPath(const std::string &relative);
// Written under the system's temp folder; removed by the caller.
std::string WriteTempFile(const std::string &name, const Bytes &bytes);

Bytes RecordBytes(const PixelImage *image);
void FreeImage(PixelImage *image);

#endif
