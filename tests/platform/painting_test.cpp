// Update regions, WM_PAINT and the paint bracket, on both builds.
#include "tests/platform/window_fixture.h"

namespace {

class Painting : public WindowTest {
protected:
    // Shown, settled and with nothing left to paint.
    HWND OpenShown(DWORD style = kWindowedStyle)
    {
        HWND window = Open(200, 100, style);
        platform.ShowWindow(window, SW_SHOW);
        PumpFor(150); // default handling validates each WM_PAINT
        delivered.clear();
        return window;
    }
    static bool PaintWaits(HWND window)
    {
        MSG message;
        return platform.PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE;
    }
    // Dispatches until a size message of that kind has come and been painted.
    static bool PumpUntilSized(WPARAM kind)
    {
        for (int i = 0; i < 60; ++i) {
            PumpFor(50);
            if (!DeliveredOf({WM_SIZE}).empty() && DeliveredOf({WM_SIZE}).back().wParam == kind)
                return PumpFor(100), true;
        }
        return false;
    }
};

TEST_F(Painting, PaintComesAfterPostedMessagesAndTheQuitRequestAndStaysUntilValidated)
{
    HWND window = OpenShown();
    HWND other = OpenShown();
    ASSERT_FALSE(PaintWaits(window));
    platform.InvalidateRect(window, nullptr, FALSE);
    platform.PostMessageA(window, WM_USER + 5, 0, 0);
    MSG message;
    EXPECT_TRUE(PaintWaits(window)); // a filter for WM_PAINT alone sees it at once
    EXPECT_FALSE(PaintWaits(other));
    EXPECT_FALSE(platform.PeekMessageA(&message, window, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));

    // The quit request passes every filter, of window and of range alike.
    platform.PostQuitMessage(3);
    ASSERT_TRUE(platform.PeekMessageA(&message, other, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    for (UINT expected : {UINT(WM_USER + 5), UINT(WM_QUIT), UINT(WM_PAINT), UINT(WM_PAINT)}) {
        ASSERT_TRUE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, expected);
    }
    EXPECT_EQ(message.hwnd, window);
    PAINTSTRUCT paint;
    EXPECT_NE(platform.BeginPaint(window, &paint), nullptr);
    platform.EndPaint(window, &paint);
    EXPECT_FALSE(platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Painting, BeginPaintValidatesAndErasesWhenAsked)
{
    WNDCLASSA brushed{};
    brushed.lpfnWndProc = RecordingProc;
    brushed.hInstance = instance_;
    brushed.hbrBackground = static_cast<HBRUSH>(platform.GetStockObject(BLACK_BRUSH));
    brushed.lpszClassName = "OvPaintBrushed";
    ASSERT_NE(platform.RegisterClassA(&brushed), 0);
    struct Case {
        const char *why;
        bool brush;
        std::vector<RECT> marked; // empty: the whole client area
        BOOL erase;
        bool eraseSent;
        BOOL stillToErase;
        RECT bounds;
    };
    const Case cases[] = {
        {"no erase", false, {}, FALSE, false, FALSE, {0, 0, 200, 100}},
        {"erased by the class brush", true, {}, TRUE, true, FALSE, {0, 0, 200, 100}},
        {"no brush to erase with", false, {}, TRUE, true, TRUE, {0, 0, 200, 100}},
        {"two rectangles", false, {{10, 20, 30, 40}, {50, 5, 60, 25}}, FALSE, false, FALSE, {10, 5, 60, 40}},
        {"clipped to the client area", false, {{150, 50, 400, 300}}, FALSE, false, FALSE, {150, 50, 200, 100}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.why);
        HWND window = each.brush ? platform.CreateWindowExA(0, "OvPaintBrushed", "brushed", kWindowedStyle, 0, 0,
                                                            200 + 100, 100 + 100, nullptr, nullptr, instance_,
                                                            nullptr)
                                 : OpenShown();
        ASSERT_NE(window, nullptr);
        if (each.brush) {
            platform.ShowWindow(window, SW_SHOW);
            PumpFor(150);
            RECT client;
            platform.GetClientRect(window, &client);
            ASSERT_GT(client.right, 0);
        }
        delivered.clear();
        if (each.marked.empty())
            platform.InvalidateRect(window, nullptr, each.erase);
        for (const RECT &r : each.marked)
            platform.InvalidateRect(window, &r, each.erase);
        RECT update{};
        EXPECT_TRUE(platform.GetUpdateRect(window, &update, FALSE));
        PAINTSTRUCT paint{};
        EXPECT_NE(platform.BeginPaint(window, &paint), nullptr);
        EXPECT_EQ(DeliveredOf({WM_ERASEBKGND}).size(), each.eraseSent ? 1u : 0u);
        EXPECT_EQ(paint.fErase, each.stillToErase);
        if (!each.brush) { // the brushed window's client area is the platform's to size
            EXPECT_EQ(update.left, each.bounds.left);
            EXPECT_EQ(update.top, each.bounds.top);
            EXPECT_EQ(update.right, each.bounds.right);
            EXPECT_EQ(update.bottom, each.bounds.bottom);
            EXPECT_EQ(paint.rcPaint.right, each.bounds.right);
            EXPECT_EQ(paint.rcPaint.top, each.bounds.top);
        }
        EXPECT_TRUE(platform.EndPaint(window, &paint));
        EXPECT_FALSE(platform.GetUpdateRect(window, &update, FALSE));
        EXPECT_FALSE(PaintWaits(window));
        platform.DestroyWindow(window);
    }
    platform.UnregisterClassA("OvPaintBrushed", instance_);
}

// The class asks for a full repaint on every size change; maximising and
// restoring through default handling make two. The background is erased at
// once, before the size message; the paint follows.
TEST_F(Painting, ARedrawClassIsRepaintedWithEraseAfterEverySizeChange)
{
    HWND window = OpenShown(WS_OVERLAPPEDWINDOW);
    for (WPARAM command : {WPARAM(SC_MAXIMIZE), WPARAM(SC_RESTORE)}) {
        SCOPED_TRACE(command);
        delivered.clear();
        platform.SendMessageA(window, WM_SYSCOMMAND, command, 0);
        ASSERT_TRUE(PumpUntilSized(command == SC_MAXIMIZE ? SIZE_MAXIMIZED : SIZE_RESTORED));
        const std::vector<Delivered> seen = DeliveredOf({WM_SIZE, WM_PAINT, WM_ERASEBKGND});
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(seen[seen.size() - 3].message, UINT(WM_ERASEBKGND));
        EXPECT_EQ(seen[seen.size() - 2].message, UINT(WM_SIZE));
        EXPECT_EQ(seen.back().message, UINT(WM_PAINT));
    }
    RECT client;
    platform.GetClientRect(window, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
}

// Minimised, a window has nothing to paint, not even what was marked
// before; restored, all of it.
TEST_F(Painting, AMinimisedWindowGetsNoPaintUntilRestored)
{
    HWND window = OpenShown();
    platform.InvalidateRect(window, nullptr, TRUE);
    platform.SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(platform.IsIconic(window));
    EXPECT_FALSE(PaintWaits(window));
    platform.InvalidateRect(window, nullptr, TRUE);
    EXPECT_FALSE(PaintWaits(window));
    PumpFor(100);
    const std::vector<Delivered> sized = DeliveredOf({WM_SIZE});
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back().wParam, WPARAM(SIZE_MINIMIZED));
    EXPECT_EQ(sized.back().lParam, 0);
    EXPECT_TRUE(DeliveredOf({WM_PAINT}).empty());

    delivered.clear();
    platform.SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(platform.IsIconic(window));
    EXPECT_TRUE(PaintWaits(window));
    PumpFor(100);
    EXPECT_FALSE(DeliveredOf({WM_ERASEBKGND}).empty());
}

} // namespace
