// Bitmap files made by the tests from random pictures, with the record the
// reader must deliver for each: the colours as GDI widens them, black where
// the file leaves the surface unpainted.
#ifndef TESTS_IMAGE_DIB_BITMAP_BUILDER_H
#define TESTS_IMAGE_DIB_BITMAP_BUILDER_H

#include <stdint.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// How a run-length file strays from one run list per row.
enum class RunLengthVariant {
    Plain,        // runs, end of line after each row, end of bitmap
    DeltaInRow,   // a delta skips pixels within a row
    DeltaAcross,  // a delta moves up a row, skipping the end of one and the start of the next
    EarlyEnd,     // end of bitmap halfway up
    RunPastRow,   // a run longer than what is left of its row
    OpenEnd,      // the data stops in the middle of a row, without a command
};

struct DibLayout {
    int width = 1;
    int height = 1;
    int bitCount = 8;
    uint32_t compression = 0; // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS
    int paletteSize = 0;      // colour entries in the file, for up to 8 bits
    bool topDown = false;
    bool fileHeader = true;
    bool coreHeader = false;
    uint32_t masks[3] = {0, 0, 0}; // for BI_BITFIELDS
    RunLengthVariant variant = RunLengthVariant::Plain;

    std::string Describe() const;
};

struct GeneratedDib {
    Bytes file;
    Bytes record; // red, green, blue, rows bottom first
};

GeneratedDib MakeDib(const DibLayout &layout, uint32_t seed);

#endif
