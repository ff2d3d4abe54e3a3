// The Windows build: every member is the real API.
#include "platform/platform.h"

extern "C" PlatformTable PlatformSystemTable(void)
{
    PlatformTable t{};
    t.CreateThread = ::CreateThread;
    t.WaitForSingleObject = ::WaitForSingleObject;
    t.GetExitCodeThread = ::GetExitCodeThread;
    t.CreateEventA = ::CreateEventA;
    t.SetEvent = ::SetEvent;
    t.CloseHandle = ::CloseHandle;
    t.GetCurrentThreadId = ::GetCurrentThreadId;
    t.Sleep = ::Sleep;
    t.GetModuleHandleA = ::GetModuleHandleA;

    t.PeekMessageA = ::PeekMessageA;
    t.GetMessageA = ::GetMessageA;
    t.PostMessageA = ::PostMessageA;
    t.PostThreadMessageA = ::PostThreadMessageA;
    t.PostQuitMessage = ::PostQuitMessage;
    t.TranslateMessage = ::TranslateMessage;
    t.DispatchMessageA = ::DispatchMessageA;
    t.SendMessageA = ::SendMessageA;
    t.MsgWaitForMultipleObjects = ::MsgWaitForMultipleObjects;

    t.RegisterClassA = ::RegisterClassA;
    t.UnregisterClassA = ::UnregisterClassA;
    t.CreateWindowExA = ::CreateWindowExA;
    t.DestroyWindow = ::DestroyWindow;
    t.DefWindowProcA = ::DefWindowProcA;
    t.AdjustWindowRectEx = ::AdjustWindowRectEx;
    t.GetClientRect = ::GetClientRect;
    t.ShowWindow = ::ShowWindow;
    t.SetForegroundWindow = ::SetForegroundWindow;
    t.SetFocus = ::SetFocus;
    t.IsIconic = ::IsIconic;
    t.SetWindowLongPtrA = ::SetWindowLongPtrA;
    t.GetWindowLongPtrA = ::GetWindowLongPtrA;
    t.LoadIconA = ::LoadIconA;
    t.LoadCursorA = ::LoadCursorA;
    t.ShowCursor = ::ShowCursor;
    t.ChangeDisplaySettingsA = ::ChangeDisplaySettingsA;
    t.MessageBoxA = ::MessageBoxA;
    t.GetDC = ::GetDC;
    t.ReleaseDC = ::ReleaseDC;

    t.ChoosePixelFormat = ::ChoosePixelFormat;
    t.SetPixelFormat = ::SetPixelFormat;
    t.DescribePixelFormat = ::DescribePixelFormat;
    t.SwapBuffers = ::SwapBuffers;

    t.wglCreateContext = ::wglCreateContext;
    t.wglMakeCurrent = ::wglMakeCurrent;
    t.wglDeleteContext = ::wglDeleteContext;

    t.CreateFileA = ::CreateFileA;
    t.CreateFileW = ::CreateFileW;
    t.ReadFile = ::ReadFile;
    t.SetFilePointer = ::SetFilePointer;
    t.GetFileSize = ::GetFileSize;
    t.CreateFileMappingA = ::CreateFileMappingA;
    t.MapViewOfFile = ::MapViewOfFile;
    t.UnmapViewOfFile = ::UnmapViewOfFile;
    t.LocalAlloc = ::LocalAlloc;
    t.LocalFree = ::LocalFree;

    t.GetFocus = ::GetFocus;
    t.GetSystemMetrics = ::GetSystemMetrics;
    t.wvsprintfA = ::wvsprintfA;

    t.CreateCompatibleDC = ::CreateCompatibleDC;
    t.DeleteDC = ::DeleteDC;
    t.CreateDIBSection = ::CreateDIBSection;
    t.SelectObject = ::SelectObject;
    t.SetDIBits = ::SetDIBits;
    t.GdiFlush = ::GdiFlush;
    t.DeleteObject = ::DeleteObject;
    return t;
}
