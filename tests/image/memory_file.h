// A file held in memory behind the platform table, for both readers: the SGI
// reader's seek-and-read path and the bitmap reader's mapping path. A view is
// a heap block of exactly the file's size, so the sanitizers see over-reads.
#ifndef TESTS_IMAGE_MEMORY_FILE_H
#define TESTS_IMAGE_MEMORY_FILE_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "platform/platform.h"

struct MemoryFile {
    std::vector<unsigned char> bytes;
    uint64_t position = 0;
    int opens = 0, maps = 0, views = 0, unmaps = 0;
    int closes = 0; // of the file and of its mapping
    bool readPastEnd = false;
    // Every open, mapping and view given back.
    bool AllReleased() const { return unmaps == views && closes == opens + maps; }
};

extern MemoryFile memoryFile;

// Replaces the file members of table; any name opens the memory file.
void InstallMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size);

#endif
