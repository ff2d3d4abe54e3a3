// Shared by the platform suites: queue and timing helpers, and a window class
// whose procedure records every message, with the windows a test opens with
// it; all are gone when the test ends.
#ifndef TESTS_PLATFORM_WINDOW_FIXTURE_H
#define TESTS_PLATFORM_WINDOW_FIXTURE_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/platform.h"

// Every suite runs on the main thread and shares its queue: start clean.
inline void DrainQueue()
{
    MSG message;
    while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

inline long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// Win32 timers may end a wait up to one tick (15.6 ms) early; ours never do.
#ifdef _WIN32
constexpr long long kTimerSlackMs = 16;
#else
constexpr long long kTimerSlackMs = 0;
#endif

inline bool PaintWaits(HWND window)
{
    MSG message;
    return platform.PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE;
}

inline std::pair<long, long> SizeOf(const RECT &r)
{
    return {r.right - r.left, r.bottom - r.top};
}

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
        ASSERT_NE(Register(kClassName), 0);
    }

    void TearDown() override
    {
        for (HWND window : windows_)
            platform.DestroyWindow(window); // fails quietly for those already gone
        platform.UnregisterClassA(kClassName, instance_);
    }

    ATOM Register(const char *name, HBRUSH background = nullptr)
    {
        const WNDCLASSA windowClass{CS_OWNDC | CS_HREDRAW | CS_VREDRAW, RecordingProc, 0, 0, instance_, nullptr,
                                    nullptr, background, nullptr, name};
        return platform.RegisterClassA(&windowClass);
    }

    // A window whose client area is width x height, by the application's
    // recipe; shown, in front and settled, with nothing recorded yet, if asked.
    HWND Open(int width, int height, DWORD style = kWindowedStyle, bool shown = false, int x = 0, int y = 0,
              const char *className = kClassName)
    {
        const DWORD exStyle = style == kWindowedStyle ? WS_EX_APPWINDOW | WS_EX_WINDOWEDGE : 0;
        RECT outer{0, 0, width, height};
        platform.AdjustWindowRectEx(&outer, style, FALSE, exStyle);
        HWND window = platform.CreateWindowExA(exStyle, className, "Platform Test",
                                               style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, SizeOf(outer).first,
                                               SizeOf(outer).second, nullptr, nullptr, instance_, nullptr);
        windows_.push_back(window);
        if (window && shown) {
            platform.ShowWindow(window, SW_SHOW);
            platform.SetForegroundWindow(window);
            platform.SetFocus(window);
            PumpFor(200); // default handling validates each WM_PAINT
            delivered.clear();
        }
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

    static std::vector<Delivered> DeliveredOf(std::initializer_list<UINT> kinds)
    {
        std::vector<Delivered> picked;
        for (const Delivered &entry : delivered)
            if (std::find(kinds.begin(), kinds.end(), entry.message) != kinds.end())
                picked.push_back(entry);
        return picked;
    }

    // The messages of these kinds so far with their wParam, a command's
    // without the low four bits, which are the system's own.
    static std::vector<std::pair<UINT, WPARAM>> Seen(std::initializer_list<UINT> kinds)
    {
        std::vector<std::pair<UINT, WPARAM>> seen;
        for (const Delivered &d : DeliveredOf(kinds))
            seen.emplace_back(d.message, d.message == WM_SYSCOMMAND ? d.wParam & 0xFFF0 : d.wParam);
        return seen;
    }

    HINSTANCE instance_ = nullptr;
    std::vector<HWND> windows_;
};

#endif
