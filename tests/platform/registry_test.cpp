// The colour scheme in the registry, beside what the palette script compares
// with real GDI (see tests/differential): sizes and overruns, handles.
#include <string.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

HKEY OpenColours()
{
    HKEY key = nullptr;
    EXPECT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    return key;
}

TEST(Registry, KeysAreHandlesOfTheirOwn)
{
    HKEY panel = nullptr, colours = nullptr;
    ASSERT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_QUERY_VALUE, &panel), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegOpenKeyExA(panel, "colors", 0, KEY_QUERY_VALUE, &colours), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegCloseKey(panel), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegCloseKey(panel), ERROR_INVALID_HANDLE);
    const HKEY stale = panel;
    EXPECT_EQ(platform.RegOpenKeyExA(stale, "Colors", 0, KEY_QUERY_VALUE, &panel), ERROR_INVALID_HANDLE);
    DWORD size = 64;
    EXPECT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegCloseKey(colours), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST(Registry, QueriesReportTypeAndSizeAndNeverOverrun)
{
    HKEY key = OpenColours();
    ASSERT_NE(key, nullptr);
    struct Case {
        const char *name;
        DWORD buffer; // bytes offered; 0 with no data pointer asks the size
        bool data;
        LSTATUS status;
        DWORD type, size;
        const char *text;
    } cases[] = {{"Background", 64, true, ERROR_SUCCESS, REG_SZ, 11, "37 111 149"},
                 {"background", 11, true, ERROR_SUCCESS, REG_SZ, 11, "37 111 149"},
                 {"Background", 0, false, ERROR_SUCCESS, REG_SZ, 11, nullptr},
                 {"Background", 10, true, ERROR_MORE_DATA, REG_SZ, 11, nullptr},
                 {"NoSuchColour", 64, true, ERROR_FILE_NOT_FOUND, REG_NONE, 64, nullptr}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ", " << c.buffer << " bytes");
        char text[80];
        memset(text, 'x', sizeof text);
        DWORD type = 99, size = c.buffer;
        EXPECT_EQ(platform.RegQueryValueExA(key, c.name, nullptr, &type, c.data ? reinterpret_cast<LPBYTE>(text) : nullptr,
                                            &size),
                  c.status);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.size);
        if (c.text) {
            EXPECT_STREQ(text, c.text);
        }
        EXPECT_EQ(text[c.buffer < 11 ? c.buffer : 11], 'x') << "written past what was offered or needed";
    }
    platform.RegCloseKey(key);
}

} // namespace
