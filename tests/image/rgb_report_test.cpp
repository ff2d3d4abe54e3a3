// How the SGI reader tells the user: texts, owner, the switch, one box a call.
#include <stdio.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

HWND const kFocused = reinterpret_cast<HWND>(0x1234);
HWND boxOwner = nullptr;

HWND WINAPI FocusedWindow(void) { return kFocused; }

int WINAPI RecordOwner(HWND owner, LPCSTR text, LPCSTR caption, UINT flags)
{
    boxOwner = owner;
    messageBoxes.push_back({text, caption, flags});
    return IDOK;
}

std::basic_string<WCHAR> Wide(const std::u16string &text) { return {text.begin(), text.end()}; }

class RgbReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        platform.MessageBoxA = RecordOwner;
        platform.GetFocus = FocusedWindow;
    }
    void TearDown() override { tkShowErrorBoxes(1); }
    ScopedPlatform scoped_;
};

TEST_F(RgbReport, MissingFileNamesItInOneBoxOwnedByTheFocusedWindow)
{
    EXPECT_EQ(LoadRgbImageA("no/such/pic.rgb"), nullptr);
    EXPECT_EQ(LoadRgbImageW(Wide(u"no/such/wide.rgb").c_str()), nullptr);
    EXPECT_EQ(LoadRgbImage(nullptr), nullptr);
    ASSERT_EQ(messageBoxes.size(), 3u);
    EXPECT_EQ(messageBoxes[0].text, "Failed to open image file no/such/pic.rgb.\n");
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(boxOwner, kFocused);
    EXPECT_EQ(messageBoxes[1].text, "Failed to open image file no/such/wide.rgb.\n");
    EXPECT_EQ(messageBoxes[2].text, "Failed to open image file (null).\n");
}

TEST_F(RgbReport, NoBoxWhileErrorBoxesIsOff)
{
    std::string path = WriteTempFile("report_bad.rgb", Bytes(600, 0));
    tkShowErrorBoxes(0);
    EXPECT_EQ(LoadRgbImageA("no/such/pic.rgb"), nullptr);
    EXPECT_EQ(LoadRgbImageA(path.c_str()), nullptr);
    EXPECT_TRUE(messageBoxes.empty());
    tkShowErrorBoxes(1);
    EXPECT_EQ(LoadRgbImageA(path.c_str()), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Invalid rgb file.");
    remove(path.c_str());
}

TEST_F(RgbReport, LongNamesAreCutSoTheMessageFits)
{
    const std::string prefix = "Failed to open image file ";
    for (size_t length : {228u, 229u, 230u, 300u, 5000u}) {
        SCOPED_TRACE(length);
        messageBoxes.clear();
        std::string name = "missing/" + std::string(length - 8, 'n');
        EXPECT_EQ(LoadRgbImageA(name.c_str()), nullptr);
        ASSERT_EQ(messageBoxes.size(), 1u);
        size_t kept = std::min(length, 255 - prefix.size() - 2);
        EXPECT_EQ(messageBoxes[0].text, prefix + name.substr(0, kept) + ".\n");
    }
    // Characters that widen when written out as 8-bit text.
    messageBoxes.clear();
    EXPECT_EQ(LoadRgbImageW(Wide(u"missing/" + std::u16string(400, u'\u00e9')).c_str()), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    const std::string &text = messageBoxes[0].text;
    EXPECT_LE(text.size(), 255u);
    EXPECT_GE(text.size(), 250u);
    EXPECT_EQ(text.substr(text.size() - 2), ".\n");
}

TEST_F(RgbReport, EveryEntryPointReadsTheFileItNames)
{
    SgiPicture picture = RandomPicture(5, 3, 3, 1, 4);
    std::string path = WriteTempFile("names.rgb", EncodeRunLength(picture, 1));
    std::u16string outsideAscii = u"ov_gr\u00fcn_\u65e5.rgb";
#ifdef _WIN32
    std::wstring special = std::wstring(_wgetenv(L"TEMP")) + L"\\" + std::wstring(outsideAscii.begin(), outsideAscii.end());
    FILE *out = _wfopen(special.c_str(), L"wb");
    std::basic_string<WCHAR> widePath(special.begin(), special.end());
#else
    std::string special = "/tmp/ov_gr\xc3\xbcn_\xe6\x97\xa5.rgb";
    FILE *out = fopen(special.c_str(), "wb");
    std::basic_string<WCHAR> widePath = Wide(u"/tmp/" + outsideAscii);
#endif
    ASSERT_NE(out, nullptr);
    Bytes file = EncodeRunLength(picture, 1);
    fwrite(file.data(), 1, file.size(), out);
    fclose(out);
    PixelImage *images[] = {LoadRgbImageA(path.c_str()), LoadRgbImage(path.c_str()),
                            LoadRgbImageW(std::basic_string<WCHAR>(path.begin(), path.end()).c_str()),
                            LoadRgbImageW(widePath.c_str())};
    for (PixelImage *image : images) {
        EXPECT_EQ(RecordBytes(image), ExpectedRecord(picture, 1));
        FreeImage(image);
    }
    EXPECT_TRUE(messageBoxes.empty()) << messageBoxes[0].text;
    remove(path.c_str());
#ifdef _WIN32
    _wremove(special.c_str());
#else
    remove(special.c_str());
#endif
}

} // namespace
