// Real keyboard and mouse input, as the system delivers it, on both builds:
// what each key and button becomes, the key state as of each message, where
// input waits in the queue, and a captured drag that leaves the window.
// Natively also the host's events, pushed into SDL's queue, as messages.
#include "tests/platform/window_fixture.h"
#include "tests/support/real_input.h"

#ifndef _WIN32
#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include "host/sdl_windows.h"
#endif

namespace {

using Typing = std::vector<std::tuple<UINT, WPARAM, bool>>; // message, wParam, Shift held then

class Input : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!RealInputReady())
            GTEST_SKIP() << "no XTEST on this display";
        window_ = Open(240, 160, WS_OVERLAPPEDWINDOW, true, 100, 100); // room to drag past the edges
        ASSERT_NE(window_, nullptr);
    }
    // Handles messages until `count` of those kinds came, or two seconds went by.
    static std::vector<Delivered> TakeUntil(size_t count, std::initializer_list<UINT> kinds)
    {
        for (int i = 0; i < 400 && DeliveredOf(kinds).size() < count; ++i)
            PumpFor(0);
        PumpFor(0);
        return DeliveredOf(kinds);
    }
    // Presses (a key) and releases (minus the key), all sent before anything
    // is taken: each message must come with the key state of its own moment.
    static Typing Typed(std::initializer_list<int> keys, size_t count)
    {
        delivered.clear();
        for (int key : keys)
            PressKey(BYTE(key < 0 ? -key : key), key > 0);
        Typing seen;
        for (const Delivered &d :
             TakeUntil(count, {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR}))
            seen.emplace_back(d.message, d.wParam, d.shiftHeld);
        return seen;
    }
    HWND window_ = nullptr;
};

// Alt makes system keys; its own release is one only when nothing was
// pressed meanwhile (which would open the window menu).
TEST_F(Input, KeysComeWithTheKeyStateOfTheirOwnMoment)
{
    const Typing shifted{{WM_KEYDOWN, VK_SHIFT, true}, {WM_KEYDOWN, 'A', true}, {WM_CHAR, 'A', true},
                       {WM_KEYUP, 'A', true},        {WM_KEYUP, VK_SHIFT, false}, {WM_KEYDOWN, 'A', false},
                       {WM_CHAR, 'a', false},        {WM_KEYUP, 'A', false}};
    EXPECT_EQ(Typed({VK_SHIFT, 'A', -'A', -VK_SHIFT, 'A', -'A'}, shifted.size()), shifted);
    const std::vector<Delivered> keys = DeliveredOf({WM_KEYDOWN, WM_KEYUP});
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[1].lParam & 0xC0000000, 0);          // a fresh press
    EXPECT_EQ(keys[2].lParam & 0xC0000000, 0xC0000000); // was down, going up

    const Typing withAlt{{WM_SYSKEYDOWN, VK_MENU, false}, {WM_SYSKEYDOWN, 'X', false}, {WM_SYSCHAR, 'x', false},
                       {WM_SYSKEYUP, 'X', false},       {WM_KEYUP, VK_MENU, false}};
    EXPECT_EQ(Typed({VK_MENU, 'X', -'X', -VK_MENU}, withAlt.size()), withAlt);
    ASSERT_EQ(DeliveredOf({WM_SYSKEYDOWN}).size(), 2u);
    EXPECT_NE(HIWORD(DeliveredOf({WM_SYSKEYDOWN})[1].lParam) & KF_ALTDOWN, 0);
    const Typing altAlone{{WM_SYSKEYDOWN, VK_MENU, false}, {WM_SYSKEYUP, VK_MENU, false}};
    EXPECT_EQ(Typed({VK_MENU, -VK_MENU}, altAlone.size()), altAlone);
}

// Caps Lock is on for the third Q alone; F2 and Left type nothing.
TEST_F(Input, TranslationGivesTheCharacterTheKeyboardTypes)
{
    std::vector<WPARAM> characters;
    for (const auto &[message, wParam, shift] :
         Typed({'Q', -'Q', VK_SHIFT, 'Q', -'Q', -VK_SHIFT, VK_CAPITAL, -VK_CAPITAL, 'Q', -'Q', VK_CAPITAL,
                -VK_CAPITAL, '7', -'7', VK_CONTROL, 'C', -'C', -VK_CONTROL, VK_RETURN, -VK_RETURN, VK_TAB, -VK_TAB,
                VK_ESCAPE, -VK_ESCAPE, VK_BACK, -VK_BACK, VK_SPACE, -VK_SPACE, VK_F1 + 1, -(VK_F1 + 1), VK_LEFT,
                -VK_LEFT},
               42)) {
        if (message == WM_CHAR)
            characters.push_back(wParam);
    }
    EXPECT_EQ(characters, (std::vector<WPARAM>{'q', 'Q', 'Q', '7', 3, '\r', '\t', 27, 8, ' '}));
}

// Input waits behind posted messages and the quit request; WM_PAINT comes
// last. A window's messages and paint pass no other window's filter, paint
// none that leaves it out, and paint stays until validated.
TEST_F(Input, TheQueueTakesPostedThenQuitThenInputThenPaint)
{
    HWND other = Open(200, 100); // hidden, so that the focus stays
    PressKey(VK_F1 + 2);
    PressKey(VK_F1 + 2, false);
    platform.InvalidateRect(window_, nullptr, FALSE);
    platform.PostMessageA(window_, WM_USER + 1, 0, 0);
    EXPECT_FALSE(PaintWaits(other));
    MSG message;
    EXPECT_FALSE(platform.PeekMessageA(&message, window_, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));
    EXPECT_FALSE(platform.PeekMessageA(&message, other, WM_USER + 1, WM_USER + 1, PM_NOREMOVE));
    platform.PostQuitMessage(0);
    std::vector<std::pair<UINT, WPARAM>> order;
    for (int i = 0; i < 400 && (order.empty() || order.back().first != WM_PAINT); ++i) {
        if (!platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            platform.Sleep(5);
            continue;
        }
        const UINT kind = message.message;
        if (kind == WM_USER + 1 || kind == WM_QUIT || kind == WM_KEYDOWN || kind == WM_KEYUP || kind == WM_PAINT)
            order.emplace_back(kind, kind == WM_KEYDOWN || kind == WM_KEYUP ? message.wParam : 0);
        if (kind != WM_QUIT && kind != WM_PAINT)
            platform.DispatchMessageA(&message);
    }
    EXPECT_EQ(order, (std::vector<std::pair<UINT, WPARAM>>{{WM_USER + 1, 0}, {WM_QUIT, 0}, {WM_KEYDOWN, VK_F1 + 2},
                                                          {WM_KEYUP, VK_F1 + 2}, {WM_PAINT, 0}}));
    ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window_);
    PAINTSTRUCT paint;
    EXPECT_NE(platform.BeginPaint(window_, &paint), nullptr);
    platform.EndPaint(window_, &paint);
    EXPECT_FALSE(PaintWaits(window_));
}

// The right and middle buttons come as their own messages, and held while the
// pointer moves.
TEST_F(Input, EachButtonIsHeldWhileThePointerMoves)
{
    RECT frame{}, insets{0, 0, 0, 0};
    platform.GetWindowRect(window_, &frame);
    platform.AdjustWindowRectEx(&insets, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0);
    const POINT corner{frame.left - insets.left, frame.top - insets.top};
    const struct {
        BYTE button;
        UINT down, up;
        WPARAM held;
    } buttons[] = {{VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON},
                   {VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON}}; // the left one drags below
    for (const auto &each : buttons) {
        SCOPED_TRACE(int(each.button));
        MovePointerTo(corner.x + 50, corner.y + 40);
        TakeUntil(1, {WM_MOUSEMOVE});
        delivered.clear();
        PressButton(each.button);
        MovePointerTo(corner.x + 60, corner.y + 45);
        PressButton(each.button, false);
        const std::vector<Delivered> seen = TakeUntil(3, {each.down, WM_MOUSEMOVE, each.up});
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(std::make_pair(seen[0].message, seen[2].message), std::make_pair(each.down, each.up));
        EXPECT_EQ(seen[1].wParam, each.held);
        EXPECT_EQ(seen[1].lParam, MAKELPARAM(60, 45));
    }
}

TEST_F(Input, ACapturedDragKeepsReportingPastTheWindowsEdge)
{
    RECT frame{}, insets{0, 0, 0, 0};
    platform.GetWindowRect(window_, &frame);
    platform.AdjustWindowRectEx(&insets, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0);
    const POINT corner{frame.left - insets.left, frame.top - insets.top}; // of the client area
    MovePointerTo(corner.x + 40, corner.y + 30);
    PressButton(VK_LBUTTON);
    TakeUntil(1, {WM_LBUTTONDOWN});
    MovePointerTo(corner.x - 15, corner.y + 30);
    PressKey(VK_SHIFT);
    MovePointerTo(corner.x - 20, corner.y - 5);
    PressButton(VK_LBUTTON, false);
    PressKey(VK_SHIFT, false);
    const std::vector<Delivered> up = TakeUntil(1, {WM_LBUTTONUP});
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].lParam, MAKELPARAM(-20, -5));
    EXPECT_EQ(up[0].wParam, WPARAM(MK_SHIFT));
    EXPECT_EQ(up[0].capture, window_);
    EXPECT_EQ(platform.GetCapture(), nullptr);

    const std::vector<Delivered> down = DeliveredOf({WM_LBUTTONDOWN});
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].lParam, MAKELPARAM(40, 30));
    EXPECT_EQ(down[0].wParam, WPARAM(MK_LBUTTON));
    const Delivered lastMove = DeliveredOf({WM_MOUSEMOVE}).back();
    EXPECT_EQ(lastMove.lParam, MAKELPARAM(-20, -5));
    EXPECT_EQ(lastMove.wParam, WPARAM(MK_LBUTTON | MK_SHIFT));
    POINT pointer{};
    ASSERT_TRUE(platform.GetCursorPos(&pointer));
    EXPECT_EQ(std::make_pair(pointer.x, pointer.y), std::make_pair(corner.x - 20, corner.y - 5));
}

#ifndef _WIN32
using HostEvents = WindowTest;
using Messages = std::vector<std::pair<UINT, WPARAM>>;
const Messages kClosing{{WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE, 0}, {WM_DESTROY, 0}};

// SDL's key events wait in the queue for the window, a repeated press as
// one that was down before; its window events are sent: the procedure has
// them when the peek returns. Only the active window is deactivated.
TEST_F(HostEvents, BecomeMessages)
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

// A look at the queue skips reading SDL while nothing can have come. The
// window manager's close box has come all the same when Xlib already holds
// it (read off the connection by some other call) or when it waits on the
// socket: either way it is read at the next look, however recent the last.
// (A socket that took more than the reads' interval to wake proves nothing,
// but cannot fail the test.)
void PutBack(Display *display, XEvent &event)
{
    XPutBackEvent(display, &event);
}

void SendFromAnotherConnection(Display *display, XEvent &event)
{
    Display *other = XOpenDisplay(DisplayString(display));
    ASSERT_NE(other, nullptr);
    XSendEvent(other, event.xclient.window, False, NoEventMask, &event);
    XSync(other, False);
    XCloseDisplay(other);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    ASSERT_EQ(poll(&connection, 1, 2000), 1);
}

TEST_F(HostEvents, WhatHasComeIsReadAtTheNextLook)
{
    const std::pair<const char *, void (*)(Display *, XEvent &)> arrivals[] = {
        {"held by Xlib", PutBack}, {"waiting on the socket", SendFromAnotherConnection}};
    for (const auto &[how, arrive] : arrivals) {
        SCOPED_TRACE(how);
        HWND window = Open(320, 200);
        PumpFor(30);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(HostSdlWindow(window), &info));
        Display *display = info.info.x11.display;
        XEvent close{};
        close.xclient = {ClientMessage, 0, False, display, info.info.x11.window,
                         XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
        close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        MSG message;
        platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // SDL read just now
        delivered.clear();
        arrive(display, close);
        platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        EXPECT_EQ(Seen({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}), kClosing);
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

TEST_F(HostEvents, TheLastMoveTellsWhereTheWindowIsAfterAMoveDuringTheShowing)
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
