// SGI files made by the tests and the benchmark, and a temp-file writer.
#ifndef TESTS_IMAGE_RGB_TEST_FILES_H
#define TESTS_IMAGE_RGB_TEST_FILES_H

#include <stdint.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// An SGI file, most significant byte first, one byte a sample. rows holds
// ZSIZE x YSIZE rows, channel after channel, bottom row first: the samples of
// a verbatim file, the packed rows of a run-length one.
Bytes MakeSgi(uint16_t width, uint16_t height, uint16_t channels, bool runLength, const std::vector<Bytes> &rows);
// The same file with the least significant byte first.
Bytes SwapByteOrder(const Bytes &file);
void PutBigEndian(Bytes &file, size_t at, uint32_t value, int size);

// Samples channel after channel, rows bottom first, with runs of equal ones.
struct SgiPicture {
    uint16_t width = 0, height = 0, channels = 0;
    std::vector<uint16_t> samples;
};
SgiPicture RandomPicture(uint16_t width, uint16_t height, uint16_t channels, int bytesPerSample, uint32_t seed);
// Runs of three or more equal samples as run packets, the rest as literals.
Bytes EncodeRunLength(const SgiPicture &picture, int bytesPerSample);

// In the system's temp folder; the caller removes it.
std::string WriteTempFile(const std::string &name, const Bytes &bytes);

#endif
