#include "tests/image/memory_file.h"

#include <stdlib.h>
#include <string.h>

MemoryFile memoryFile;

namespace {

// Distinct non-null handles for the file and its mapping.
char fileTag, mappingTag;
HANDLE const kFile = &fileTag;
HANDLE const kMapping = &mappingTag;

HANDLE WINAPI OpenA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    ++memoryFile.opens;
    memoryFile.position = 0;
    return kFile;
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
    if (handle != kFile)
        return FALSE;
    ++memoryFile.reads;
    uint64_t size = memoryFile.bytes.size();
    memoryFile.readPastEnd |= memoryFile.position + count > size;
    uint64_t available = memoryFile.position < size ? size - memoryFile.position : 0;
    DWORD got = available < count ? DWORD(available) : count;
    if (got)
        memcpy(buffer, memoryFile.bytes.data() + memoryFile.position, got);
    memoryFile.position += got;
    if (delivered)
        *delivered = got;
    return TRUE;
}

DWORD WINAPI SizeOf(HANDLE handle, LPDWORD high)
{
    if (handle != kFile)
        return INVALID_FILE_SIZE;
    if (high)
        *high = 0;
    return DWORD(memoryFile.bytes.size());
}

HANDLE WINAPI Map(HANDLE handle, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR)
{
    if (handle != kFile)
        return nullptr;
    ++memoryFile.maps;
    return kMapping;
}

LPVOID WINAPI View(HANDLE handle, DWORD, DWORD, DWORD, SIZE_T)
{
    if (handle != kMapping || memoryFile.bytes.empty())
        return nullptr;
    void *view = malloc(memoryFile.bytes.size());
    if (view) {
        ++memoryFile.views;
        memcpy(view, memoryFile.bytes.data(), memoryFile.bytes.size());
    }
    return view;
}

BOOL WINAPI Unmap(LPCVOID view)
{
    ++memoryFile.unmaps;
    free(const_cast<void *>(view));
    return TRUE;
}

BOOL WINAPI Close(HANDLE handle)
{
    memoryFile.closes += handle == kFile || handle == kMapping;
    return handle == kFile || handle == kMapping;
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
