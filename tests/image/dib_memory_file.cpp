#include "tests/image/dib_memory_file.h"

#include <stdlib.h>
#include <string.h>

MappedMemoryFile mappedFile;

namespace {

// Distinct non-null handles for the file and its mapping.
char fileTag;
char mappingTag;
HANDLE const kFile = &fileTag;
HANDLE const kMapping = &mappingTag;

BOOL(WINAPI *closeOther)(HANDLE) = nullptr;

HANDLE WINAPI OpenA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    ++mappedFile.opens;
    return kFile;
}

HANDLE WINAPI OpenW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    return OpenA(nullptr, 0, 0, nullptr, 0, 0, nullptr);
}

DWORD WINAPI SizeOf(HANDLE handle, LPDWORD high)
{
    if (handle != kFile)
        return INVALID_FILE_SIZE;
    if (high)
        *high = 0;
    return DWORD(mappedFile.bytes.size());
}

HANDLE WINAPI Map(HANDLE handle, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR)
{
    if (handle != kFile)
        return nullptr;
    ++mappedFile.maps;
    return kMapping;
}

LPVOID WINAPI View(HANDLE handle, DWORD, DWORD, DWORD, SIZE_T)
{
    if (handle != kMapping || mappedFile.bytes.empty())
        return nullptr;
    ++mappedFile.views;
    void *view = malloc(mappedFile.bytes.size());
    if (view)
        memcpy(view, mappedFile.bytes.data(), mappedFile.bytes.size());
    mappedFile.lastView = static_cast<const unsigned char *>(view);
    return view;
}

BOOL WINAPI Unmap(LPCVOID view)
{
    ++mappedFile.unmaps;
    free(const_cast<void *>(view));
    return TRUE;
}

BOOL WINAPI Close(HANDLE handle)
{
    if (handle != kFile && handle != kMapping)
        return closeOther ? closeOther(handle) : FALSE;
    ++mappedFile.closes;
    return TRUE;
}

} // namespace

void InstallMappedMemoryFile(PlatformTable *table, const unsigned char *bytes, size_t size)
{
    mappedFile = MappedMemoryFile();
    mappedFile.bytes.assign(bytes, bytes + size);
    if (table->CloseHandle != Close)
        closeOther = table->CloseHandle;
    table->CreateFileA = OpenA;
    table->CreateFileW = OpenW;
    table->GetFileSize = SizeOf;
    table->CreateFileMappingA = Map;
    table->MapViewOfFile = View;
    table->UnmapViewOfFile = Unmap;
    table->CloseHandle = Close;
}
