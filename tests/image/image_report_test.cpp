// How both readers tell the user, and which file each entry point reads.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/image_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

HWND const kFocused = reinterpret_cast<HWND>(0x1234);
HWND boxOwner = nullptr;
std::vector<std::u16string> formattedNames; // every 16-bit name handed to the formatter

HWND WINAPI FocusedWindow(void) { return kFocused; }
int WINAPI RecordOwner(HWND owner, LPCSTR text, LPCSTR caption, UINT flags)
{
    boxOwner = owner;
    messageBoxes.push_back({text, caption, flags});
    return IDOK;
}
int WINAPI RecordingFormat(LPSTR out, LPCSTR format, va_list arguments)
{
    if (strstr(format, "%ws")) {
        va_list copy;
        va_copy(copy, arguments);
        const WCHAR *name = va_arg(copy, const WCHAR *);
        va_end(copy);
        formattedNames.emplace_back();
        for (; *name; ++name)
            formattedNames.back() += char16_t(*name);
    }
    return realPlatform.wvsprintfA(out, format, arguments);
}

std::vector<ImageWideChar> Wide(const std::u16string &text)
{
    std::vector<ImageWideChar> wide(text.begin(), text.end());
    wide.push_back(0);
    return wide;
}

// The three entry points of each reader, in the order of ImageReader.
const struct EntryPoints {
    PixelImage *(*narrow)(const char *);
    PixelImage *(*plain)(const char *);
    PixelImage *(*wide)(const ImageWideChar *);
} kEntryPoints[] = {{LoadRgbImageA, LoadRgbImage, LoadRgbImageW}, {LoadDibImageA, LoadDibImage, LoadDibImageW}};

class ImageReport : public ::testing::Test {
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

TEST_F(ImageReport, AMissingFileIsNamedInOneBoxOwnedByTheFocusedWindow)
{
    for (const EntryPoints &load : kEntryPoints) {
        std::string start = &load == kEntryPoints ? "Failed to open image file " : "Failed to open DIB file ";
        EXPECT_EQ(TakeRecord(load.narrow("no/such/pic.bmp")).boxes, std::vector<std::string>{start + "no/such/pic.bmp.\n"});
        EXPECT_EQ(TakeRecord(load.wide(Wide(u"no/such/wide").data())).boxes,
                  std::vector<std::string>{start + "no/such/wide.\n"});
        EXPECT_EQ(TakeRecord(load.plain(nullptr)).boxes, std::vector<std::string>{start + "(null).\n"});
    }
    EXPECT_EQ(LoadDibImageA("no/such/pic.bmp"), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(boxOwner, kFocused);
}

TEST_F(ImageReport, NoBoxWhileErrorBoxesIsOff)
{
    const Bytes zeros(600, 0);
    for (ImageReader reader : {ImageReader::Rgb, ImageReader::Dib}) {
        tkShowErrorBoxes(0);
        EXPECT_EQ(LoadPath(reader, "no/such/file"), Outcome{});
        EXPECT_EQ(LoadBytes(reader, zeros), Outcome{});
        tkShowErrorBoxes(1);
        EXPECT_EQ(LoadBytes(reader, zeros).boxes.size(), 1u);
    }
}

TEST_F(ImageReport, LongNamesAreCutSoTheMessageFits)
{
    const std::string start = "Failed to open image file ";
    for (size_t length : {228u, 229u, 230u, 300u, 5000u}) {
        std::string name = "missing/" + std::string(length - 8, 'n');
        size_t kept = std::min(length, 255 - start.size() - 2);
        EXPECT_EQ(LoadPath(ImageReader::Rgb, name).boxes, std::vector<std::string>{start + name.substr(0, kept) + ".\n"});
    }
    // Characters that widen when written out as 8-bit text, and characters of
    // two 16-bit halves, which are kept or dropped whole.
    platform.wvsprintfA = RecordingFormat;
    for (char16_t character : {u'\u00e9', u'\0'}) {
        std::u16string name = u"missing/";
        for (int i = 0; i < 400; ++i)
            name += character ? std::u16string(1, character) : u"\U0001F600";
        formattedNames.clear();
        std::vector<std::string> boxes = TakeRecord(LoadRgbImageW(Wide(name).data())).boxes;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_LE(boxes[0].size(), 255u);
        if (character) {
            EXPECT_GE(boxes[0].size(), 250u); // the longest part of the name that fits
        }
        EXPECT_EQ(boxes[0].substr(boxes[0].size() - 2), ".\n");
        ASSERT_FALSE(formattedNames.empty());
        for (const std::u16string &cut : formattedNames) {
            EXPECT_EQ(name.compare(0, cut.size(), cut), 0);
            EXPECT_FALSE(!cut.empty() && cut.back() >= 0xD800 && cut.back() <= 0xDBFF) << cut.size();
        }
    }
}

TEST_F(ImageReport, EveryEntryPointReadsTheFileItNames)
{
    const std::u16string outsideAscii = u"ov_gr\u00fcn_\u65e5";
#ifdef _WIN32
    const std::string folder = getenv("TEMP");
#else
    const std::string folder = "/tmp";
#endif
    const Bytes files[] = {MakeSgi(2, 2, 3, false, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}),
                           MakeDib(2, 1, 24, BI_RGB, {}, {1, 2, 3, 4, 5, 6, 0, 0})};
    for (int reader : {0, 1}) {
        const Bytes &file = files[reader];
        const EntryPoints &load = kEntryPoints[reader];
        std::string path = WriteTempFile("names", file);
        std::u16string special = std::u16string(folder.begin(), folder.end()) + u"/" + outsideAscii;
#ifdef _WIN32
        FILE *out = _wfopen(std::wstring(special.begin(), special.end()).c_str(), L"wb");
#else
        FILE *out = fopen((folder + "/ov_gr\xc3\xbcn_\xe6\x97\xa5").c_str(), "wb");
#endif
        ASSERT_NE(out, nullptr);
        fwrite(file.data(), 1, file.size(), out);
        fclose(out);
        const Outcome outcomes[] = {TakeRecord(load.narrow(path.c_str())), TakeRecord(load.plain(path.c_str())),
                                    TakeRecord(load.wide(Wide(std::u16string(path.begin(), path.end())).data())),
                                    TakeRecord(load.wide(Wide(special).data()))};
        EXPECT_TRUE(outcomes[0].pixels && outcomes[0].boxes.empty());
        for (const Outcome &outcome : outcomes)
            EXPECT_TRUE(outcome == outcomes[0]);
        remove(path.c_str());
#ifdef _WIN32
        _wremove(std::wstring(special.begin(), special.end()).c_str());
#else
        remove((folder + "/ov_gr\xc3\xbcn_\xe6\x97\xa5").c_str());
#endif
    }
}

} // namespace
