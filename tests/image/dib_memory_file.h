// A bitmap file held in memory behind CreateFileA/W, GetFileSize, the mapping
// calls and CloseHandle. The view is a heap block of exactly the file's size,
// so that the sanitizers see any read past its end.
#ifndef TESTS_IMAGE_DIB_MEMORY_FILE_H
#define TESTS_IMAGE_DIB_MEMORY_FILE_H

#include <stddef.h>

#include <vector>

#include "platform/platform.h"

struct MappedMemoryFile {
    std::vector<unsigned char> bytes;
    int opens = 0;
    int maps = 0;
    int views = 0;
    int unmaps = 0;
    int closes = 0;
    const unsigned char *lastView = nullptr;
};

extern MappedMemoryFile mappedFile;

// Replaces the members in table; any name opens the memory file.
void InstallMappedMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size);

#endif
