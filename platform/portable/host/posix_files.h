// Files read through POSIX descriptors, and read-only views of them.
#ifndef PLATFORM_PORTABLE_HOST_POSIX_FILES_H
#define PLATFORM_PORTABLE_HOST_POSIX_FILES_H

#include <stddef.h>
#include <stdint.h>

// An existing file that is no directory, for reading; -1 when it cannot be opened.
int HostOpenForReading(const char *path);
void HostCloseFile(int descriptor);
// Another descriptor of the same open file, or -1.
int HostDuplicateFile(int descriptor);

bool HostFileSize(int descriptor, uint64_t *size);

// Reads at most count bytes at offset, again when a signal cut the read
// short of any byte: the bytes read, 0 at the end, -1 on failure.
long HostReadAt(int descriptor, void *buffer, size_t count, uint64_t offset);

// A read-only private view of length bytes at offset (a multiple of the page
// size), or null.
const void *HostMapView(int descriptor, uint64_t offset, size_t length);
void HostUnmapView(const void *view, size_t length);

#endif
