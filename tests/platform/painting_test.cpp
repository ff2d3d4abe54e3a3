// Update regions, WM_PAINT and the paint bracket, on both builds.
#include <string.h>

#include "tests/platform/window_fixture.h"

namespace {

using Painting = WindowTest;

bool PaintWaits(HWND window)
{
    MSG message;
    return platform.PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE;
}

// WM_PAINT waits for its window alone behind posted messages and the quit
// request, which passes every filter, and stays until validated.
TEST_F(Painting, PaintComesLastAndStaysUntilValidated)
{
    HWND window = Open(200, 100, kWindowedStyle, true);
    HWND other = Open(200, 100, kWindowedStyle, true);
    ASSERT_FALSE(PaintWaits(window));
    platform.InvalidateRect(window, nullptr, FALSE);
    platform.PostMessageA(window, WM_USER + 5, 0, 0);
    EXPECT_TRUE(PaintWaits(window));
    EXPECT_FALSE(PaintWaits(other));
    MSG message;
    EXPECT_FALSE(platform.PeekMessageA(&message, window, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));
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
        EXPECT_NE(platform.BeginPaint(window, &paint), nullptr);
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
}

// The class asks for a full repaint on every size change; maximising and
// restoring through default handling make two. The background is erased at
// once, before the size message; the paint follows.
TEST_F(Painting, ARedrawClassIsRepaintedWithEraseAfterEverySizeChange)
{
    HWND window = Open(200, 100, WS_OVERLAPPEDWINDOW, true);
    for (WPARAM command : {WPARAM(SC_MAXIMIZE), WPARAM(SC_RESTORE)}) {
        SCOPED_TRACE(command);
        delivered.clear();
        platform.SendMessageA(window, WM_SYSCOMMAND, command, 0);
        const WPARAM kind = command == SC_MAXIMIZE ? SIZE_MAXIMIZED : SIZE_RESTORED;
        for (int i = 0; i < 60 && (DeliveredOf({WM_SIZE}).empty() || DeliveredOf({WM_SIZE}).back().wParam != kind); ++i)
            PumpFor(50);
        PumpFor(100); // and painted
        const std::vector<Delivered> seen = DeliveredOf({WM_SIZE, WM_PAINT, WM_ERASEBKGND});
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(seen[seen.size() - 3].message, UINT(WM_ERASEBKGND));
        EXPECT_EQ(seen[seen.size() - 2].message, UINT(WM_SIZE));
        EXPECT_EQ(seen[seen.size() - 2].wParam, kind);
        EXPECT_EQ(seen.back().message, UINT(WM_PAINT));
    }
    RECT client;
    platform.GetClientRect(window, &client);
    EXPECT_EQ(SizeOf(client), std::make_pair(200L, 100L));
}

} // namespace
