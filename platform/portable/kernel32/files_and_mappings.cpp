// Files and read-only mappings. Only what the image readers ask for:
// existing files opened for reading, whole or granularity-aligned read-only
// views.
#include <map>
#include <mutex>
#include <string>

#include "kernel32/files_and_mappings.h"
#include "host/posix_files.h"
#include "kernel32/kernel_handles.h"
#include "utf16.h"

namespace {

// As on Windows, views start at multiples of the allocation granularity.
constexpr uint64_t kAllocationGranularity = 65536;

// The file pointer is kept here, so that a seek costs no system call and a
// read is one positioned read.
struct PortableFile : PortableKernelObject {
    explicit PortableFile(int descriptor) : fd(descriptor) {}
    ~PortableFile() override { HostCloseFile(fd); }
    int fd;
    uint64_t position = 0;
};

// Holds its own descriptor: the mapping outlives a closed file handle.
struct PortableMapping : PortableKernelObject {
    PortableMapping(int descriptor, uint64_t bytes) : fd(descriptor), size(bytes) {}
    ~PortableMapping() override { HostCloseFile(fd); }
    int fd;
    uint64_t size;
};

std::mutex viewLock;
std::map<const void *, size_t> views; // view address -> mapped length

HANDLE OpenForReading(const char *path, DWORD access, DWORD disposition)
{
    if (path == nullptr || access != GENERIC_READ || disposition != OPEN_EXISTING)
        return INVALID_HANDLE_VALUE;
    const int fd = HostOpenForReading(path);
    if (fd < 0)
        return INVALID_HANDLE_VALUE;
    return PortableAdoptHandle(new PortableFile(fd));
}

HANDLE WINAPI PortableCreateFileA(LPCSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                                  HANDLE)
{
    return OpenForReading(name, access, disposition);
}

HANDLE WINAPI PortableCreateFileW(LPCWSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                                  HANDLE)
{
    if (name == nullptr)
        return INVALID_HANDLE_VALUE;
    return OpenForReading(Utf16ToUtf8(name).c_str(), access, disposition);
}

BOOL WINAPI PortableReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD delivered, LPOVERLAPPED)
{
    if (delivered)
        *delivered = 0;
    PortableFile *file = PortableHandleAs<PortableFile>(handle);
    if (!file)
        return FALSE;
    DWORD total = 0;
    while (total < count) {
        const long got = HostReadAt(file->fd, static_cast<char *>(buffer) + total, count - total, file->position);
        if (got < 0)
            return FALSE;
        if (got == 0)
            break; // end of file: success with fewer bytes, as on Windows
        total += DWORD(got);
        file->position += uint64_t(got);
        if (delivered)
            *delivered = total;
    }
    return TRUE;
}

DWORD WINAPI PortableSetFilePointer(HANDLE handle, LONG distanceLow, PLONG distanceHigh, DWORD method)
{
    PortableFile *file = PortableHandleAs<PortableFile>(handle);
    if (!file)
        return INVALID_SET_FILE_POINTER;
    int64_t distance = distanceHigh ? int64_t(uint64_t(uint32_t(*distanceHigh)) << 32 | uint32_t(distanceLow))
                                    : int64_t(distanceLow);
    int64_t base = 0;
    uint64_t size = 0;
    if (method == FILE_CURRENT)
        base = int64_t(file->position);
    else if (method == FILE_END && HostFileSize(file->fd, &size))
        base = int64_t(size);
    else if (method != FILE_BEGIN)
        return INVALID_SET_FILE_POINTER;
    int64_t target = 0;
    // Without the high part the new position must fit 32 bits; never negative.
    if (__builtin_add_overflow(base, distance, &target) || target < 0 ||
        (!distanceHigh && target > int64_t(0xFFFFFFFE)))
        return INVALID_SET_FILE_POINTER;
    file->position = uint64_t(target);
    if (distanceHigh)
        *distanceHigh = LONG(uint64_t(target) >> 32);
    return DWORD(uint64_t(target));
}

DWORD WINAPI PortableGetFileSize(HANDLE handle, LPDWORD sizeHigh)
{
    PortableFile *file = PortableHandleAs<PortableFile>(handle);
    uint64_t size = 0;
    if (!file || !HostFileSize(file->fd, &size))
        return INVALID_FILE_SIZE;
    if (sizeHigh)
        *sizeHigh = DWORD(size >> 32);
    return DWORD(size);
}

HANDLE WINAPI PortableCreateFileMappingA(HANDLE fileHandle, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD maximumHigh,
                                         DWORD maximumLow, LPCSTR)
{
    PortableFile *file = PortableHandleAs<PortableFile>(fileHandle);
    uint64_t fileSize = 0;
    if (!file || protect != PAGE_READONLY || !HostFileSize(file->fd, &fileSize))
        return nullptr;
    uint64_t size = uint64_t(maximumHigh) << 32 | maximumLow;
    if (size == 0)
        size = fileSize;
    // A read-only mapping can neither be empty nor grow the file.
    if (size == 0 || size > fileSize)
        return nullptr;
    const int fd = HostDuplicateFile(file->fd);
    if (fd < 0)
        return nullptr;
    return PortableAdoptHandle(new PortableMapping(fd, size));
}

LPVOID WINAPI PortableMapViewOfFile(HANDLE mappingHandle, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                                    SIZE_T bytes)
{
    PortableMapping *mapping = PortableHandleAs<PortableMapping>(mappingHandle);
    uint64_t offset = uint64_t(offsetHigh) << 32 | offsetLow;
    if (!mapping || access != FILE_MAP_READ || offset % kAllocationGranularity != 0 || offset >= mapping->size)
        return nullptr;
    uint64_t length = bytes ? uint64_t(bytes) : mapping->size - offset;
    if (length > mapping->size - offset)
        return nullptr;
    const void *view = HostMapView(mapping->fd, offset, size_t(length));
    if (!view)
        return nullptr;
    std::lock_guard<std::mutex> guard(viewLock);
    views[view] = size_t(length);
    return const_cast<void *>(view);
}

BOOL WINAPI PortableUnmapViewOfFile(LPCVOID view)
{
    std::lock_guard<std::mutex> guard(viewLock);
    auto found = views.find(view);
    if (found == views.end())
        return FALSE;
    HostUnmapView(found->first, found->second);
    views.erase(found);
    return TRUE;
}

} // namespace

void PortableFillFilesAndMappings(PlatformTable *t)
{
    t->CreateFileA = PortableCreateFileA;
    t->CreateFileW = PortableCreateFileW;
    t->ReadFile = PortableReadFile;
    t->SetFilePointer = PortableSetFilePointer;
    t->GetFileSize = PortableGetFileSize;
    t->CreateFileMappingA = PortableCreateFileMappingA;
    t->MapViewOfFile = PortableMapViewOfFile;
    t->UnmapViewOfFile = PortableUnmapViewOfFile;
}
