// How both readers tell the user, and which file each entry point reads.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/image_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace fs = std::filesystem;

namespace {

HWND const kFocused = reinterpret_cast<HWND>(0x1234);
std::vector<std::u16string> formattedNames; // every 16-bit name handed to the formatter

HWND WINAPI FocusedWindow(void) { return kFocused; }
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
    const char *missing; // the start of the message for a missing file
} kEntryPoints[] = {{LoadRgbImageA, LoadRgbImage, LoadRgbImageW, "Failed to open image file "},
                    {LoadDibImageA, LoadDibImage, LoadDibImageW, "Failed to open DIB file "}};

class ImageReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        platform.GetFocus = FocusedWindow;
    }
    ScopedPlatform scoped_;
};

TEST_F(ImageReport, AMissingFileIsNamedInOneBoxOwnedByTheFocusedWindow)
{
    for (const EntryPoints &load : kEntryPoints) {
        const std::string start = load.missing;
        EXPECT_EQ(TakeRecord(load.narrow("no/such/pic.bmp")).boxes, std::vector<std::string>{start + "no/such/pic.bmp.\n"});
        EXPECT_EQ(TakeRecord(load.wide(Wide(u"no/such/wide").data())).boxes,
                  std::vector<std::string>{start + "no/such/wide.\n"});
        EXPECT_EQ(TakeRecord(load.plain(nullptr)).boxes, std::vector<std::string>{start + "(null).\n"});
        EXPECT_EQ(TakeRecord(load.wide(nullptr)).boxes, std::vector<std::string>{start + "(null).\n"});
    }
    EXPECT_EQ(LoadDibImageA("no/such/pic.bmp"), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].caption, "Error");
    EXPECT_EQ(messageBoxes[0].flags, UINT(MB_OK));
    EXPECT_EQ(messageBoxes[0].owner, kFocused);
}

TEST_F(ImageReport, LongNamesAreCutSoTheMessageFits)
{
    const std::string start = kEntryPoints[0].missing;
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

// Through each name form, while another reader holds the file open.
TEST_F(ImageReport, EveryEntryPointReadsTheFileItNames)
{
    const Bytes files[] = {MakeSgi(2, 2, 3, false, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}),
                           MakeDib(2, 1, 24, BI_RGB, {}, {1, 2, 3, 4, 5, 6, 0, 0})};
    for (int reader : {0, 1}) {
        const EntryPoints &load = kEntryPoints[reader];
        const Bytes &file = files[reader];
        const std::string path = WriteTempFile("names", file);
        const fs::path special = fs::path(path).parent_path() / fs::u8path("ov_gr\xc3\xbcn_\xe6\x97\xa5");
        std::ofstream(special, std::ios::binary).write(reinterpret_cast<const char *>(file.data()), file.size());
        FILE *held = fopen(path.c_str(), "rb");
        const Outcome outcomes[] = {TakeRecord(load.narrow(path.c_str())), TakeRecord(load.plain(path.c_str())),
                                    TakeRecord(load.wide(Wide(std::u16string(path.begin(), path.end())).data())),
                                    TakeRecord(load.wide(Wide(special.u16string()).data()))};
        fclose(held);
        EXPECT_TRUE(outcomes[0].pixels && outcomes[0].boxes.empty());
        for (const Outcome &outcome : outcomes)
            EXPECT_TRUE(outcome == outcomes[0]);
        remove(path.c_str());
        fs::remove(special);
    }
}

} // namespace
