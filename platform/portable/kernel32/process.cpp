// The process: the version it reports, its pseudo handle and its end.
#include <string.h>

#include "kernel32/process.h"
#include "host/posix_process.h"

namespace {

// What Windows 8 and later tell a program that declares no newer version in
// its manifest: NT 6.2, build 9200.
constexpr DWORD kMajorVersion = 6;
constexpr DWORD kMinorVersion = 2;
constexpr DWORD kBuildNumber = 9200;
constexpr DWORD kExtendedRecordSize = sizeof(OSVERSIONINFOA) + 8; // OSVERSIONINFOEXA
constexpr BYTE kWorkstation = 1;                                  // VER_NT_WORKSTATION

BOOL WINAPI PortableGetVersionExA(LPOSVERSIONINFOA version)
{
    if (!version)
        return FALSE;
    const DWORD size = version->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOA) && size != kExtendedRecordSize)
        return FALSE;
    memset(reinterpret_cast<BYTE *>(version) + sizeof(DWORD), 0, size - sizeof(DWORD));
    version->dwMajorVersion = kMajorVersion;
    version->dwMinorVersion = kMinorVersion;
    version->dwBuildNumber = kBuildNumber;
    version->dwPlatformId = VER_PLATFORM_WIN32_NT;
    if (size == kExtendedRecordSize)
        reinterpret_cast<BYTE *>(version)[sizeof(OSVERSIONINFOA) + 6] = kWorkstation; // wProductType
    return TRUE;
}

void WINAPI PortableExitProcess(UINT exitCode)
{
    HostExitNow(static_cast<int>(exitCode));
}

// The pseudo handle that stands for the calling process, as on Windows.
HANDLE WINAPI PortableGetCurrentProcess(void) { return reinterpret_cast<HANDLE>(LONG_PTR(-1)); }

} // namespace

void PortableFillProcess(PlatformTable *t)
{
    t->GetVersionExA = PortableGetVersionExA;
    t->ExitProcess = PortableExitProcess;
    t->GetCurrentProcess = PortableGetCurrentProcess;
}
