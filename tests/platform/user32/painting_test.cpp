// Update regions and painting, on both builds.
#include <string.h>

#include "tests/platform/window_fixture.h"

namespace {

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

} // namespace
