// Real keyboard and mouse input, as the system delivers it, on both builds:
// what each key and button becomes, the key state as of each message, and a
// captured drag that leaves the window.
#include "tests/platform/window_fixture.h"
#include "tests/support/real_input.h"

namespace {

struct Taken {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool shiftHeld; // GetKeyState while it was handled
    HWND capture;
};

std::vector<Taken> taken;

bool IsSystemKeyMessage(UINT message)
{
    return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

// Captures the pointer while the left button is held. System keys stop here:
// their default handling would enter the window menu's modal loop.
LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message >= WM_KEYDOWN && message <= WM_SYSCHAR) || (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP))
        taken.push_back({message, wParam, lParam, platform.GetKeyState(VK_SHIFT) < 0, platform.GetCapture()});
    if (message == WM_LBUTTONDOWN)
        platform.SetCapture(window);
    if (message == WM_LBUTTONUP)
        platform.ReleaseCapture();
    return IsSystemKeyMessage(message) ? 0 : platform.DefWindowProcA(window, message, wParam, lParam);
}

class Input : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!RealInputReady())
            GTEST_SKIP() << "no XTEST on this display";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = InputProc;
        windowClass.hInstance = instance_;
        windowClass.lpszClassName = "OvInputTest";
        ASSERT_NE(platform.RegisterClassA(&windowClass), 0);
        RECT outer{0, 0, 240, 160};
        platform.AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window_ = platform.CreateWindowExA(0, "OvInputTest", "input", WS_OVERLAPPEDWINDOW, 100, 100,
                                           outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                           instance_, nullptr);
        ASSERT_NE(window_, nullptr);
        insets_ = outer;
        platform.ShowWindow(window_, SW_SHOW);
        PumpFor(200);
        platform.SetForegroundWindow(window_);
        platform.SetFocus(window_);
        PumpFor(200);
        taken.clear();
    }
    void TearDown() override
    {
        if (window_)
            platform.DestroyWindow(window_);
        platform.UnregisterClassA("OvInputTest", instance_);
        WindowTest::TearDown();
    }
    // Translates and dispatches until `count` messages of those kinds were
    // handled, or two seconds went by.
    static std::vector<Taken> TakeUntil(size_t count, std::initializer_list<UINT> kinds)
    {
        std::vector<Taken> picked;
        MSG message;
        for (int i = 0; i < 400; ++i) {
            while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                platform.TranslateMessage(&message);
                platform.DispatchMessageA(&message);
            }
            picked.clear();
            for (const Taken &each : taken) {
                if (std::find(kinds.begin(), kinds.end(), each.message) != kinds.end())
                    picked.push_back(each);
            }
            if (picked.size() >= count)
                break;
            platform.Sleep(5);
        }
        return picked;
    }
    // The client area's corner on the screen, from the frame around it.
    POINT ClientCorner() const
    {
        RECT frame{};
        platform.GetWindowRect(window_, &frame);
        return {frame.left - insets_.left, frame.top - insets_.top};
    }
    HWND window_ = nullptr;
    RECT insets_{};
};

TEST_F(Input, KeysComeWithTheKeyStateOfTheirOwnMoment)
{
    // Everything is typed before anything is taken: GetKeyState must answer
    // for each message as it was then, not as it is now.
    PressKey(VK_SHIFT);
    TypeKey('A');
    ReleaseKey(VK_SHIFT);
    TypeKey('A');
    const std::vector<Taken> seen = TakeUntil(8, {WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    struct Expected {
        UINT message;
        WPARAM wParam;
        bool shiftHeld;
    };
    const Expected expected[] = {
        {WM_KEYDOWN, VK_SHIFT, true}, {WM_KEYDOWN, 'A', true}, {WM_CHAR, 'A', true}, {WM_KEYUP, 'A', true},
        {WM_KEYUP, VK_SHIFT, false},  {WM_KEYDOWN, 'A', false}, {WM_CHAR, 'a', false}, {WM_KEYUP, 'A', false},
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
        {0, 'Q', 'q'},           {VK_SHIFT, 'Q', 'Q'}, {VK_CAPITAL, 'Q', 'Q'}, {0, '7', '7'},
        {VK_CONTROL, 'C', 3},    {0, VK_RETURN, '\r'}, {0, VK_TAB, '\t'},      {0, VK_ESCAPE, 27},
        {0, VK_BACK, 8},         {0, VK_SPACE, ' '},   {0, VK_F1 + 1, 0},      {0, VK_LEFT, 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(int(each.key));
        taken.clear();
        if (each.held == VK_CAPITAL)
            TypeKey(VK_CAPITAL);
        else if (each.held)
            PressKey(each.held);
        TypeKey(each.key);
        if (each.held == VK_CAPITAL)
            TypeKey(VK_CAPITAL);
        else if (each.held)
            ReleaseKey(each.held);
        TakeUntil(1, {WM_KEYUP}); // the key's own release
        const std::vector<Taken> characters = TakeUntil(0, {WM_CHAR});
        if (each.character == 0) {
            EXPECT_TRUE(characters.empty());
        } else {
            ASSERT_EQ(characters.size(), 1u);
            EXPECT_EQ(characters[0].wParam, each.character);
        }
    }
}

// Alt makes system keys; its own release is one only when nothing was
// pressed meanwhile (which would open the window menu).
TEST_F(Input, WithAltHeldKeysAreSystemKeys)
{
    using Seen = std::vector<std::pair<UINT, WPARAM>>;
    struct Case {
        const char *why;
        bool withKey;
        Seen expected;
    };
    const Case cases[] = {
        {"Alt with X", true,
         {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'}, {WM_KEYUP, VK_MENU}}},
        {"Alt alone", false, {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYUP, VK_MENU}}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.why);
        taken.clear();
        PressKey(VK_MENU);
        if (each.withKey)
            TypeKey('X');
        ReleaseKey(VK_MENU);
        Seen seen;
        for (const Taken &t : TakeUntil(each.expected.size(),
                                        {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR}))
            seen.emplace_back(t.message, t.wParam);
        EXPECT_EQ(seen, each.expected);
        if (each.withKey && seen.size() > 1) {
            EXPECT_NE(HIWORD(taken[1].lParam) & KF_ALTDOWN, 0); // X, pressed with Alt
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
    const std::vector<Taken> seen = TakeUntil(1, {WM_LBUTTONUP});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(-20, -5));
    EXPECT_EQ(seen[0].wParam, WPARAM(MK_SHIFT));
    EXPECT_EQ(seen[0].capture, window_);
    EXPECT_EQ(platform.GetCapture(), nullptr);

    const std::vector<Taken> all = TakeUntil(0, {WM_LBUTTONDOWN, WM_MOUSEMOVE});
    ASSERT_GE(all.size(), 2u);
    const Taken &down = *std::find_if(all.begin(), all.end(), [](const Taken &t) { return t.message == WM_LBUTTONDOWN; });
    EXPECT_EQ(down.lParam, MAKELPARAM(40, 30));
    EXPECT_EQ(down.wParam, WPARAM(MK_LBUTTON));
    EXPECT_EQ(all.back().message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(all.back().lParam, MAKELPARAM(-20, -5));
    EXPECT_EQ(all.back().wParam, WPARAM(MK_LBUTTON | MK_SHIFT));

    POINT pointer{};
    ASSERT_TRUE(platform.GetCursorPos(&pointer));
    EXPECT_EQ(pointer.x, corner.x - 20);
    EXPECT_EQ(pointer.y, corner.y - 5);
}

} // namespace
