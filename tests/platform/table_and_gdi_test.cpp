// The installed table and the GDI objects every kind of handle shares.
#include <string.h>

#include "tests/platform/window_fixture.h"

namespace {

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
    ASSERT_NE(white, nullptr);
    EXPECT_NE(white, black);
    EXPECT_EQ(platform.GetStockObject(BLACK_BRUSH), black);

    HDC first = platform.CreateCompatibleDC(nullptr);
    HDC second = platform.CreateCompatibleDC(nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform.SelectObject(first, black), white); // a new context holds the white brush
    EXPECT_EQ(platform.SelectObject(first, white), black);
    EXPECT_EQ(platform.SelectObject(first, second), nullptr); // a context is not selectable

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP section = platform.CreateDIBSection(first, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const HGDIOBJ stockBitmap = platform.SelectObject(first, section);
    EXPECT_NE(stockBitmap, nullptr);
    EXPECT_EQ(platform.SelectObject(second, section), nullptr); // one context at a time
    EXPECT_EQ(platform.SelectObject(first, stockBitmap), section);
    EXPECT_NE(platform.SelectObject(second, section), nullptr);

    EXPECT_TRUE(platform.DeleteObject(black)); // stock objects survive deleting
    EXPECT_EQ(platform.SelectObject(first, black), white);
    EXPECT_TRUE(platform.DeleteObject(second)); // as DeleteDC, which lets the section go
    EXPECT_FALSE(platform.DeleteDC(second));
    EXPECT_TRUE(platform.DeleteObject(section));
    EXPECT_TRUE(platform.DeleteDC(first));
}

} // namespace
