// Real keyboard and mouse input, as the system delivers it, on both builds:
// what each key and button becomes, the key state as of each message, and a
// captured drag that leaves the window.
#include <algorithm>

#include "tests/platform/window_fixture.h"
#include "tests/support/real_input.h"

namespace {

class Input : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!RealInputReady())
            GTEST_SKIP() << "no XTEST on this display";
        window_ = Open(240, 160, WS_OVERLAPPEDWINDOW, 0, 100, 100); // room to drag past the edges
        ASSERT_NE(window_, nullptr);
        platform.ShowWindow(window_, SW_SHOW);
        PumpFor(200);
        platform.SetForegroundWindow(window_);
        platform.SetFocus(window_);
        PumpFor(200);
        delivered.clear();
    }
    // Handles messages until `count` of those kinds came, or two seconds went by.
    static std::vector<Delivered> TakeUntil(size_t count, std::initializer_list<UINT> kinds)
    {
        for (int i = 0; i < 400 && DeliveredOf(kinds).size() < count; ++i)
            PumpFor(0);
        PumpFor(0);
        return DeliveredOf(kinds);
    }
    // The client area's corner on the screen, inside the frame.
    POINT ClientCorner() const
    {
        RECT frame{}, insets{0, 0, 0, 0};
        platform.GetWindowRect(window_, &frame);
        platform.AdjustWindowRectEx(&insets, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FALSE, 0);
        return {frame.left - insets.left, frame.top - insets.top};
    }
    HWND window_ = nullptr;
};

TEST_F(Input, KeysComeWithTheKeyStateOfTheirOwnMoment)
{
    // Everything is typed before anything is taken: GetKeyState must answer
    // for each message as it was then, not as it is now.
    PressKey(VK_SHIFT);
    TypeKey('A');
    ReleaseKey(VK_SHIFT);
    TypeKey('A');
    const std::vector<Delivered> seen = TakeUntil(8, {WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    const Delivered expected[] = {
        {WM_KEYDOWN, VK_SHIFT, 0, true, nullptr}, {WM_KEYDOWN, 'A', 0, true, nullptr},
        {WM_CHAR, 'A', 0, true, nullptr},         {WM_KEYUP, 'A', 0, true, nullptr},
        {WM_KEYUP, VK_SHIFT, 0, false, nullptr},  {WM_KEYDOWN, 'A', 0, false, nullptr},
        {WM_CHAR, 'a', 0, false, nullptr},        {WM_KEYUP, 'A', 0, false, nullptr},
    };
    ASSERT_EQ(seen.size(), std::size(expected));
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].message, expected[i].message);
        EXPECT_EQ(seen[i].wParam, expected[i].wParam);
        EXPECT_EQ(seen[i].shiftHeld, expected[i].shiftHeld);
    }
    EXPECT_EQ(seen[1].lParam & 0xC0000000, 0);          // a fresh press
    EXPECT_EQ(seen[3].lParam & 0xC0000000, 0xC0000000); // was down, going up
}

TEST_F(Input, TranslationGivesTheCharacterTheKeyboardTypes)
{
    struct Case {
        BYTE held; // 0 for none; VK_CAPITAL: Caps Lock on for the key
        BYTE key;
        WPARAM character; // 0: no character at all
    };
    const Case cases[] = {
        {0, 'Q', 'q'},        {VK_SHIFT, 'Q', 'Q'}, {VK_CAPITAL, 'Q', 'Q'}, {0, '7', '7'},
        {VK_CONTROL, 'C', 3}, {0, VK_RETURN, '\r'}, {0, VK_TAB, '\t'},      {0, VK_ESCAPE, 27},
        {0, VK_BACK, 8},      {0, VK_SPACE, ' '},   {0, VK_F1 + 1, 0},      {0, VK_LEFT, 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(int(each.key));
        delivered.clear();
        const bool lock = each.held == VK_CAPITAL;
        if (each.held)
            lock ? TypeKey(VK_CAPITAL) : PressKey(each.held);
        TypeKey(each.key);
        if (each.held)
            lock ? TypeKey(VK_CAPITAL) : ReleaseKey(each.held);
        TakeUntil(lock ? 3 : 1, {WM_KEYUP}); // the key's own release
        const std::vector<Delivered> characters = DeliveredOf({WM_CHAR});
        ASSERT_EQ(characters.size(), each.character ? 1u : 0u);
        if (each.character) {
            EXPECT_EQ(characters[0].wParam, each.character);
        }
    }
}

// Alt makes system keys; its own release is one only when nothing was
// pressed meanwhile (which would open the window menu).
TEST_F(Input, WithAltHeldKeysAreSystemKeys)
{
    using Seen = std::vector<std::pair<UINT, WPARAM>>;
    const Seen withX{{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'},
                     {WM_KEYUP, VK_MENU}};
    const Seen alone{{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYUP, VK_MENU}};
    for (const Seen *expected : {&withX, &alone}) {
        delivered.clear();
        PressKey(VK_MENU);
        if (expected == &withX)
            TypeKey('X');
        ReleaseKey(VK_MENU);
        Seen seen;
        for (const Delivered &d :
             TakeUntil(expected->size(), {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR}))
            seen.emplace_back(d.message, d.wParam);
        EXPECT_EQ(seen, *expected);
        if (expected == &withX && seen.size() > 1) {
            EXPECT_NE(HIWORD(DeliveredOf({WM_SYSKEYDOWN})[1].lParam) & KF_ALTDOWN, 0);
        }
    }
}

// Input waits behind posted messages and the quit request, and comes
// before paint.
TEST_F(Input, InputIsTakenAfterTheQuitRequestAndBeforePaint)
{
    TypeKey(VK_F1 + 2);
    platform.PostMessageA(window_, WM_USER + 1, 0, 0);
    platform.PostQuitMessage(0);
    platform.InvalidateRect(window_, nullptr, FALSE);
    std::vector<UINT> order;
    MSG message;
    for (int i = 0; i < 400 && (order.empty() || order.back() != WM_PAINT); ++i) {
        if (!platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            platform.Sleep(5);
            continue;
        }
        const UINT kind = message.message;
        if (kind == WM_USER + 1 || kind == WM_QUIT || kind == WM_KEYDOWN || kind == WM_KEYUP || kind == WM_PAINT)
            order.push_back(kind);
        if (kind != WM_QUIT)
            platform.DispatchMessageA(&message);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_QUIT, WM_KEYDOWN, WM_KEYUP, WM_PAINT}));
}

TEST_F(Input, ACapturedDragKeepsReportingPastTheWindowsEdge)
{
    const POINT corner = ClientCorner();
    MovePointerTo(corner.x + 40, corner.y + 30);
    PressButton(MouseButton::Left);
    TakeUntil(1, {WM_LBUTTONDOWN});
    MovePointerTo(corner.x - 15, corner.y + 30);
    PressKey(VK_SHIFT);
    MovePointerTo(corner.x - 20, corner.y - 5);
    ReleaseButton(MouseButton::Left);
    ReleaseKey(VK_SHIFT);
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
    EXPECT_EQ(pointer.x, corner.x - 20);
    EXPECT_EQ(pointer.y, corner.y - 5);
}

} // namespace
