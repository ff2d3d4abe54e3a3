// Window classes, windows, their frame, default handling of their messages,
// display modes and the process, on both builds.
#include <stdio.h>
#include <string.h>

#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

#ifndef _WIN32
#include <SDL.h>

#include "user32/window_registry.h"
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
TEST_F(WindowTest, TheClientAreaIsAsAskedAndTheFrameAroundTheReportedCorner)
{
    HWND window = Open(320, 200, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(window, nullptr);
    platform.ShowWindow(window, SW_SHOW);
    PumpFor(200);
    RECT client{}, outer{}, frame{0, 0, 320, 200};
    ASSERT_TRUE(platform.GetClientRect(window, &client));
    EXPECT_EQ(SizeOf(client), std::make_pair(320L, 200L));
#ifndef _WIN32
    int sdlWidth = 0, sdlHeight = 0;
    SDL_GetWindowSize(PortableSdlWindow(window), &sdlWidth, &sdlHeight);
    EXPECT_EQ(std::make_pair(sdlWidth, sdlHeight), std::make_pair(320, 200));
#endif
    platform.AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0);
    ASSERT_TRUE(platform.GetWindowRect(window, &outer));
    EXPECT_EQ(SizeOf(outer), SizeOf(frame));
    const std::vector<Delivered> moves = DeliveredOf({WM_MOVE});
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(outer.left - frame.left, outer.top - frame.top));
}

TEST(WindowFrame, AdjustWindowRectIsTheExtendedFormWithoutExtendedStyle)
{
    for (DWORD style : {DWORD(WS_OVERLAPPEDWINDOW), DWORD(WS_POPUP | WS_BORDER), DWORD(WS_CAPTION)}) {
        for (BOOL menu : {FALSE, TRUE}) {
            SCOPED_TRACE(style);
            RECT plain{10, 20, 110, 220}, extended = plain;
            ASSERT_TRUE(platform.AdjustWindowRect(&plain, style, menu));
            ASSERT_TRUE(platform.AdjustWindowRectEx(&extended, style, menu, 0));
            EXPECT_EQ(memcmp(&plain, &extended, sizeof plain), 0);
        }
    }
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
    for (const Case &each : cases) {
        SCOPED_TRACE(int(each.key) * 100 + (each.keyFlags != 0));
        HWND window = Open(200, 100);
        ASSERT_NE(window, nullptr);
        delivered.clear();
        platform.SendMessageA(window, WM_SYSKEYDOWN, each.key, MAKELPARAM(1, each.keyFlags | 0x3E));
        PumpFor(30);
        EXPECT_EQ(Seen({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}), each.closes ? kClosing : Messages{});
        RECT client;
        EXPECT_EQ(platform.GetClientRect(window, &client) == FALSE, each.closes);
        platform.DestroyWindow(window);
    }
}

// Minimised through default handling, a window has nothing to paint, not
// even what was marked before; restored, it is active again and all of it
// is painted, erased first.
TEST_F(WindowTest, MinimiseAndRestoreReportSizeActivationAndPaint)
{
    HWND window = Open(320, 200, kWindowedStyle, true);
    ASSERT_NE(window, nullptr);
    MSG message;
    platform.InvalidateRect(window, nullptr, TRUE);
    platform.SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(platform.IsIconic(window));
    platform.InvalidateRect(window, nullptr, TRUE);
    PumpFor(100);
    EXPECT_FALSE(platform.PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_TRUE(DeliveredOf({WM_PAINT}).empty());
    std::vector<Delivered> sized = DeliveredOf({WM_SIZE});
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(std::make_pair(sized.back().wParam, sized.back().lParam), std::make_pair(WPARAM(SIZE_MINIMIZED), 0L));

    delivered.clear();
    platform.SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(platform.IsIconic(window));
    EXPECT_TRUE(platform.PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    PumpFor(100);
    sized = DeliveredOf({WM_SIZE});
    const std::vector<Delivered> activated = DeliveredOf({WM_ACTIVATE});
    ASSERT_FALSE(sized.empty() || activated.empty());
    EXPECT_EQ(std::make_pair(sized.back().wParam, sized.back().lParam),
              std::make_pair(WPARAM(SIZE_RESTORED), MAKELPARAM(320, 200)));
    EXPECT_EQ(HIWORD(activated.back().wParam), 0);
    EXPECT_NE(LOWORD(activated.back().wParam), WA_INACTIVE);
    EXPECT_FALSE(DeliveredOf({WM_ERASEBKGND}).empty());
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

TEST(Process, TheVersionRecordIsFilledOnlyForAKnownSize)
{
    for (DWORD size : {DWORD(sizeof(OSVERSIONINFOA)), DWORD(sizeof(OSVERSIONINFOA) + 8), DWORD(0),
                       DWORD(sizeof(OSVERSIONINFOA) - 4)}) {
        SCOPED_TRACE(size);
        BYTE record[sizeof(OSVERSIONINFOA) + 8] = {};
        OSVERSIONINFOA *version = reinterpret_cast<OSVERSIONINFOA *>(record);
        version->dwOSVersionInfoSize = size;
        const bool filled = size >= sizeof(OSVERSIONINFOA);
        EXPECT_EQ(platform.GetVersionExA(version) != FALSE, filled);
        if (!filled)
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

#ifndef _WIN32
// SDL's key events wait in the queue for the window, a repeated press as
// one that was down before; its window events are sent: the procedure has
// them when the peek returns.
TEST_F(WindowTest, SdlEventsBecomeMessages)
{
    HWND window = Open(320, 200);
    ASSERT_NE(window, nullptr);
    PumpFor(30);
    const Uint32 id = SDL_GetWindowID(PortableSdlWindow(window));
    SDL_Event event{};
    event.key = {SDL_KEYDOWN, 0, id, SDL_PRESSED, 0, 0, 0, {SDL_SCANCODE_UNKNOWN, SDLK_F5, 0, 0}};
    for (Uint8 repeat : {0, 1}) {
        event.key.repeat = repeat;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    MSG message;
    for (LPARAM downBefore : {0, 0x40000000}) {
        ASSERT_TRUE(platform.PeekMessageA(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
        EXPECT_EQ(message.wParam, WPARAM(VK_F1 + 4));
        EXPECT_EQ(message.lParam & 0xC0000000, downBefore);
    }
    const std::pair<Uint8, Messages> sent[] = {
        {SDL_WINDOWEVENT_MINIMIZED, {{WM_SIZE, SIZE_MINIMIZED}, {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1)}}},
        {SDL_WINDOWEVENT_CLOSE, kClosing}};
    for (const auto &[windowEvent, expected] : sent) {
        delivered.clear();
        event.window = {SDL_WINDOWEVENT, 0, id, windowEvent, 0, 0, 0, 0, 0};
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        EXPECT_EQ(Seen({WM_SIZE, WM_ACTIVATE, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}), expected);
    }
}
#endif

} // namespace
