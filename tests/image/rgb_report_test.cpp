// How the SGI reader tells the user: texts, owner, the switch, one box a call.
#include <stdio.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

HWND const kFocused = reinterpret_cast<HWND>(0x1234);
HWND boxOwner = nullptr;
int boxes = 0;

HWND WINAPI FocusedWindow(void) { return kFocused; }

int WINAPI RecordOwner(HWND owner, LPCSTR text, LPCSTR caption, UINT flags)
{
    ++boxes;
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
        boxes = 0;
        boxOwner = nullptr;
    }
    void TearDown() override { tkShowErrorBoxes(1); }
    ScopedPlatform scoped_;
};

TEST_F(RgbReport, MissingFileNamesItInOneBoxOwnedByTheFocusedWindow)
{
    platform.GetFocus = FocusedWindow;
    EXPECT_EQ(LoadRgbImageA("no/such/pic.rgb"), nullptr);
    ASSERT_EQ(boxes, 1);
    EXPECT_EQ(messageBoxes[0].text, "Failed to open image file no/such/pic.rgb.\n");
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(boxOwner, kFocused);

    std::basic_string<WCHAR> wide = Wide(u"no/such/wide.rgb");
    EXPECT_EQ(LoadRgbImageW(wide.c_str()), nullptr);
    ASSERT_EQ(boxes, 2);
    EXPECT_EQ(messageBoxes[1].text, "Failed to open image file no/such/wide.rgb.\n");
    EXPECT_EQ(LoadRgbImage(nullptr), nullptr);
    ASSERT_EQ(boxes, 3);
    EXPECT_EQ(messageBoxes[2].text, "Failed to open image file (null).\n");
}

TEST_F(RgbReport, NoBoxWhileErrorBoxesIsOff)
{
    tkShowErrorBoxes(0);
    EXPECT_EQ(LoadRgbImageA("no/such/pic.rgb"), nullptr);
    Bytes bad(600, 0);
    std::string path = WriteTempFile("report_bad.rgb", bad);
    EXPECT_EQ(LoadRgbImageA(path.c_str()), nullptr);
    EXPECT_EQ(boxes, 0);
    tkShowErrorBoxes(1);
    EXPECT_EQ(LoadRgbImageA(path.c_str()), nullptr);
    ASSERT_EQ(boxes, 1);
    EXPECT_EQ(messageBoxes[0].text, "Invalid rgb file.");
    remove(path.c_str());
}

TEST_F(RgbReport, LongNamesAreCutSoTheMessageFits)
{
    const std::string prefix = "Failed to open image file ";
    for (size_t length : {228u, 229u, 230u, 300u, 5000u}) {
        messageBoxes.clear();
        std::string name = "missing/" + std::string(length - 8, 'n');
        EXPECT_EQ(LoadRgbImageA(name.c_str()), nullptr);
        ASSERT_EQ(messageBoxes.size(), 1u);
        const std::string &text = messageBoxes[0].text;
        EXPECT_LE(text.size(), 255u) << length;
        EXPECT_EQ(text.substr(text.size() - 2), ".\n") << length;
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        size_t kept = text.size() - prefix.size() - 2;
        EXPECT_EQ(kept, std::min(length, size_t(255 - prefix.size() - 2))) << length;
        EXPECT_EQ(text.substr(prefix.size(), kept), name.substr(0, kept));
    }
    // Characters that widen when written out as 8-bit text.
    std::u16string accents = u"missing/";
    for (int i = 0; i < 400; ++i)
        accents += u'\u00e9';
    messageBoxes.clear();
    EXPECT_EQ(LoadRgbImageW(Wide(accents).c_str()), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_LE(messageBoxes[0].text.size(), 255u);
    EXPECT_GE(messageBoxes[0].text.size(), 250u);
    EXPECT_EQ(messageBoxes[0].text.substr(messageBoxes[0].text.size() - 2), ".\n");
}

TEST_F(RgbReport, EightBitAndWideNamesReadTheSameFile)
{
    Bytes file = EncodeRunLength(RandomPicture(5, 3, 3, 1, 4), 1);
    std::string path = WriteTempFile("names.rgb", file);
    std::basic_string<WCHAR> widePath(path.begin(), path.end());
    PixelImage *narrow = LoadRgbImageA(path.c_str());
    PixelImage *wide = LoadRgbImageW(widePath.c_str());
    PixelImage *plain = LoadRgbImage(path.c_str());
    ASSERT_NE(narrow, nullptr);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(wide->width, narrow->width);
    EXPECT_EQ(wide->height, narrow->height);
    EXPECT_EQ(RecordBytes(wide), RecordBytes(narrow));
    EXPECT_EQ(RecordBytes(plain), RecordBytes(narrow));
    FreeImage(narrow);
    FreeImage(wide);
    FreeImage(plain);
    remove(path.c_str());
    EXPECT_EQ(boxes, 0);
}

TEST_F(RgbReport, WideNameOutsideAsciiOpensTheFile)
{
    Bytes file = EncodeVerbatim(RandomPicture(2, 2, 3, 1, 8), 1);
    std::u16string name = u"ov_gr\u00fcn_\u65e5.rgb";
#ifdef _WIN32
    std::wstring path = std::wstring(_wgetenv(L"TEMP")) + L"\\" + std::wstring(name.begin(), name.end());
    FILE *out = _wfopen(path.c_str(), L"wb");
    std::basic_string<WCHAR> widePath(path.begin(), path.end());
#else
    std::string path = "/tmp/ov_gr\xc3\xbcn_\xe6\x97\xa5.rgb";
    FILE *out = fopen(path.c_str(), "wb");
    std::basic_string<WCHAR> widePath = Wide(u"/tmp/" + name);
#endif
    ASSERT_NE(out, nullptr);
    fwrite(file.data(), 1, file.size(), out);
    fclose(out);
    PixelImage *image = LoadRgbImageW(widePath.c_str());
    ASSERT_NE(image, nullptr) << (boxes ? messageBoxes[0].text : "");
    EXPECT_EQ(RecordBytes(image), ExpectedRecord(RandomPicture(2, 2, 3, 1, 8), 1));
    FreeImage(image);
#ifdef _WIN32
    _wremove(path.c_str());
#else
    remove(path.c_str());
#endif
}

} // namespace
