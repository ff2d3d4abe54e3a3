// Bitmaps made by the tests, files of the shared test data, and what loading
// a file gave.
#ifndef TESTS_IMAGE_IMAGE_FILES_H
#define TESTS_IMAGE_IMAGE_FILES_H

#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz/image/reader_check.h"
#include "image/image.h"
#include "tests/image/rgb_test_files.h"

// A bitmap with a file header and a 40-byte info header (a 12-byte core
// header when core is set), palette entries of 4 (3) bytes, then data.
Bytes MakeDib(int32_t width, int32_t height, int bitCount, uint32_t compression, const Bytes &palette,
              const Bytes &data, bool core = false);
void PutLittleEndian(Bytes &file, size_t at, uint32_t value);

struct Outcome {
    bool record = false;
    int width = 0, height = 0;
    bool pixels = false;
    Bytes bytes; // red, green, blue, rows bottom first
    std::vector<std::string> boxes;
    bool operator==(const Outcome &other) const;
};

// Through LoadRgbImageA or LoadDibImageA, from a file on disk or from bytes
// served as a file by the memory file for this load only; the record is
// freed. Needs a ScopedPlatform: the boxes are the ones this load raised.
Outcome LoadPath(ImageReader reader, const std::string &path);
Outcome LoadBytes(ImageReader reader, const Bytes &bytes);
// The record of a PPM (P6) or PGM (P5) file, top row first in the file.
Outcome ReadReference(const std::string &path);

Bytes ReadWholeFile(const std::string &path);
std::string TestDataPath(const std::string &relative);
Outcome TakeRecord(PixelImage *image);

#endif
