/* The one table through which the program reaches the operating system.
 *
 * Every member carries the name, parameters and result of the Win32 function it
 * stands for, grouped by the library that has it on Windows. The Windows build fills it with the real API; the portable build
 * with the project's own implementations. Tests copy the table, replace single
 * members to fail or script an operation, and put the copy back afterwards.
 *
 * On 32-bit Windows, SetWindowLongPtrA/GetWindowLongPtrA are macros for the
 * 32-bit forms; the members follow them, which is right since a pointer is 32
 * bits there. */
#ifndef PLATFORM_PLATFORM_H
#define PLATFORM_PLATFORM_H

#include <stdarg.h>

#include "platform/win32_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PlatformTable {
    /* kernel32: threads */
    HANDLE(WINAPI *CreateThread)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
    BOOL(WINAPI *GetExitCodeThread)(HANDLE, LPDWORD);
    DWORD(WINAPI *GetCurrentThreadId)(void);
    void(WINAPI *Sleep)(DWORD);

    /* kernel32: events and waiting */
    HANDLE(WINAPI *CreateEventA)(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCSTR);
    BOOL(WINAPI *SetEvent)(HANDLE);
    DWORD(WINAPI *WaitForSingleObject)(HANDLE, DWORD);

    /* kernel32: handles */
    BOOL(WINAPI *CloseHandle)(HANDLE);

    /* kernel32: the program's module */
    HMODULE(WINAPI *GetModuleHandleA)(LPCSTR);

    /* kernel32: files and read-only mappings */
    HANDLE(WINAPI *CreateFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    HANDLE(WINAPI *CreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI *ReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    DWORD(WINAPI *SetFilePointer)(HANDLE, LONG, PLONG, DWORD);
    DWORD(WINAPI *GetFileSize)(HANDLE, LPDWORD);
    HANDLE(WINAPI *CreateFileMappingA)(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR);
    LPVOID(WINAPI *MapViewOfFile)(HANDLE, DWORD, DWORD, DWORD, SIZE_T);
    BOOL(WINAPI *UnmapViewOfFile)(LPCVOID);

    /* kernel32: the process */
    BOOL(WINAPI *GetVersionExA)(LPOSVERSIONINFOA);
    void(WINAPI *ExitProcess)(UINT);
    HANDLE(WINAPI *GetCurrentProcess)(void);

    /* kernel32: the local heap */
    HLOCAL(WINAPI *LocalAlloc)(UINT, SIZE_T);
    HLOCAL(WINAPI *LocalFree)(HLOCAL);

    /* kernel32: virtual memory (PrefetchVirtualMemory is Windows 8's; where the
       system lacks it the member fails and brings nothing in) */
    BOOL(WINAPI *PrefetchVirtualMemory)(HANDLE, ULONG_PTR, PWIN32_MEMORY_RANGE_ENTRY, ULONG);

    /* user32: message queues */
    BOOL(WINAPI *PeekMessageA)(LPMSG, HWND, UINT, UINT, UINT);
    BOOL(WINAPI *GetMessageA)(LPMSG, HWND, UINT, UINT);
    BOOL(WINAPI *PostMessageA)(HWND, UINT, WPARAM, LPARAM);
    BOOL(WINAPI *PostThreadMessageA)(DWORD, UINT, WPARAM, LPARAM);
    void(WINAPI *PostQuitMessage)(int);
    LRESULT(WINAPI *DispatchMessageA)(const MSG *);
    LRESULT(WINAPI *SendMessageA)(HWND, UINT, WPARAM, LPARAM);
    DWORD(WINAPI *MsgWaitForMultipleObjects)(DWORD, const HANDLE *, BOOL, DWORD, DWORD);

    /* user32: window classes, stock icons and cursors */
    ATOM(WINAPI *RegisterClassA)(const WNDCLASSA *);
    ATOM(WINAPI *RegisterClassW)(const WNDCLASSW *);
    BOOL(WINAPI *UnregisterClassA)(LPCSTR, HINSTANCE);
    HICON(WINAPI *LoadIconA)(HINSTANCE, LPCSTR);
    HCURSOR(WINAPI *LoadCursorA)(HINSTANCE, LPCSTR);

    /* user32: windows */
    HWND(WINAPI *CreateWindowExA)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
    HWND(WINAPI *CreateWindowExW)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
    BOOL(WINAPI *DestroyWindow)(HWND);
    BOOL(WINAPI *GetClientRect)(HWND, LPRECT);
    BOOL(WINAPI *GetWindowRect)(HWND, LPRECT);
    BOOL(WINAPI *ShowWindow)(HWND, int);
    BOOL(WINAPI *SetForegroundWindow)(HWND);
    BOOL(WINAPI *IsIconic)(HWND);
    LONG_PTR(WINAPI *SetWindowLongPtrA)(HWND, int, LONG_PTR);
    LONG_PTR(WINAPI *GetWindowLongPtrA)(HWND, int);
    LRESULT(WINAPI *DefWindowProcA)(HWND, UINT, WPARAM, LPARAM);

    /* user32: the window frame and system metrics */
    BOOL(WINAPI *AdjustWindowRect)(LPRECT, DWORD, BOOL);
    BOOL(WINAPI *AdjustWindowRectEx)(LPRECT, DWORD, BOOL, DWORD);
    int(WINAPI *GetSystemMetrics)(int);

    /* user32: painting */
    BOOL(WINAPI *InvalidateRect)(HWND, const RECT *, BOOL);
    BOOL(WINAPI *GetUpdateRect)(HWND, LPRECT, BOOL);
    HDC(WINAPI *BeginPaint)(HWND, LPPAINTSTRUCT);
    BOOL(WINAPI *EndPaint)(HWND, const PAINTSTRUCT *);

    /* user32: keyboard and focus */
    BOOL(WINAPI *TranslateMessage)(const MSG *);
    SHORT(WINAPI *GetKeyState)(int);
    HWND(WINAPI *SetFocus)(HWND);
    HWND(WINAPI *GetFocus)(void);

    /* user32: mouse and cursor */
    HWND(WINAPI *SetCapture)(HWND);
    BOOL(WINAPI *ReleaseCapture)(void);
    HWND(WINAPI *GetCapture)(void);
    BOOL(WINAPI *GetCursorPos)(LPPOINT);
    int(WINAPI *ShowCursor)(BOOL);

    /* user32: display modes */
    LONG(WINAPI *ChangeDisplaySettingsA)(DEVMODEA *, DWORD);

    /* user32: message boxes */
    int(WINAPI *MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);

    /* user32: window device contexts */
    HDC(WINAPI *GetDC)(HWND);
    int(WINAPI *ReleaseDC)(HWND, HDC);

    /* user32: formatting */
    int(WINAPI *wvsprintfA)(LPSTR, LPCSTR, va_list);

    /* user32: system colours */
    DWORD(WINAPI *GetSysColor)(int);
    BOOL(WINAPI *SetSysColors)(int, const INT *, const COLORREF *);

    /* gdi32: pixel formats */
    int(WINAPI *ChoosePixelFormat)(HDC, const PIXELFORMATDESCRIPTOR *);
    BOOL(WINAPI *SetPixelFormat)(HDC, int, const PIXELFORMATDESCRIPTOR *);
    int(WINAPI *DescribePixelFormat)(HDC, int, UINT, PIXELFORMATDESCRIPTOR *);
    int(WINAPI *GetPixelFormat)(HDC);

    /* gdi32: memory contexts and DIB sections */
    HDC(WINAPI *CreateCompatibleDC)(HDC);
    BOOL(WINAPI *DeleteDC)(HDC);
    HBITMAP(WINAPI *CreateDIBSection)(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
    int(WINAPI *SetDIBits)(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT);
    BOOL(WINAPI *GdiFlush)(void);

    /* gdi32: objects of every kind */
    HGDIOBJ(WINAPI *GetStockObject)(int);
    HGDIOBJ(WINAPI *SelectObject)(HDC, HGDIOBJ);
    BOOL(WINAPI *DeleteObject)(HGDIOBJ);

    /* gdi32: logical palettes and the system palette */
    HPALETTE(WINAPI *CreatePalette)(const LOGPALETTE *);
    UINT(WINAPI *SetPaletteEntries)(HPALETTE, UINT, UINT, const PALETTEENTRY *);
    UINT(WINAPI *GetPaletteEntries)(HPALETTE, UINT, UINT, LPPALETTEENTRY);
    BOOL(WINAPI *UnrealizeObject)(HGDIOBJ);
    HPALETTE(WINAPI *SelectPalette)(HDC, HPALETTE, BOOL);
    UINT(WINAPI *RealizePalette)(HDC);
    UINT(WINAPI *SetSystemPaletteUse)(HDC, UINT);
    UINT(WINAPI *GetSystemPaletteUse)(HDC);
    UINT(WINAPI *GetSystemPaletteEntries)(HDC, UINT, UINT, LPPALETTEENTRY);
    int(WINAPI *GetDeviceCaps)(HDC, int);

    /* gdi32: presentation */
    BOOL(WINAPI *SwapBuffers)(HDC);

    /* opengl32: context binding */
    HGLRC(WINAPI *wglCreateContext)(HDC);
    BOOL(WINAPI *wglMakeCurrent)(HDC, HGLRC);
    BOOL(WINAPI *wglDeleteContext)(HGLRC);

    /* advapi32: the registry, read-only */
    LSTATUS(WINAPI *RegOpenKeyExA)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
    LSTATUS(WINAPI *RegQueryValueExA)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    LSTATUS(WINAPI *RegCloseKey)(HKEY);
} PlatformTable;

/* The table every call goes through. */
extern PlatformTable platform;

/* The build's own implementation, as installed at start-up. */
PlatformTable PlatformSystemTable(void);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_PLATFORM_H */
