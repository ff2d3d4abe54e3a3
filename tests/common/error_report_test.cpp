// The failure record, the error callback and the box switch that the
// libraries report through, on both builds.
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/error_report.h"
#include "tests/support/platform_script.h"

namespace {

class ErrorReport : public ::testing::Test {
protected:
    ScopedPlatform scoped_; // boxes answered by script, the table put back after
};

HWND const kFocused = reinterpret_cast<HWND>(0x4321);
HWND WINAPI FocusedWindow(void) { return kFocused; }

// Formatted by the Win32 rules, cut at 255 bytes, in one box owned by the
// focus while the boxes are switched on.
TEST_F(ErrorReport, ShowsTheFormattedTextInABoxWhileSwitchedOn)
{
    platform.GetFocus = FocusedWindow;
    tkShowErrorBoxes(1);
    const char16_t wide[] = u"wide";
    ReportError(TK_ERROR_WINDOW, "%d|%i|%u|%x|%X|%lX|%08lX|%c|%%|%s|%ws|%5d|%-5d|%05d|%.3s|%#x", -42, 7, 4000000000u, 255u, 255u,
                LONG(0xABCDEF), LONG(0x1234), 'Q', "nm", reinterpret_cast<const WCHAR *>(wide), 12, 12, -12, "abcdef",
                26u);
    ReportError(TK_ERROR_WINDOW, "%s", std::string(2000, 'x').c_str());
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[0].text, "-42|7|4000000000|ff|FF|ABCDEF|00001234|Q|%|nm|wide|   12|12   |-0012|abc|0x1a");
    EXPECT_EQ(messageBoxes[1].text, std::string(255, 'x'));
    EXPECT_TRUE(messageBoxes[0].caption == "Error" && messageBoxes[0].flags == MB_OK &&
                messageBoxes[0].owner == kFocused);
#ifndef _WIN32
    // UTF-8 text is never cut inside a character.
    ReportError(TK_ERROR_WINDOW, "%s", (std::string(254, 'z') + "\xc3\xa9").c_str());
    EXPECT_EQ(messageBoxes.back().text, std::string(254, 'z'));
#endif
    tkShowErrorBoxes(0);
    messageBoxes.clear();
    ReportError(TK_ERROR_WINDOW, "dropped %s", "text");
    EXPECT_TRUE(messageBoxes.empty());
    EXPECT_STREQ(tkLastErrorText(), "dropped text");
}

std::vector<std::pair<int32_t, std::string>> heard;
void Hear(int32_t code, const char *text)
{
    heard.emplace_back(code, text);
    LogCall("heard");
    tkRecordError(1001, "inside"); // recorded, not heard again
}

// Each thread keeps its own last failure until the next or a clear; the
// callback hears each before its box, which a quiet caller does not show.
TEST_F(ErrorReport, FailuresAreRecordedPerThreadAndHeardBeforeTheirBox)
{
    tkShowErrorBoxes(1);
    tkClearLastError();
    EXPECT_EQ(std::make_pair(tkLastError(), std::string(tkLastErrorText())), std::make_pair(0, std::string()));
    tkOnError(Hear);
    callLog.clear();
    ReportError(TK_ERROR_CONTEXT, "wglMakeCurrent Failed\n");
    {
        QuietFailures quiet;
        ReportError(TK_ERROR_WINDOW, "create window failed\n");
    }
    tkOnError(nullptr);
    tkRecordError(TK_ERROR_ARGUMENT, "unheard");
    const decltype(heard) expected{{TK_ERROR_CONTEXT, "wglMakeCurrent Failed"}, {TK_ERROR_WINDOW, "create window failed"}};
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(callLog, (std::vector<std::string>{"heard", "[wglMakeCurrent Failed\n]", "heard"}));
    EXPECT_TRUE(ErrorBoxesOn());

    int32_t there = -1;
    std::thread other([&] {
        there = tkLastError();
        tkRecordError(TK_ERROR_WINDOW, "there");
    });
    other.join();
    EXPECT_EQ(there, TK_ERROR_NONE);
    EXPECT_EQ(std::make_pair(tkLastError(), std::string(tkLastErrorText())),
              std::make_pair(int32_t(TK_ERROR_ARGUMENT), std::string("unheard")));
    // Cut at 511 bytes between characters; null is "".
    tkRecordError(TK_ERROR_FILE_OPEN, (std::string(510, 'a') + "\xc3\xa9").c_str());
    EXPECT_EQ(std::string(tkLastErrorText()), std::string(510, 'a'));
    tkRecordError(TK_ERROR_FILE_OPEN, nullptr);
    EXPECT_STREQ(tkLastErrorText(), "");
    tkClearLastError();
}

} // namespace
