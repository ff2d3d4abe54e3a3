/* The one table through which the program reaches the operating system.
 *
 * Every member carries the name, parameters and result of the Win32 function it
 * stands for. The Windows build fills it with the real API; the portable build
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
    /* kernel32: threads, events and waiting */
    HANDLE(WINAPI *CreateThread)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
    DWORD(WINAPI *WaitForSingleObject)(HANDLE, DWORD);
    BOOL(WINAPI *GetExitCodeThread)(HANDLE, LPDWORD);
    HANDLE(WINAPI *CreateEventA)(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCSTR);
    BOOL(WINAPI *SetEvent)(HANDLE);
    BOOL(WINAPI *CloseHandle)(HANDLE);
    DWORD(WINAPI *GetCurrentThreadId)(void);
    void(WINAPI *Sleep)(DWORD);
    HMODULE(WINAPI *GetModuleHandleA)(LPCSTR);

    /* user32: message queues */
    BOOL(WINAPI *PeekMessageA)(LPMSG, HWND, UINT, UINT, UINT);
    BOOL(WINAPI *GetMessageA)(LPMSG, HWND, UINT, UINT);
    BOOL(WINAPI *PostMessageA)(HWND, UINT, WPARAM, LPARAM);
    BOOL(WINAPI *PostThreadMessageA)(DWORD, UINT, WPARAM, LPARAM);
    void(WINAPI *PostQuitMessage)(int);
    BOOL(WINAPI *TranslateMessage)(const MSG *);
    LRESULT(WINAPI *DispatchMessageA)(const MSG *);
    LRESULT(WINAPI *SendMessageA)(HWND, UINT, WPARAM, LPARAM);
    DWORD(WINAPI *MsgWaitForMultipleObjects)(DWORD, const HANDLE *, BOOL, DWORD, DWORD);

    /* user32: window classes and windows */
    ATOM(WINAPI *RegisterClassA)(const WNDCLASSA *);
    BOOL(WINAPI *UnregisterClassA)(LPCSTR, HINSTANCE);
    HWND(WINAPI *CreateWindowExA)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
    BOOL(WINAPI *DestroyWindow)(HWND);
    LRESULT(WINAPI *DefWindowProcA)(HWND, UINT, WPARAM, LPARAM);
    BOOL(WINAPI *AdjustWindowRectEx)(LPRECT, DWORD, BOOL, DWORD);
    BOOL(WINAPI *GetClientRect)(HWND, LPRECT);
    BOOL(WINAPI *ShowWindow)(HWND, int);
    BOOL(WINAPI *SetForegroundWindow)(HWND);
    HWND(WINAPI *SetFocus)(HWND);
    BOOL(WINAPI *IsIconic)(HWND);
    LONG_PTR(WINAPI *SetWindowLongPtrA)(HWND, int, LONG_PTR);
    LONG_PTR(WINAPI *GetWindowLongPtrA)(HWND, int);
    HICON(WINAPI *LoadIconA)(HINSTANCE, LPCSTR);
    HCURSOR(WINAPI *LoadCursorA)(HINSTANCE, LPCSTR);
    int(WINAPI *ShowCursor)(BOOL);
    LONG(WINAPI *ChangeDisplaySettingsA)(DEVMODEA *, DWORD);
    int(WINAPI *MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);
    HDC(WINAPI *GetDC)(HWND);
    int(WINAPI *ReleaseDC)(HWND, HDC);

    /* gdi32: pixel formats and presentation */
    int(WINAPI *ChoosePixelFormat)(HDC, const PIXELFORMATDESCRIPTOR *);
    BOOL(WINAPI *SetPixelFormat)(HDC, int, const PIXELFORMATDESCRIPTOR *);
    int(WINAPI *DescribePixelFormat)(HDC, int, UINT, PIXELFORMATDESCRIPTOR *);
    BOOL(WINAPI *SwapBuffers)(HDC);

    /* opengl32: context binding */
    HGLRC(WINAPI *wglCreateContext)(HDC);
    BOOL(WINAPI *wglMakeCurrent)(HDC, HGLRC);
    BOOL(WINAPI *wglDeleteContext)(HGLRC);

    /* kernel32: files, read-only mappings and the local heap */
    HANDLE(WINAPI *CreateFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    HANDLE(WINAPI *CreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI *ReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    DWORD(WINAPI *SetFilePointer)(HANDLE, LONG, PLONG, DWORD);
    DWORD(WINAPI *GetFileSize)(HANDLE, LPDWORD);
    HANDLE(WINAPI *CreateFileMappingA)(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR);
    LPVOID(WINAPI *MapViewOfFile)(HANDLE, DWORD, DWORD, DWORD, SIZE_T);
    BOOL(WINAPI *UnmapViewOfFile)(LPCVOID);
    HLOCAL(WINAPI *LocalAlloc)(UINT, SIZE_T);
    HLOCAL(WINAPI *LocalFree)(HLOCAL);

    /* user32: focus, metrics and formatting */
    HWND(WINAPI *GetFocus)(void);
    int(WINAPI *GetSystemMetrics)(int);
    int(WINAPI *wvsprintfA)(LPSTR, LPCSTR, va_list);

    /* gdi32: memory contexts and DIB sections */
    HDC(WINAPI *CreateCompatibleDC)(HDC);
    BOOL(WINAPI *DeleteDC)(HDC);
    HBITMAP(WINAPI *CreateDIBSection)(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
    HGDIOBJ(WINAPI *SelectObject)(HDC, HGDIOBJ);
    int(WINAPI *SetDIBits)(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT);
    BOOL(WINAPI *GdiFlush)(void);
    BOOL(WINAPI *DeleteObject)(HGDIOBJ);
} PlatformTable;

/* The table every call goes through. */
extern PlatformTable platform;

/* The build's own implementation, as installed at start-up. */
PlatformTable PlatformSystemTable(void);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_PLATFORM_H */
