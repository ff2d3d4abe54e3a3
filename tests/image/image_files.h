// Files made by the tests (file_makers.cpp), and what loading a file gave
// (image_files.cpp).
#ifndef TESTS_IMAGE_IMAGE_FILES_H
#define TESTS_IMAGE_IMAGE_FILES_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz/image/reader_check.h"
#include "image/image.h"
#include "tests/support/temp_files.h"

void PutLittleEndian(Bytes &file, size_t at, uint32_t value);
void PutBigEndian(Bytes &file, size_t at, uint32_t value, int size);
// A bitmap with a file header and a 40-byte info header (a 12-byte core
// header when core is set), palette entries of 4 (3) bytes, then data.
Bytes MakeDib(int32_t width, int32_t height, int bitCount, uint32_t compression, const Bytes &palette,
              const Bytes &data, bool core = false);
// An SGI file, most significant byte first, one byte a sample. rows holds
// ZSIZE x YSIZE rows, channel after channel, bottom row first: the samples of
// a verbatim file, the packed rows of a run-length one.
Bytes MakeSgi(uint16_t width, uint16_t height, uint16_t channels, bool runLength, const std::vector<Bytes> &rows);
// The same SGI file with the least significant byte first. In a 2-byte
// run-length file every packed row must start at an even offset.
Bytes SwapByteOrder(const Bytes &file);
std::string TestDataPath(const std::string &relative);

struct Outcome {
    bool record = false;
    int width = 0, height = 0;
    bool pixels = false;
    Bytes bytes; // red, green, blue, rows bottom first
    std::vector<std::string> boxes;
    int32_t code = 0; // the thread's last failure after the load, not compared
    std::string failure;
    bool operator==(const Outcome &other) const;
};

// Frees the record. Needs a ScopedPlatform: the boxes are the ones raised
// since the last call, the failure the last since then.
Outcome TakeRecord(PixelImage *image);
// Through LoadRgbImageA, LoadDibImageA or LoadImageFile, from a file on disk
// or from bytes served as a file by the memory file for this load only.
Outcome LoadPath(ImageReader reader, const std::string &path);
Outcome LoadBytes(ImageReader reader, const Bytes &bytes);
// The record of a PPM (P6) or PGM (P5) file, top row first in the file.
Outcome ReadReference(const std::string &path);

#endif
