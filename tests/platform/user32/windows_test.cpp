// Window classes, windows and their frame, the default handling of their
// messages, the cursor's display count and display modes, on both builds.
#include <string.h>

#include "tests/platform/window_fixture.h"

#ifndef _WIN32
#include <SDL.h>

#include "host/sdl_windows.h"
#endif

namespace {

using Messages = std::vector<std::pair<UINT, WPARAM>>;
const Messages kClosing{{WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE, 0}, {WM_DESTROY, 0}};

// One registry for both forms of a name, which compare without case; a
// class stays while windows use it. A window's user data holds a pointer.
TEST_F(WindowTest, AClassIsRegisteredOnceUnderEitherFormOfItsName)
{
    const WCHAR wideName[] = {'O', 'v', 'W', 'i', 'd', 'e', 0}, title[] = {'t', 0x00E9, 's', 't', 0};
    WNDCLASSW wide{0, RecordingProc, 0, 0, instance_, nullptr, nullptr, nullptr, nullptr, wideName};
    ASSERT_NE(platform.RegisterClassW(&wide), 0);
    EXPECT_EQ(Register("OVWIDE"), 0);
    HWND byWide = platform.CreateWindowExW(0, wideName, title, kWindowedStyle, 0, 0, 200, 150, nullptr, nullptr,
                                           instance_, nullptr);
    HWND byNarrow = Open(200, 150, kWindowedStyle, false, 0, 0, "OvWide");
    ASSERT_NE(byWide, nullptr);
    ASSERT_NE(byNarrow, nullptr);
    // Every byte of a pointer set, so a 32-bit slot would lose some on 64-bit.
    const LONG_PTR data = static_cast<LONG_PTR>(~static_cast<uintptr_t>(0) / 3);
    EXPECT_EQ(platform.SetWindowLongPtrA(byNarrow, GWLP_USERDATA, data), 0);
    EXPECT_EQ(platform.GetWindowLongPtrA(byNarrow, GWLP_USERDATA), data);

    EXPECT_FALSE(platform.UnregisterClassA("OvWide", instance_));
    platform.DestroyWindow(byWide);
    platform.DestroyWindow(byNarrow);
    EXPECT_TRUE(platform.UnregisterClassA("OvWide", instance_));
    EXPECT_FALSE(platform.UnregisterClassA("OvWide", instance_));
    EXPECT_NE(Register("OVWIDE"), 0);
    EXPECT_TRUE(platform.UnregisterClassA("OvWide", instance_));
}

// The client area is what the adjusted rectangle asked for; the outer one
// is the frame AdjustWindowRectEx adds, around the corner WM_MOVE reported.
// AdjustWindowRect is the same without extended style.
TEST_F(WindowTest, TheClientAreaIsAsAskedAndTheFrameAroundTheReportedCorner)
{
    HWND window = Open(320, 200, WS_OVERLAPPEDWINDOW);
    platform.ShowWindow(window, SW_SHOW);
    PumpFor(200);
    RECT client{}, outer{}, frame{0, 0, 320, 200};
    ASSERT_TRUE(platform.GetClientRect(window, &client));
    EXPECT_EQ(SizeOf(client), std::make_pair(320L, 200L));
#ifndef _WIN32
    int sdlWidth = 0, sdlHeight = 0;
    SDL_GetWindowSize(HostSdlWindow(window), &sdlWidth, &sdlHeight);
    EXPECT_EQ(std::make_pair(sdlWidth, sdlHeight), std::make_pair(320, 200));
#endif
    platform.AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0);
    ASSERT_TRUE(platform.GetWindowRect(window, &outer));
    EXPECT_EQ(SizeOf(outer), SizeOf(frame));
    const std::vector<Delivered> moves = DeliveredOf({WM_MOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(outer.left - frame.left, outer.top - frame.top));
    RECT plain{10, 20, 110, 220}, extended = plain; // with a menu
    ASSERT_TRUE(platform.AdjustWindowRect(&plain, WS_POPUP | WS_CAPTION, TRUE));
    ASSERT_TRUE(platform.AdjustWindowRectEx(&extended, WS_POPUP | WS_CAPTION, TRUE, 0));
    EXPECT_EQ(memcmp(&plain, &extended, sizeof plain), 0);
}

// Alt+F4 closes through default handling alone, as where no window manager
// would; nothing else does.
TEST_F(WindowTest, AltF4BecomesTheCloseCommand)
{
    const struct Case {
        WORD keyFlags;
        WPARAM key;
        bool closes;
    } cases[] = {{0, VK_F1 + 2, false}, {KF_ALTDOWN, VK_F1 + 2, false}, {0, VK_F4, false}, {KF_ALTDOWN, VK_F4, true}};
    HWND window = Open(200, 100);
    for (const Case &each : cases) { // the one that closes last
        SCOPED_TRACE(int(each.key) * 100 + (each.keyFlags != 0));
        delivered.clear();
        platform.SendMessageA(window, WM_SYSKEYDOWN, each.key, MAKELPARAM(1, each.keyFlags | 0x3E));
        PumpFor(30);
        EXPECT_EQ(Seen({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}), each.closes ? kClosing : Messages{});
        RECT client;
        EXPECT_EQ(platform.GetClientRect(window, &client) == FALSE, each.closes);
    }
}

TEST_F(WindowTest, TheCursorKeepsADisplayCountAndOnlyTheDisplaysModesAreTaken)
{
    for (const auto &[show, count] : {std::make_pair(FALSE, -1), {FALSE, -2}, {TRUE, -1}, {TRUE, 0}})
        EXPECT_EQ(platform.ShowCursor(show), count);
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = 12345;
    mode.dmPelsHeight = 77;
    EXPECT_EQ(platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    mode.dmPelsWidth = static_cast<DWORD>(platform.GetSystemMetrics(SM_CXSCREEN));
    mode.dmPelsHeight = static_cast<DWORD>(platform.GetSystemMetrics(SM_CYSCREEN));
    ASSERT_GT(mode.dmPelsWidth, 0u);
    ASSERT_EQ(platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(platform.ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

} // namespace
