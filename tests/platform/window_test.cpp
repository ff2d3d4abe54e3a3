// Window classes, windows, their messages and display modes.
#include "tests/platform/window_fixture.h"

#ifndef _WIN32
#include <SDL.h>

#include "platform/portable/portable_internal.h"
#endif

namespace {

TEST(WindowClasses, ANameRegisteredTwiceFailsUntilUnregistered)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = platform.DefWindowProcA;
    windowClass.hInstance = platform.GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OvTwiceClass";
    EXPECT_NE(platform.RegisterClassA(&windowClass), 0);
    EXPECT_EQ(platform.RegisterClassA(&windowClass), 0);
    windowClass.lpszClassName = "OVTWICECLASS"; // class names ignore case
    EXPECT_EQ(platform.RegisterClassA(&windowClass), 0);

    EXPECT_TRUE(platform.UnregisterClassA("ovtwiceclass", windowClass.hInstance));
    EXPECT_FALSE(platform.UnregisterClassA("OvTwiceClass", windowClass.hInstance));
    EXPECT_NE(platform.RegisterClassA(&windowClass), 0);
    EXPECT_TRUE(platform.UnregisterClassA("OvTwiceClass", windowClass.hInstance));

    EXPECT_NE(platform.LoadIconA(nullptr, IDI_WINLOGO), nullptr);
    EXPECT_NE(platform.LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

void ExpectClientSize(HWND window, LONG width, LONG height)
{
    RECT client{-1, -1, -1, -1};
    ASSERT_TRUE(platform.GetClientRect(window, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
#ifndef _WIN32
    int sdlWidth = 0, sdlHeight = 0;
    SDL_GetWindowSize(PortableSdlWindow(window), &sdlWidth, &sdlHeight);
    EXPECT_EQ(sdlWidth, width);
    EXPECT_EQ(sdlHeight, height);
#endif
}

TEST_F(WindowTest, AnAdjustedRectangleGivesExactlyTheClientArea)
{
    RECT outer{0, 0, 800, 600};
    ASSERT_TRUE(platform.AdjustWindowRectEx(&outer, kWindowedStyle, FALSE, kWindowedExStyle));
    EXPECT_LT(outer.left, 0);
    EXPECT_LT(outer.top, outer.left); // the caption sits on top of the border
    EXPECT_GT(outer.right, 800);
    EXPECT_GT(outer.bottom, 600);

    HWND window = Open(kWindowedStyle, 800, 600, kWindowedExStyle);
    ASSERT_NE(window, nullptr);
    ExpectClientSize(window, 800, 600);
    platform.ShowWindow(window, SW_SHOW);
    PumpFor(50);
    ExpectClientSize(window, 800, 600);

    RECT bare{0, 0, 640, 480};
    ASSERT_TRUE(platform.AdjustWindowRectEx(&bare, WS_POPUP, FALSE, WS_EX_APPWINDOW));
    EXPECT_EQ(bare.left, 0);
    EXPECT_EQ(bare.top, 0);
    EXPECT_EQ(bare.right, 640);
    EXPECT_EQ(bare.bottom, 480);
    HWND popup = Open(WS_POPUP, 640, 480, WS_EX_APPWINDOW);
    ASSERT_NE(popup, nullptr);
    ExpectClientSize(popup, 640, 480);
}

TEST_F(WindowTest, AClassWithALiveWindowCannotBeUnregistered)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(platform.UnregisterClassA(kClassName, instance_));
    EXPECT_TRUE(platform.DestroyWindow(window));
    EXPECT_FALSE(platform.DestroyWindow(window));
    EXPECT_TRUE(platform.UnregisterClassA(kClassName, instance_));
    registered_ = false;
    EXPECT_EQ(platform.CreateWindowExA(0, kClassName, "", kWindowedStyle, 0, 0, 100, 100, nullptr, nullptr,
                                       instance_, nullptr),
              nullptr);
}

TEST_F(WindowTest, UserDataHoldsAWholePointer)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    // Every byte of a pointer set, so a 32-bit slot would lose some on 64-bit.
    const LONG_PTR wide = static_cast<LONG_PTR>(~static_cast<uintptr_t>(0) / 3);
    EXPECT_EQ(platform.SetWindowLongPtrA(window, GWLP_USERDATA, wide), 0);
    EXPECT_EQ(platform.GetWindowLongPtrA(window, GWLP_USERDATA), wide);
    const LONG_PTR address = reinterpret_cast<LONG_PTR>(&delivered);
    EXPECT_EQ(platform.SetWindowLongPtrA(window, GWLP_USERDATA, address), wide);
    EXPECT_EQ(platform.GetWindowLongPtrA(window, GWLP_USERDATA), address);
}

TEST_F(WindowTest, DefaultHandlingTurnsTheCloseCommandIntoCloseAndDestroy)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    delivered.clear();
    platform.SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const std::vector<Delivered> seen = DeliveredOf({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(seen[3].message, static_cast<UINT>(WM_NCDESTROY));
    RECT client;
    EXPECT_FALSE(platform.GetClientRect(window, &client));
}

struct CrossThreadPost {
    HWND window = nullptr;
    BOOL posted = FALSE;
    BOOL foundInOwnQueue = TRUE;
};

DWORD WINAPI PostFromAnotherThread(LPVOID argument)
{
    CrossThreadPost *post = static_cast<CrossThreadPost *>(argument);
    post->posted = platform.PostMessageA(post->window, kAnswerMe, 4, 5);
    MSG message;
    post->foundInOwnQueue = platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    return 0;
}

TEST_F(WindowTest, MessagesPostedToAWindowReachItsThreadAndItsProcedure)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    CrossThreadPost post;
    post.window = window;
    HANDLE thread = platform.CreateThread(nullptr, 0, PostFromAnotherThread, &post, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(platform.WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    platform.CloseHandle(thread);
    EXPECT_TRUE(post.posted);
    EXPECT_FALSE(post.foundInOwnQueue);
    ASSERT_TRUE(platform.PostThreadMessageA(platform.GetCurrentThreadId(), WM_USER + 1, 0, 0));

    MSG message;
    ASSERT_TRUE(platform.PeekMessageA(&message, window, kAnswerMe, kAnswerMe, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.wParam, 4u);
    EXPECT_EQ(message.lParam, 5);
    delivered.clear();
    EXPECT_EQ(platform.DispatchMessageA(&message), 77);
    ASSERT_EQ(DeliveredOf({kAnswerMe}).size(), 1u);

    // (HWND)-1 takes only messages posted to the thread itself.
    ASSERT_TRUE(platform.PeekMessageA(&message, reinterpret_cast<HWND>(static_cast<intptr_t>(-1)), 0, 0,
                                      PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(message.hwnd, nullptr);

    EXPECT_EQ(platform.SendMessageA(window, kAnswerMe, 0, 0), 77);
    MSG key{};
    key.hwnd = window;
    key.message = WM_KEYDOWN;
    key.wParam = VK_F1;
    EXPECT_TRUE(platform.TranslateMessage(&key));
    key.message = kAnswerMe;
    EXPECT_FALSE(platform.TranslateMessage(&key));
}

Delivered LastActivation()
{
    Delivered last{nullptr, 0, 0, 0};
    for (const Delivered &entry : delivered) {
        if (entry.message == WM_ACTIVATE)
            last = entry;
    }
    return last;
}

TEST_F(WindowTest, MinimiseAndRestoreReportSizeAndActivation)
{
    HWND window = Open(kWindowedStyle, 800, 600, kWindowedExStyle);
    ASSERT_NE(window, nullptr);
    platform.ShowWindow(window, SW_SHOW);
    platform.SetForegroundWindow(window);
    platform.SetFocus(window);
    PumpFor(50);

    delivered.clear();
    platform.ShowWindow(window, SW_MINIMIZE);
    PumpFor(50);
    EXPECT_TRUE(platform.IsIconic(window));
    EXPECT_TRUE(SizeDelivered(SIZE_MINIMIZED));
#ifndef _WIN32
    // Win32 deactivates only an active window, and under Wine without a
    // window manager none is; here minimising always reports it.
    EXPECT_EQ(LastActivation().message, static_cast<UINT>(WM_ACTIVATE));
    EXPECT_NE(HIWORD(LastActivation().wParam), 0); // minimised
#endif

    delivered.clear();
    platform.ShowWindow(window, SW_RESTORE);
    PumpFor(50);
    EXPECT_FALSE(platform.IsIconic(window));
    bool restoredSize = false;
    for (const Delivered &entry : DeliveredOf({WM_SIZE}))
        restoredSize |= entry.wParam == SIZE_RESTORED && entry.lParam == MAKELPARAM(800, 600);
    EXPECT_TRUE(restoredSize);
    EXPECT_EQ(LastActivation().message, static_cast<UINT>(WM_ACTIVATE));
    EXPECT_EQ(HIWORD(LastActivation().wParam), 0);
    EXPECT_NE(LOWORD(LastActivation().wParam), WA_INACTIVE);
}

TEST_F(WindowTest, ShowCursorKeepsADisplayCount)
{
    EXPECT_EQ(platform.ShowCursor(FALSE), -1);
    EXPECT_EQ(platform.ShowCursor(FALSE), -2);
    EXPECT_EQ(platform.ShowCursor(TRUE), -1);
    EXPECT_EQ(platform.ShowCursor(TRUE), 0);
}

TEST_F(WindowTest, OnlyModesTheDisplayHasCanBeSwitchedTo)
{
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
#ifndef _WIN32
    HWND popup = Open(WS_POPUP, static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight));
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(PortableSdlWindow(popup)) & SDL_WINDOW_FULLSCREEN, 0u);
#endif
    EXPECT_EQ(platform.ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
#ifndef _WIN32
    EXPECT_EQ(SDL_GetWindowFlags(PortableSdlWindow(popup)) & SDL_WINDOW_FULLSCREEN, 0u);
#endif
}

#ifndef _WIN32
void Push(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, Uint32 windowId)
{
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event ButtonEvent(Uint32 type, int x, int y, Uint32 windowId)
{
    SDL_Event event{};
    event.type = type;
    event.button.windowID = windowId;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event WindowEvent(Uint8 kind, Uint32 windowId)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = kind;
    return event;
}

// Input is posted: it waits in the queue, in order, for the window.
TEST_F(WindowTest, SdlInputBecomesPostedMessages)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    PumpFor(30);
    const Uint32 id = SDL_GetWindowID(PortableSdlWindow(window));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE, id));
    Push(KeyEvent(SDL_KEYUP, SDLK_a, id));
    Push(KeyEvent(SDL_KEYDOWN, SDLK_F5, id));
    Push(ButtonEvent(SDL_MOUSEBUTTONDOWN, 10, 20, id));
    Push(ButtonEvent(SDL_MOUSEBUTTONUP, 11, 21, id));

    std::vector<MSG> input;
    MSG message;
    while (platform.PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        if (message.message >= WM_KEYDOWN && message.message <= WM_MBUTTONUP && message.message != WM_MOUSEMOVE)
            input.push_back(message);
    }
    ASSERT_EQ(input.size(), 5u);
    EXPECT_EQ(input[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(input[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(input[0].lParam & 0xC0000000, 0);
    EXPECT_EQ(input[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(input[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(input[1].lParam & 0xC0000000, 0xC0000000); // was down, going up
    EXPECT_EQ(input[2].wParam, static_cast<WPARAM>(VK_F1 + 4));
    EXPECT_EQ(input[3].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(input[3].lParam, MAKELPARAM(10, 20));
    EXPECT_NE(input[3].wParam & MK_LBUTTON, 0u);
    EXPECT_EQ(input[4].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(input[4].lParam, MAKELPARAM(11, 21));
    EXPECT_EQ(input[4].wParam & MK_LBUTTON, 0u);
    for (const MSG &each : input)
        EXPECT_EQ(each.hwnd, window);
}

// Window events are sent: the procedure has them when the peek returns.
TEST_F(WindowTest, SdlWindowEventsAreSentToTheProcedure)
{
    HWND window = Open(kWindowedStyle, 320, 200);
    ASSERT_NE(window, nullptr);
    PumpFor(30);
    const Uint32 id = SDL_GetWindowID(PortableSdlWindow(window));
    MSG message;

    delivered.clear();
    Push(WindowEvent(SDL_WINDOWEVENT_MINIMIZED, id));
    platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_TRUE(platform.IsIconic(window));
    EXPECT_TRUE(SizeDelivered(SIZE_MINIMIZED));
    EXPECT_EQ(LastActivation().wParam, MAKEWPARAM(WA_INACTIVE, 1));

    delivered.clear();
    Push(WindowEvent(SDL_WINDOWEVENT_RESTORED, id));
    platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_FALSE(platform.IsIconic(window));
    EXPECT_EQ(LastActivation().wParam, MAKEWPARAM(WA_ACTIVE, 0));

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    delivered.clear();
    Push(WindowEvent(SDL_WINDOWEVENT_CLOSE, id));
    platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    const std::vector<Delivered> seen = DeliveredOf({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_DESTROY));
}
#endif

} // namespace
