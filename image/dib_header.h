// The bitmap reader's reading of a file's headers, open to the tests.
#ifndef IMAGE_DIB_HEADER_H
#define IMAGE_DIB_HEADER_H

#include <stdint.h>

#include "platform/win32_types.h"

// The pixel data of a mapped file and the info header with colour table that
// describes it to SetDIBits. Everything the conversion will read lies inside
// the file.
struct DibSource {
    BITMAPINFO *working;         // from LocalAlloc; the caller frees it
    const unsigned char *pixels; // inside the mapped file
    int32_t width;               // > 0
    int32_t rows;                // |biHeight| > 0; biHeight keeps the file's sign
    uint64_t surfaceBytes;       // the 24-bit surface, rows padded to 4 bytes
    uint64_t outputBytes;        // width x rows x 3
};

// Colours in the table after a 12-byte core or a longer info header.
WORD CountDibColors(const void *header);

// Reads the headers of a mapped file of fileSize bytes: the 12- and 40-byte
// forms, and with longHeaders the 108- and 124-byte ones too. Returns null,
// or the message that refuses the file; source->working is set whenever the
// block was obtained, also on refusal.
const char *PrepareDibSource(const unsigned char *file, uint64_t fileSize, DibSource *source,
                             bool longHeaders = false);

#endif
