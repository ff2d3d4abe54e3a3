// An in-memory file behind CreateFileA/W, SetFilePointer, ReadFile and
// CloseHandle, which notes every read that asks for bytes past its end.
#ifndef TESTS_IMAGE_RGB_MEMORY_FILE_H
#define TESTS_IMAGE_RGB_MEMORY_FILE_H

#include <stdint.h>

#include <vector>

#include "platform/platform.h"

struct MemoryFileRecord {
    std::vector<unsigned char> bytes;
    uint64_t position = 0;
    int opens = 0;
    int closes = 0;
    int reads = 0;
    bool readPastEnd = false;
};

extern MemoryFileRecord memoryFile;

// Replaces the four members in table; any name opens the memory file.
void InstallMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size);

#endif
