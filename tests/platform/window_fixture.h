// A window class whose procedure records every message, and the windows a
// test opens with it; all are gone when the test ends.
#ifndef TESTS_PLATFORM_WINDOW_FIXTURE_H
#define TESTS_PLATFORM_WINDOW_FIXTURE_H

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "tests/platform/platform_test_helpers.h"

struct Delivered {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool shiftHeld; // GetKeyState as the message was handled
    HWND capture;
};

inline std::vector<Delivered> delivered;

// Holds the capture while the left button is down. Alt's keys stop here:
// their default handling would enter the window menu's modal loop.
inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    delivered.push_back({message, wParam, lParam, platform.GetKeyState(VK_SHIFT) < 0, platform.GetCapture()});
    if (message == WM_LBUTTONDOWN)
        platform.SetCapture(window);
    if (message == WM_LBUTTONUP)
        platform.ReleaseCapture();
    if (message == WM_SYSKEYUP || message == WM_SYSCHAR)
        return 0;
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

// The application's windowed style.
const DWORD kWindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const DWORD kWindowedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

class WindowTest : public ::testing::Test {
protected:
    static constexpr const char *kClassName = "OvPlatformTest";

    void SetUp() override
    {
#ifndef _WIN32
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no display (run under xvfb-run)";
#endif
        DrainQueue();
        delivered.clear();
        instance_ = platform.GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = instance_;
        windowClass.lpszClassName = kClassName;
        ASSERT_NE(platform.RegisterClassA(&windowClass), 0);
        registered_ = true;
    }

    void TearDown() override
    {
        for (HWND window : windows_)
            platform.DestroyWindow(window); // fails quietly for those already gone
        if (registered_)
            platform.UnregisterClassA(kClassName, instance_);
        DrainQueue();
    }

    // A window whose client area is width x height, by the application's recipe.
    HWND Open(int width, int height, DWORD style = kWindowedStyle, DWORD exStyle = kWindowedExStyle, int x = 0,
              int y = 0)
    {
        RECT outer{0, 0, width, height};
        platform.AdjustWindowRectEx(&outer, style, FALSE, exStyle);
        HWND window = platform.CreateWindowExA(exStyle, kClassName, "Platform Test",
                                               style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                                               outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                               nullptr, instance_, nullptr);
        if (window)
            windows_.push_back(window);
        return window;
    }

    // Translates and dispatches whatever arrives for a while, as a message
    // loop would.
    static void PumpFor(int milliseconds)
    {
        const auto start = std::chrono::steady_clock::now();
        MSG message;
        do {
            while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                platform.TranslateMessage(&message);
                platform.DispatchMessageA(&message);
            }
            platform.Sleep(5);
        } while (MillisecondsSince(start) < milliseconds);
    }

    static std::vector<Delivered> DeliveredOf(std::initializer_list<UINT> messages)
    {
        std::vector<Delivered> picked;
        for (const Delivered &entry : delivered) {
            for (UINT message : messages) {
                if (entry.message == message)
                    picked.push_back(entry);
            }
        }
        return picked;
    }

    HINSTANCE instance_ = nullptr;
    bool registered_ = false;
    std::vector<HWND> windows_;
};

#endif
