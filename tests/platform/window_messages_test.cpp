// What default handling, the wide entry points, the frame and the process
// give, on both builds.
#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#include <stdio.h>

namespace {

const WCHAR kWideName[] = {'O', 'v', 'W', 'i', 'd', 'e', 0};

TEST_F(WindowTest, AWideClassIsFoundByItsNarrowNameAndAWideTitleShows)
{
    WNDCLASSW wide{};
    wide.lpfnWndProc = RecordingProc;
    wide.hInstance = instance_;
    wide.lpszClassName = kWideName;
    ASSERT_NE(platform.RegisterClassW(&wide), 0);
    WNDCLASSA narrow{};
    narrow.lpfnWndProc = RecordingProc;
    narrow.hInstance = instance_;
    narrow.lpszClassName = "OVWIDE"; // names compare without case
    EXPECT_EQ(platform.RegisterClassA(&narrow), 0);

    const WCHAR title[] = {'t', 0x00E9, 's', 't', 0};
    HWND byWide = platform.CreateWindowExW(0, kWideName, title, kWindowedStyle, 0, 0, 200, 150, nullptr, nullptr,
                                           instance_, nullptr);
    HWND byNarrow = platform.CreateWindowExA(0, "OvWide", "narrow", kWindowedStyle, 0, 0, 200, 150, nullptr,
                                             nullptr, instance_, nullptr);
    ASSERT_NE(byWide, nullptr);
    ASSERT_NE(byNarrow, nullptr);
    EXPECT_FALSE(platform.UnregisterClassA("OvWide", instance_)); // windows still use it
    platform.DestroyWindow(byWide);
    platform.DestroyWindow(byNarrow);
    EXPECT_TRUE(platform.UnregisterClassA("OvWide", instance_));
}

// Alt+F4 closes through default handling alone, as where no window manager
// would; nothing else does.
TEST_F(WindowTest, AltF4BecomesTheCloseCommand)
{
    struct Case {
        WORD keyFlags;
        WPARAM key;
        bool closes;
    };
    const Case cases[] = {{0, VK_F1 + 2, false}, {KF_ALTDOWN, VK_F1 + 2, false}, {0, VK_F4, false},
                          {KF_ALTDOWN, VK_F4, true}};
    for (const Case &each : cases) {
        SCOPED_TRACE(int(each.key) * 100 + (each.keyFlags != 0));
        HWND window = Open(200, 100);
        ASSERT_NE(window, nullptr);
        delivered.clear();
        platform.SendMessageA(window, WM_SYSKEYDOWN, each.key, MAKELPARAM(1, each.keyFlags | 0x3E));
        PumpFor(30);
        const std::vector<Delivered> closing = DeliveredOf({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
        ASSERT_EQ(closing.size(), each.closes ? 3u : 0u);
        if (each.closes) {
            EXPECT_EQ(closing[0].wParam & 0xFFF0, WPARAM(SC_CLOSE));
        }
        RECT client;
        EXPECT_EQ(platform.GetClientRect(window, &client) == FALSE, each.closes);
        platform.DestroyWindow(window);
    }
}

// The outer rectangle is the frame AdjustWindowRectEx adds, around the
// client corner that WM_MOVE reported.
TEST_F(WindowTest, TheWindowRectangleIsTheFrameAroundTheReportedClientCorner)
{
    HWND window = Open(320, 200, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_NE(window, nullptr);
    platform.ShowWindow(window, SW_SHOW);
    PumpFor(200);
    const std::vector<Delivered> moves = DeliveredOf({WM_MOVE});
    ASSERT_FALSE(moves.empty());
    RECT frame{0, 0, 320, 200};
    ASSERT_TRUE(platform.AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0));
    RECT outer{};
    ASSERT_TRUE(platform.GetWindowRect(window, &outer));
    EXPECT_EQ(outer.left - frame.left, short(LOWORD(moves.back().lParam)));
    EXPECT_EQ(outer.top - frame.top, short(HIWORD(moves.back().lParam)));
    EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
    EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top);
}

TEST(WindowFrame, AdjustWindowRectIsTheExtendedFormWithoutExtendedStyle)
{
    for (DWORD style : {DWORD(WS_OVERLAPPEDWINDOW), DWORD(WS_POPUP), DWORD(WS_CAPTION | WS_SYSMENU),
                        DWORD(WS_POPUP | WS_BORDER), DWORD(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)}) {
        for (BOOL menu : {FALSE, TRUE}) {
            SCOPED_TRACE(style);
            RECT plain{10, 20, 110, 220}, extended = plain;
            ASSERT_TRUE(platform.AdjustWindowRect(&plain, style, menu));
            ASSERT_TRUE(platform.AdjustWindowRectEx(&extended, style, menu, 0));
            EXPECT_EQ(plain.left, extended.left);
            EXPECT_EQ(plain.top, extended.top);
            EXPECT_EQ(plain.right, extended.right);
            EXPECT_EQ(plain.bottom, extended.bottom);
        }
    }
}

TEST(Process, TheVersionRecordIsFilledOnlyForAKnownSize)
{
    struct Case {
        DWORD size;
        bool filled;
    };
    const Case cases[] = {{sizeof(OSVERSIONINFOA), true}, {sizeof(OSVERSIONINFOA) + 8, true}, {0, false},
                          {sizeof(OSVERSIONINFOA) - 4, false}};
    for (const Case &each : cases) {
        SCOPED_TRACE(each.size);
        BYTE record[sizeof(OSVERSIONINFOA) + 8] = {};
        OSVERSIONINFOA *version = reinterpret_cast<OSVERSIONINFOA *>(record);
        version->dwOSVersionInfoSize = each.size;
        EXPECT_EQ(platform.GetVersionExA(version) != FALSE, each.filled);
        if (!each.filled)
            continue;
        EXPECT_EQ(version->dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
        EXPECT_GE(version->dwMajorVersion, 5u); // never the 3.5 that knows fewer system colours
    }
}

// Ends at once with its code, after writing out what was buffered, even
// with a window and a current GL context about.
TEST(Process, ExitProcessEndsAtOnceAndFlushes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static char buffer[256];
            setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
            static TestGLContext gl;
            fprintf(stderr, "context %s, leaving", gl.Open() ? "current" : gl.Failure());
            platform.ExitProcess(7);
        },
        ::testing::ExitedWithCode(7), "context current, leaving");
}

} // namespace
