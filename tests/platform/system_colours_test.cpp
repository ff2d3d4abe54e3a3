// System colours, their change notice, and the colour scheme in the registry.
#include <stdio.h>
#include <string.h>

#include "tests/platform/window_fixture.h"

namespace {

const char *const kValueNames[25] = {
    "Scrollbar",     "Background",     "ActiveTitle",  "InactiveTitle", "Menu",
    "Window",        "WindowFrame",    "MenuText",     "WindowText",    "TitleText",
    "ActiveBorder",  "InactiveBorder", "AppWorkspace", "Hilight",       "HilightText",
    "ButtonFace",    "ButtonShadow",   "GrayText",     "ButtonText",    "InactiveTitleText",
    "ButtonHilight", "ButtonDkShadow", "ButtonLight",  "InfoText",      "InfoWindow"};

HKEY OpenColours()
{
    HKEY key = nullptr;
    EXPECT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    return key;
}

// What a session starts with is the scheme the registry holds.
TEST(SystemColours, EachElementStartsWithTheRegistrySchemeColour)
{
    HKEY key = OpenColours();
    ASSERT_NE(key, nullptr);
    for (int i = 0; i < 25; ++i) {
        char text[64] = {};
        DWORD type = 0, size = sizeof text;
        ASSERT_EQ(platform.RegQueryValueExA(key, kValueNames[i], nullptr, &type, reinterpret_cast<LPBYTE>(text),
                                            &size),
                  ERROR_SUCCESS)
            << kValueNames[i];
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, strlen(text) + 1);
        unsigned red = 999, green = 999, blue = 999;
        ASSERT_EQ(sscanf(text, "%u %u %u", &red, &green, &blue), 3) << text;
        EXPECT_EQ(platform.GetSysColor(i), RGB(red, green, blue)) << kValueNames[i];
    }
    EXPECT_EQ(platform.GetSysColor(40), 0u);
    EXPECT_EQ(platform.RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Registry, KeysOpenByPathAsWin32ReadsIt)
{
    struct Case {
        HKEY base;
        const char *path;
        LSTATUS status;
    } cases[] = {{HKEY_CURRENT_USER, "Control Panel\\Colors", ERROR_SUCCESS},
                 {HKEY_CURRENT_USER, "CONTROL PANEL\\colors", ERROR_SUCCESS},
                 {HKEY_CURRENT_USER, "Control Panel\\Colors\\", ERROR_SUCCESS},
                 {HKEY_CURRENT_USER, "Control Panel\\\\Colors", ERROR_SUCCESS},
                 {HKEY_CURRENT_USER, "Control Panel", ERROR_SUCCESS},
                 {HKEY_CURRENT_USER, "Control Panel/Colors", ERROR_FILE_NOT_FOUND}, // a name, not a path
                 {HKEY_CURRENT_USER, "Control Panel\\Colours", ERROR_FILE_NOT_FOUND},
                 {HKEY_CURRENT_USER, "\\Control Panel\\Colors", ERROR_BAD_PATHNAME},
                 {reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7FFFFFF0)), "Colors", ERROR_INVALID_HANDLE}};
    for (const Case &c : cases) {
        HKEY key = nullptr;
        EXPECT_EQ(platform.RegOpenKeyExA(c.base, c.path, 0, KEY_QUERY_VALUE, &key), c.status) << c.path;
        if (key) {
            EXPECT_EQ(platform.RegCloseKey(key), ERROR_SUCCESS);
            EXPECT_EQ(platform.RegCloseKey(key), ERROR_INVALID_HANDLE) << "closed twice";
        }
    }
    HKEY panel = nullptr, colours = nullptr;
    ASSERT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_QUERY_VALUE, &panel), ERROR_SUCCESS);
    EXPECT_EQ(platform.RegOpenKeyExA(panel, "colors", 0, KEY_QUERY_VALUE, &colours), ERROR_SUCCESS);
    platform.RegCloseKey(colours);
    platform.RegCloseKey(panel);
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
    DWORD size = 64;
    EXPECT_EQ(platform.RegQueryValueExA(reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x7FFFFFF0)), "Window", nullptr,
                                        nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    platform.RegCloseKey(key);
}

// SetSysColors tells every top-level window at once, as a sent message; a
// post to HWND_BROADCAST reaches each through its queue.
TEST_F(WindowTest, ChangedColoursAreAnnouncedToEveryTopLevelWindow)
{
    ASSERT_NE(Open(200, 100), nullptr);
    ASSERT_NE(Open(200, 100), nullptr);
    PumpFor(30);
    delivered.clear();
    const INT element = COLOR_WINDOW;
    const COLORREF before = platform.GetSysColor(element), changed = RGB(1, 2, 3);
    EXPECT_TRUE(platform.SetSysColors(1, &element, &changed));
    EXPECT_EQ(DeliveredOf({WM_SYSCOLORCHANGE}).size(), 2u) << "delivered within SetSysColors";
    EXPECT_EQ(platform.GetSysColor(element), changed);
    EXPECT_TRUE(platform.SetSysColors(1, &element, &before));
    EXPECT_EQ(platform.GetSysColor(element), before);
    PumpFor(30);

    delivered.clear();
    EXPECT_TRUE(platform.PostMessageA(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0));
    EXPECT_TRUE(DeliveredOf({WM_SYSCOLORCHANGE}).empty()) << "posted, not sent";
    PumpFor(50);
    EXPECT_EQ(DeliveredOf({WM_SYSCOLORCHANGE}).size(), 2u);
}

} // namespace
