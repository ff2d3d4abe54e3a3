#include "host/posix_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int HostOpenForReading(const char *path)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) { // Windows opens no directory without backup semantics
        close(fd);
        return -1;
    }
    return fd;
}

void HostCloseFile(int descriptor)
{
    close(descriptor);
}

int HostDuplicateFile(int descriptor)
{
    return fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
}

bool HostFileSize(int descriptor, uint64_t *size)
{
    struct stat info;
    if (fstat(descriptor, &info) != 0)
        return false;
    *size = uint64_t(info.st_size);
    return true;
}

long HostReadAt(int descriptor, void *buffer, size_t count, uint64_t offset)
{
    for (;;) {
        const ssize_t got = pread(descriptor, buffer, count, off_t(offset));
        if (got >= 0 || errno != EINTR)
            return long(got);
    }
}

const void *HostMapView(int descriptor, uint64_t offset, size_t length)
{
    void *view = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, descriptor, off_t(offset));
    return view == MAP_FAILED ? nullptr : view;
}

void HostUnmapView(const void *view, size_t length)
{
    munmap(const_cast<void *>(view), length);
}
