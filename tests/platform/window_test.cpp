// Window classes, windows, their frame, default handling of their messages,
// update regions and painting, GDI objects, display modes, the process and
// the installed table, on both builds.
#include <stdio.h>
#include <string.h>

#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"

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

using Painting = WindowTest;

// The bounds of what was marked, clipped to the client area, are what
// BeginPaint paints and validates; it erases when asked, with the class
// brush when there is one.
TEST_F(Painting, BeginPaintValidatesAndErasesWhenAsked)
{
    ASSERT_NE(Register("OvPaintBrushed", static_cast<HBRUSH>(platform.GetStockObject(BLACK_BRUSH))), 0);
    const struct Case {
        const char *why;
        bool brush;
        std::vector<RECT> marked; // none: the whole client area
        BOOL erase, stillToErase;
        RECT bounds;
    } cases[] = {
        {"no erase", false, {}, FALSE, FALSE, {0, 0, 200, 100}},
        {"erased by the class brush", true, {}, TRUE, FALSE, {0, 0, 200, 100}},
        {"no brush to erase with", false, {}, TRUE, TRUE, {0, 0, 200, 100}},
        {"two rectangles", false, {{10, 20, 30, 40}, {50, 5, 60, 25}}, FALSE, FALSE, {10, 5, 60, 40}},
        {"clipped to the client area", false, {{150, 50, 400, 300}}, FALSE, FALSE, {150, 50, 200, 100}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.why);
        HWND window = Open(200, 100, kWindowedStyle, true, 0, 0, each.brush ? "OvPaintBrushed" : kClassName);
        if (each.marked.empty())
            platform.InvalidateRect(window, nullptr, each.erase);
        for (const RECT &r : each.marked)
            platform.InvalidateRect(window, &r, each.erase);
        RECT update{};
        PAINTSTRUCT paint{};
        EXPECT_TRUE(platform.GetUpdateRect(window, &update, FALSE));
        platform.BeginPaint(window, &paint);
        EXPECT_EQ(DeliveredOf({WM_ERASEBKGND}).size(), each.erase ? 1u : 0u);
        EXPECT_EQ(paint.fErase, each.stillToErase);
        EXPECT_EQ(memcmp(&update, &each.bounds, sizeof update), 0);
        EXPECT_EQ(memcmp(&paint.rcPaint, &each.bounds, sizeof update), 0);
        EXPECT_TRUE(platform.EndPaint(window, &paint));
        EXPECT_FALSE(platform.GetUpdateRect(window, &update, FALSE));
        EXPECT_FALSE(PaintWaits(window));
        platform.DestroyWindow(window);
    }
    platform.UnregisterClassA("OvPaintBrushed", instance_);

    // An invalidation without erase leaves an erase still due.
    HWND window = Open(200, 100, kWindowedStyle, true);
    const RECT first{0, 0, 10, 10}, second{20, 20, 30, 30};
    platform.InvalidateRect(window, &first, TRUE);
    platform.InvalidateRect(window, &second, FALSE);
    PAINTSTRUCT paint{};
    platform.BeginPaint(window, &paint);
    EXPECT_EQ(DeliveredOf({WM_ERASEBKGND}).size(), 1u);
    platform.EndPaint(window, &paint);
}

// The class asks for a full repaint on every size change through default
// handling: the background is erased at once, before the size message, and
// the paint follows. Minimised, a window has nothing to paint, not even what
// was marked before; restored from there, it is active again, with its size
// and all of it to paint.
TEST_F(Painting, SizeChangesRepaintWithEraseButAMinimisedWindowNothing)
{
    HWND window = Open(200, 100, WS_OVERLAPPEDWINDOW, true);
    const WPARAM commands[] = {SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE, SC_RESTORE};
    const WPARAM kinds[] = {SIZE_MAXIMIZED, SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const WPARAM kind = kinds[i];
        const bool minimised = i == 2, fromMinimised = i == 3;
        delivered.clear();
        if (minimised)
            platform.InvalidateRect(window, nullptr, TRUE);
        platform.SendMessageA(window, WM_SYSCOMMAND, commands[i], 0);
        EXPECT_EQ(platform.IsIconic(window) != FALSE, minimised);
        if (minimised)
            platform.InvalidateRect(window, nullptr, TRUE);
        EXPECT_TRUE(!fromMinimised || PaintWaits(window));
        for (int n = 0; n < 60 && (DeliveredOf({WM_SIZE}).empty() || DeliveredOf({WM_SIZE}).back().wParam != kind); ++n)
            PumpFor(50);
        PumpFor(100); // and painted
        const std::vector<Delivered> seen = DeliveredOf({WM_SIZE, WM_PAINT, WM_ERASEBKGND}),
                                     activated = DeliveredOf({WM_ACTIVATE});
        ASSERT_GE(seen.size(), minimised ? 1u : 3u);
        if (minimised) {
            EXPECT_TRUE(DeliveredOf({WM_PAINT}).empty());
            EXPECT_FALSE(PaintWaits(window));
            EXPECT_EQ(std::make_pair(seen.back().wParam, seen.back().lParam), std::make_pair(WPARAM(kind), LPARAM(0)));
        } else if (fromMinimised) { // Wine erases at another moment coming back
            EXPECT_FALSE(DeliveredOf({WM_ERASEBKGND}).empty());
            EXPECT_EQ(DeliveredOf({WM_SIZE}).back().lParam, MAKELPARAM(200, 100));
            ASSERT_FALSE(activated.empty());
            EXPECT_EQ(HIWORD(activated.back().wParam), 0);
            EXPECT_NE(LOWORD(activated.back().wParam), WA_INACTIVE);
        } else { // an expose from the X server may add a paint later, so look from the size message
            size_t size = 0;
            while (size < seen.size() && !(seen[size].message == WM_SIZE && seen[size].wParam == kind))
                ++size;
            ASSERT_TRUE(size > 0 && size + 1 < seen.size());
            EXPECT_EQ(seen[size - 1].message, UINT(WM_ERASEBKGND));
            EXPECT_EQ(seen[size + 1].message, UINT(WM_PAINT));
        }
    }
    RECT client;
    platform.GetClientRect(window, &client);
    EXPECT_EQ(SizeOf(client), std::make_pair(200L, 100L));
}

// A member left null would be a call through null on first use.
TEST(PlatformTable, EveryMemberIsFilled)
{
    using Member = void (*)();
    static_assert(sizeof(PlatformTable) % sizeof(Member) == 0, "the table holds function pointers only");
    Member members[sizeof(PlatformTable) / sizeof(Member)];
    const PlatformTable table = PlatformSystemTable();
    memcpy(members, &table, sizeof table);
    for (size_t i = 0; i < std::size(members); ++i)
        EXPECT_NE(members[i], nullptr) << "member " << i << " of platform.h";
}

// What fits into a device context, and what deleting does to each kind.
TEST(GdiObjects, SelectAndDeleteFollowTheKindOfObject)
{
    const HGDIOBJ white = platform.GetStockObject(WHITE_BRUSH);
    const HGDIOBJ black = platform.GetStockObject(BLACK_BRUSH);
    EXPECT_NE(white, black);

    HDC first = platform.CreateCompatibleDC(nullptr);
    HDC second = platform.CreateCompatibleDC(nullptr);
    EXPECT_EQ(platform.SelectObject(first, black), white); // a new context holds the white brush
    EXPECT_EQ(platform.SelectObject(first, white), black);
    EXPECT_EQ(platform.SelectObject(first, second), nullptr); // a context is not selectable

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP section = platform.CreateDIBSection(first, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ stockBitmap = platform.SelectObject(first, section);
    EXPECT_NE(stockBitmap, nullptr);
    EXPECT_EQ(platform.SelectObject(second, section), nullptr); // one context at a time
    EXPECT_EQ(platform.SelectObject(first, stockBitmap), section);
    EXPECT_NE(platform.SelectObject(second, section), nullptr);

    EXPECT_TRUE(platform.DeleteObject(black)); // stock objects survive deleting
    EXPECT_EQ(platform.SelectObject(first, black), white);
    // Selected, the section outlives a delete (GDI refuses it, Wine defers it).
    platform.DeleteObject(section);
    const BYTE rows[4][12] = {};
    EXPECT_EQ(platform.SetDIBits(second, section, 0, 4, rows, &info, DIB_RGB_COLORS), 4);
    EXPECT_TRUE(platform.DeleteObject(second)); // as DeleteDC, which lets the section go
    EXPECT_FALSE(platform.DeleteDC(second));
    platform.DeleteObject(section);
    EXPECT_TRUE(platform.DeleteDC(first));
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
        EXPECT_EQ(version->dwPlatformId, filled ? DWORD(VER_PLATFORM_WIN32_NT) : 0u);
        EXPECT_GE(version->dwMajorVersion, filled ? 5u : 0u); // never the 3.5 that knows fewer system colours
    }
}

// A colour-scheme value fits a buffer of exactly its size, terminator
// included, and no smaller one.
TEST(Registry, AValueFitsABufferOfItsOwnSize)
{
    HKEY colours = nullptr;
    ASSERT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &colours),
              ERROR_SUCCESS);
    DWORD needed = 0;
    ASSERT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, nullptr, &needed), ERROR_SUCCESS);
    char text[64];
    for (const DWORD offered : {needed, needed - 1}) {
        DWORD size = offered;
        EXPECT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size),
                  offered == needed ? ERROR_SUCCESS : ERROR_MORE_DATA);
        EXPECT_EQ(size, needed);
    }
    platform.RegCloseKey(colours);
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
// them when the peek returns. Only the active window is deactivated.
TEST_F(WindowTest, SdlEventsBecomeMessages)
{
    HWND window = Open(320, 200);
    PumpFor(30);
    const Uint32 id = SDL_GetWindowID(HostSdlWindow(window));
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
        {SDL_WINDOWEVENT_FOCUS_GAINED, {{WM_ACTIVATE, WA_ACTIVE}}},
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

// A handler that peeks while the first showing's messages are sent lets the
// window manager's move in; the showing's own corner, collected before it,
// must not be the last word.
LRESULT CALLBACK PeekingOnSize(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG waiting;
    if (message == WM_SIZE)
        platform.PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE);
    return RecordingProc(window, message, wParam, lParam);
}

TEST_F(WindowTest, TheLastMoveTellsWhereTheWindowIsAfterAMoveDuringTheShowing)
{
    const WNDCLASSA peeking{0, PeekingOnSize, 0, 0, instance_, nullptr, nullptr, nullptr, nullptr, "OvPeeking"};
    ASSERT_NE(platform.RegisterClassA(&peeking), 0);
    HWND window = Open(200, 100, WS_OVERLAPPEDWINDOW, false, 40, 50, "OvPeeking");
    SDL_Event event{};
    event.window = {SDL_WINDOWEVENT, 0, SDL_GetWindowID(HostSdlWindow(window)), SDL_WINDOWEVENT_MOVED, 0, 0, 0,
                    317, 229};
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    platform.ShowWindow(window, SW_SHOW);
    RECT outer{}, frame{0, 0, 0, 0};
    platform.GetWindowRect(window, &outer);
    platform.AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    const std::vector<Delivered> moves = DeliveredOf({WM_MOVE});
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ(moves.back().lParam, MAKELPARAM(outer.left - frame.left, outer.top - frame.top));
    platform.DestroyWindow(window);
    platform.UnregisterClassA("OvPeeking", instance_);
}
#endif

} // namespace
