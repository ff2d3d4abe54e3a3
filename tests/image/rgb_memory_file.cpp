#include "tests/image/rgb_memory_file.h"

#include <string.h>

MemoryFileRecord memoryFile;

namespace {

HANDLE MemoryHandle() { return &memoryFile; }

BOOL(WINAPI *closeOther)(HANDLE) = nullptr;

HANDLE WINAPI OpenMemoryA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    ++memoryFile.opens;
    memoryFile.position = 0;
    return MemoryHandle();
}

HANDLE WINAPI OpenMemoryW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    return OpenMemoryA(nullptr, 0, 0, nullptr, 0, 0, nullptr);
}

DWORD WINAPI SeekMemory(HANDLE handle, LONG low, PLONG high, DWORD method)
{
    if (handle != MemoryHandle())
        return INVALID_SET_FILE_POINTER;
    int64_t distance = high ? int64_t(uint64_t(uint32_t(*high)) << 32 | uint32_t(low)) : int64_t(low);
    int64_t base = method == FILE_END ? int64_t(memoryFile.bytes.size())
                   : method == FILE_CURRENT ? int64_t(memoryFile.position)
                                            : 0;
    int64_t target = base + distance;
    if (target < 0)
        return INVALID_SET_FILE_POINTER;
    memoryFile.position = uint64_t(target);
    if (high)
        *high = LONG(uint64_t(target) >> 32);
    return DWORD(uint64_t(target));
}

BOOL WINAPI ReadMemory(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD delivered, LPOVERLAPPED)
{
    if (handle != MemoryHandle())
        return FALSE;
    ++memoryFile.reads;
    uint64_t size = memoryFile.bytes.size();
    if (memoryFile.position + count > size)
        memoryFile.readPastEnd = true;
    uint64_t available = memoryFile.position < size ? size - memoryFile.position : 0;
    DWORD got = available < count ? DWORD(available) : count;
    if (got)
        memcpy(buffer, memoryFile.bytes.data() + memoryFile.position, got);
    memoryFile.position += got;
    if (delivered)
        *delivered = got;
    return TRUE;
}

BOOL WINAPI CloseMemory(HANDLE handle)
{
    if (handle != MemoryHandle())
        return closeOther ? closeOther(handle) : FALSE;
    ++memoryFile.closes;
    return TRUE;
}

} // namespace

void InstallMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size)
{
    memoryFile = MemoryFileRecord();
    memoryFile.bytes.assign(bytes, bytes + size);
    if (table->CloseHandle != CloseMemory)
        closeOther = table->CloseHandle;
    table->CreateFileA = OpenMemoryA;
    table->CreateFileW = OpenMemoryW;
    table->SetFilePointer = SeekMemory;
    table->ReadFile = ReadMemory;
    table->CloseHandle = CloseMemory;
}
