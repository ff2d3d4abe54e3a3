// The memory contexts and DIB sections the reader relies on, through the
// table: on the Windows build GDI itself, on the portable build our model.
#include <string.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

BITMAPINFO *Header24(unsigned char *block, int width, int height)
{
    memset(block, 0, sizeof(BITMAPINFOHEADER) + 4);
    BITMAPINFO *info = reinterpret_cast<BITMAPINFO *>(block);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    return info;
}

struct Surface {
    HDC context = nullptr;
    HBITMAP bitmap = nullptr;
    unsigned char *bits = nullptr;

    Surface(int width, int height)
    {
        unsigned char block[64];
        context = platform.CreateCompatibleDC(nullptr);
        void *memory = nullptr;
        bitmap = platform.CreateDIBSection(context, Header24(block, width, height), DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<unsigned char *>(memory);
    }
    ~Surface()
    {
        platform.DeleteDC(context);
        platform.DeleteObject(bitmap);
    }
};

// A 1 x 4 8-bit source whose rows, bottom first, use colours 1 to 4.
struct GreySource {
    unsigned char block[sizeof(BITMAPINFOHEADER) + 5 * 4] = {};
    unsigned char rows[4][4] = {{1}, {2}, {3}, {4}};
    BITMAPINFO *info = reinterpret_cast<BITMAPINFO *>(block);

    explicit GreySource(int height)
    {
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info->bmiHeader.biWidth = 1;
        info->bmiHeader.biHeight = height;
        info->bmiHeader.biPlanes = 1;
        info->bmiHeader.biBitCount = 8;
        info->bmiHeader.biClrUsed = 5;
        for (int i = 0; i < 5; ++i)
            memset(block + sizeof(BITMAPINFOHEADER) + 4 * i, 10 * i, 3);
    }
};

TEST(DibSections, FreshSurfaceIsZeroAndSelectable)
{
    Surface surface(3, 2);
    ASSERT_NE(surface.bitmap, nullptr);
    ASSERT_NE(surface.bits, nullptr);
    for (int i = 0; i < 2 * 12; ++i)
        EXPECT_EQ(surface.bits[i], 0);
    EXPECT_NE(platform.SelectObject(surface.context, surface.bitmap), nullptr);
    // A bitmap is selected into one context at a time.
    HDC other = platform.CreateCompatibleDC(nullptr);
    EXPECT_EQ(platform.SelectObject(other, surface.bitmap), nullptr);
    platform.DeleteDC(other);
}

TEST(DibSections, EmptySurfacesAreRefused)
{
    unsigned char block[64];
    void *bits = reinterpret_cast<void *>(1);
    EXPECT_EQ(platform.CreateDIBSection(nullptr, Header24(block, 0, 4), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(platform.CreateDIBSection(nullptr, Header24(block, 4, 0), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(DibSections, SomeLinesFromTheBottom)
{
    Surface surface(1, 4);
    GreySource source(4);
    // Scan lines 1 and 2, counted from the bottom, of source rows that start
    // at scan line 1.
    EXPECT_EQ(platform.SetDIBits(surface.context, surface.bitmap, 1, 2, source.rows[1], source.info, DIB_RGB_COLORS), 2);
    platform.GdiFlush();
    const unsigned char expected[4] = {0, 20, 30, 0};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(surface.bits[4 * row], expected[row]) << row;
}

TEST(DibSections, TopDownSurfaceAndSource)
{
    Surface surface(1, -4);
    GreySource bottomUp(4);
    ASSERT_EQ(platform.SetDIBits(surface.context, surface.bitmap, 0, 4, bottomUp.rows, bottomUp.info, DIB_RGB_COLORS), 4);
    const unsigned char topFirst[4] = {40, 30, 20, 10};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(surface.bits[4 * row], topFirst[row]) << row;

    Surface plain(1, 4);
    GreySource topDown(-4); // first row in memory is the top one
    ASSERT_EQ(platform.SetDIBits(plain.context, plain.bitmap, 0, 4, topDown.rows, topDown.info, DIB_RGB_COLORS), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(plain.bits[4 * row], topFirst[row]) << row;
}

TEST(DibSections, UnconvertibleFormatsConvertNoLine)
{
    Surface surface(1, 4);
    GreySource source(4);
    source.info->bmiHeader.biBitCount = 7;
    EXPECT_EQ(platform.SetDIBits(surface.context, surface.bitmap, 0, 4, source.rows, source.info, DIB_RGB_COLORS), 0);
    source.info->bmiHeader.biBitCount = 8;
    source.info->bmiHeader.biCompression = BI_RLE8;
    source.info->bmiHeader.biHeight = -4; // run-length data is bottom-up only
    source.info->bmiHeader.biSizeImage = 16;
    EXPECT_EQ(platform.SetDIBits(surface.context, surface.bitmap, 0, 4, source.rows, source.info, DIB_RGB_COLORS), 0);
    source.info->bmiHeader.biHeight = 4;
    source.info->bmiHeader.biCompression = BI_BITFIELDS; // not for 8 bits
    EXPECT_EQ(platform.SetDIBits(surface.context, surface.bitmap, 0, 4, source.rows, source.info, DIB_RGB_COLORS), 0);
}

#ifndef _WIN32
// GDI's documented rule, which Wine relaxes: a selected bitmap is not deleted.
TEST(DibSections, SelectedBitmapIsNotDeleted)
{
    Surface surface(2, 2);
    ASSERT_NE(platform.SelectObject(surface.context, surface.bitmap), nullptr);
    EXPECT_FALSE(platform.DeleteObject(surface.bitmap));
    EXPECT_TRUE(platform.DeleteDC(surface.context));
    EXPECT_TRUE(platform.DeleteObject(surface.bitmap));
    EXPECT_FALSE(platform.DeleteObject(surface.bitmap)); // gone: a stale handle fails
    surface.context = nullptr;
    surface.bitmap = nullptr;
}
#endif

} // namespace
