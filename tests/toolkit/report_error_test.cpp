// ReportError: the platform's formatter, the 255-byte cut, the box and its switch.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/platform_script.h"
#include "toolkit/tk.h"
#include "toolkit/toolkit_state.h"

namespace {

HWND const kFocused = reinterpret_cast<HWND>(0x4321);
HWND owner = nullptr;

HWND WINAPI FocusedWindow(void) { return kFocused; }

int WINAPI RecordBox(HWND window, LPCSTR text, LPCSTR caption, UINT flags)
{
    owner = window;
    messageBoxes.push_back({text, caption, flags});
    return IDOK;
}

class ReportErrorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.MessageBoxA = RecordBox;
        platform.GetFocus = FocusedWindow;
        tkShowErrorBoxes(1);
    }
    void TearDown() override { tkShowErrorBoxes(1); }
    ScopedPlatform scoped_;
};

TEST_F(ReportErrorTest, ShowsTheFormattedTextInOneBoxOwnedByTheFocus)
{
    ReportError("Cannot realize palette %d.\n", 3);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Cannot realize palette 3.\n");
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(owner, kFocused);
}

TEST_F(ReportErrorTest, SwitchedOffShowsNothing)
{
    tkShowErrorBoxes(0);
    ReportError("dropped %s", "text");
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(ReportErrorTest, FormatsByTheWin32Rules)
{
    const char16_t wide[] = u"wide";
    ReportError("%d|%i|%u|%x|%X|%lX|%08lX|%c|%%|%s|%ws|%5d|%-5d|%05d|%.3s|%#x", -42, 7, 4000000000u, 255u, 255u,
                LONG(0xABCDEF), LONG(0x1234), 'Q', "nm", reinterpret_cast<const WCHAR *>(wide), 12, 12, -12, "abcdef",
                26u);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "-42|7|4000000000|ff|FF|ABCDEF|00001234|Q|%|nm|wide|   12|12   |-0012|abc|0x1a");
}

TEST_F(ReportErrorTest, LongTextIsCutTo255Bytes)
{
    std::string longer(2000, 'x');
    ReportError("%s", longer.c_str());
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, std::string(255, 'x'));
    ReportError("%s", std::string(255, 'y').c_str());
    EXPECT_EQ(messageBoxes[1].text, std::string(255, 'y'));
#ifndef _WIN32
    // UTF-8 text is never cut inside a character.
    ReportError("%s", (std::string(254, 'z') + "\xc3\xa9").c_str());
    EXPECT_EQ(messageBoxes[2].text, std::string(254, 'z'));
#endif
}

} // namespace
