#include "tests/image/memory_file.h"

#include <stdlib.h>
#include <string.h>

MemoryFile memoryFile;

namespace {

// Distinct non-null handles for the file and its mapping.
char fileTag, mappingTag;
HANDLE const kFile = &fileTag, kMapping = &mappingTag;

HANDLE WINAPI OpenA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    return ++memoryFile.opens, memoryFile.position = 0, kFile;
}
HANDLE WINAPI OpenW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    return OpenA(nullptr, 0, 0, nullptr, 0, 0, nullptr);
}

// From the start or the end: the readers use no other.
DWORD WINAPI Seek(HANDLE handle, LONG low, PLONG high, DWORD method)
{
    int64_t distance = high ? int64_t(uint64_t(uint32_t(*high)) << 32 | uint32_t(low)) : int64_t(low);
    int64_t base = method == FILE_END ? int64_t(memoryFile.bytes.size()) : 0;
    if (handle != kFile || method == FILE_CURRENT || base + distance < 0)
        return INVALID_SET_FILE_POINTER;
    memoryFile.position = uint64_t(base + distance);
    if (high)
        *high = LONG(memoryFile.position >> 32);
    return DWORD(memoryFile.position);
}

BOOL WINAPI Read(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD delivered, LPOVERLAPPED)
{
    uint64_t size = memoryFile.bytes.size(), at = memoryFile.position;
    memoryFile.readPastEnd |= at + count > size;
    DWORD got = at >= size ? 0 : size - at < count ? DWORD(size - at) : count;
    if (got)
        memcpy(buffer, memoryFile.bytes.data() + at, got);
    memoryFile.position += got;
    *delivered = got;
    return handle == kFile;
}

DWORD WINAPI SizeOf(HANDLE handle, LPDWORD high)
{
    return *high = 0, handle == kFile ? DWORD(memoryFile.bytes.size()) : INVALID_FILE_SIZE;
}

HANDLE WINAPI Map(HANDLE handle, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR)
{
    return handle == kFile ? ++memoryFile.maps, kMapping : nullptr;
}

LPVOID WINAPI View(HANDLE handle, DWORD, DWORD, DWORD, SIZE_T)
{
    if (handle != kMapping || memoryFile.bytes.empty())
        return nullptr;
    ++memoryFile.views;
    return memcpy(malloc(memoryFile.bytes.size()), memoryFile.bytes.data(), memoryFile.bytes.size());
}

BOOL WINAPI Unmap(LPCVOID view)
{
    return ++memoryFile.unmaps, free(const_cast<void *>(view)), TRUE;
}

BOOL WINAPI Close(HANDLE handle)
{
    bool ours = handle == kFile || handle == kMapping;
    return memoryFile.closes += ours, ours;
}

} // namespace

void InstallMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size)
{
    memoryFile = MemoryFile();
    memoryFile.bytes.assign(bytes, bytes + size);
    table->CreateFileA = OpenA;
    table->CreateFileW = OpenW;
    table->SetFilePointer = Seek;
    table->ReadFile = Read;
    table->GetFileSize = SizeOf;
    table->CreateFileMappingA = Map;
    table->MapViewOfFile = View;
    table->UnmapViewOfFile = Unmap;
    table->CloseHandle = Close;
}
