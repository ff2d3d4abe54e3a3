// GDI objects: what fits into a device context, and what deleting does, on
// both builds.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

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

} // namespace
