// The Windows build: every member is the real API.
#include "platform/platform.h"

namespace {

using PrefetchFunction = BOOL(WINAPI *)(HANDLE, ULONG_PTR, PWIN32_MEMORY_RANGE_ENTRY, ULONG);

BOOL WINAPI NoPrefetch(HANDLE, ULONG_PTR, PWIN32_MEMORY_RANGE_ENTRY, ULONG)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// Looked up rather than linked, so that the programs still start on systems
// older than Windows 8.
PrefetchFunction PrefetchVirtualMemoryWhereThere()
{
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "PrefetchVirtualMemory");
    return found ? reinterpret_cast<PrefetchFunction>(reinterpret_cast<void (*)(void)>(found)) : NoPrefetch;
}

} // namespace

extern "C" PlatformTable PlatformSystemTable(void)
{
    PlatformTable t{};
    t.CreateThread = ::CreateThread;
    t.GetExitCodeThread = ::GetExitCodeThread;
    t.GetCurrentThreadId = ::GetCurrentThreadId;
    t.Sleep = ::Sleep;
    t.CreateEventA = ::CreateEventA;
    t.SetEvent = ::SetEvent;
    t.WaitForSingleObject = ::WaitForSingleObject;
    t.CloseHandle = ::CloseHandle;
    t.GetModuleHandleA = ::GetModuleHandleA;
    t.CreateFileA = ::CreateFileA;
    t.CreateFileW = ::CreateFileW;
    t.ReadFile = ::ReadFile;
    t.SetFilePointer = ::SetFilePointer;
    t.GetFileSize = ::GetFileSize;
    t.CreateFileMappingA = ::CreateFileMappingA;
    t.MapViewOfFile = ::MapViewOfFile;
    t.UnmapViewOfFile = ::UnmapViewOfFile;
    t.GetVersionExA = ::GetVersionExA;
    t.ExitProcess = ::ExitProcess;
    t.GetCurrentProcess = ::GetCurrentProcess;
    t.LocalAlloc = ::LocalAlloc;
    t.LocalFree = ::LocalFree;
    t.PrefetchVirtualMemory = PrefetchVirtualMemoryWhereThere();

    t.PeekMessageA = ::PeekMessageA;
    t.GetMessageA = ::GetMessageA;
    t.PostMessageA = ::PostMessageA;
    t.PostThreadMessageA = ::PostThreadMessageA;
    t.PostQuitMessage = ::PostQuitMessage;
    t.DispatchMessageA = ::DispatchMessageA;
    t.SendMessageA = ::SendMessageA;
    t.MsgWaitForMultipleObjects = ::MsgWaitForMultipleObjects;
    t.RegisterClassA = ::RegisterClassA;
    t.RegisterClassW = ::RegisterClassW;
    t.UnregisterClassA = ::UnregisterClassA;
    t.LoadIconA = ::LoadIconA;
    t.LoadCursorA = ::LoadCursorA;
    t.CreateWindowExA = ::CreateWindowExA;
    t.CreateWindowExW = ::CreateWindowExW;
    t.DestroyWindow = ::DestroyWindow;
    t.GetClientRect = ::GetClientRect;
    t.GetWindowRect = ::GetWindowRect;
    t.ShowWindow = ::ShowWindow;
    t.SetForegroundWindow = ::SetForegroundWindow;
    t.IsIconic = ::IsIconic;
    t.SetWindowLongPtrA = ::SetWindowLongPtrA;
    t.GetWindowLongPtrA = ::GetWindowLongPtrA;
    t.DefWindowProcA = ::DefWindowProcA;
    t.AdjustWindowRect = ::AdjustWindowRect;
    t.AdjustWindowRectEx = ::AdjustWindowRectEx;
    t.GetSystemMetrics = ::GetSystemMetrics;
    t.InvalidateRect = ::InvalidateRect;
    t.GetUpdateRect = ::GetUpdateRect;
    t.BeginPaint = ::BeginPaint;
    t.EndPaint = ::EndPaint;
    t.TranslateMessage = ::TranslateMessage;
    t.GetKeyState = ::GetKeyState;
    t.SetFocus = ::SetFocus;
    t.GetFocus = ::GetFocus;
    t.SetCapture = ::SetCapture;
    t.ReleaseCapture = ::ReleaseCapture;
    t.GetCapture = ::GetCapture;
    t.GetCursorPos = ::GetCursorPos;
    t.ShowCursor = ::ShowCursor;
    t.ChangeDisplaySettingsA = ::ChangeDisplaySettingsA;
    t.MessageBoxA = ::MessageBoxA;
    t.GetDC = ::GetDC;
    t.ReleaseDC = ::ReleaseDC;
    t.wvsprintfA = ::wvsprintfA;
    t.GetSysColor = ::GetSysColor;
    t.SetSysColors = ::SetSysColors;

    t.ChoosePixelFormat = ::ChoosePixelFormat;
    t.SetPixelFormat = ::SetPixelFormat;
    t.DescribePixelFormat = ::DescribePixelFormat;
    t.GetPixelFormat = ::GetPixelFormat;
    t.CreateCompatibleDC = ::CreateCompatibleDC;
    t.DeleteDC = ::DeleteDC;
    t.CreateDIBSection = ::CreateDIBSection;
    t.SetDIBits = ::SetDIBits;
    t.GdiFlush = ::GdiFlush;
    t.GetStockObject = ::GetStockObject;
    t.SelectObject = ::SelectObject;
    t.DeleteObject = ::DeleteObject;
    t.CreatePalette = ::CreatePalette;
    t.SetPaletteEntries = ::SetPaletteEntries;
    t.GetPaletteEntries = ::GetPaletteEntries;
    t.UnrealizeObject = ::UnrealizeObject;
    t.SelectPalette = ::SelectPalette;
    t.RealizePalette = ::RealizePalette;
    t.SetSystemPaletteUse = ::SetSystemPaletteUse;
    t.GetSystemPaletteUse = ::GetSystemPaletteUse;
    t.GetSystemPaletteEntries = ::GetSystemPaletteEntries;
    t.GetDeviceCaps = ::GetDeviceCaps;
    t.SwapBuffers = ::SwapBuffers;

    t.wglCreateContext = ::wglCreateContext;
    t.wglMakeCurrent = ::wglMakeCurrent;
    t.wglDeleteContext = ::wglDeleteContext;

    t.RegOpenKeyExA = ::RegOpenKeyExA;
    t.RegQueryValueExA = ::RegQueryValueExA;
    t.RegCloseKey = ::RegCloseKey;
    return t;
}
