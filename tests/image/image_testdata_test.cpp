// Both readers on files written by other programs: the record of each
// reference picture, the message of each refused file, the same outcome from
// disk and from an exact-size block (where the sanitizers see over-reads), and
// every input the fuzz targets kept or crashed on.
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "dib_header.h"
#include "dib_reader.h"
#include "image_report.h"
#include "tests/image/image_files.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace fs = std::filesystem;

namespace {

class ImageTestData : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    void TearDown() override { SetImagePixelLimit(IMAGE_DEFAULT_PIXEL_LIMIT); }
    ScopedPlatform scoped_;
    std::error_code ignore_; // fuzz/crashes/TARGET exists once a target has crashed
};

// Verbatim and run-length storage, 1- and 2-byte samples, grey and alpha, in
// either byte order.
TEST_F(ImageTestData, SgiFilesInEveryFormGiveTheirReferencePicture)
{
    const std::pair<const char *, const char *> files[] = {
        {"hopper.rgb", "hopper.rgb.ppm"}, {"hopper.sgi", "hopper.sgi.ppm"}, {"hopper16.rgb", "hopper.rgb.ppm"},
        {"hopper.bw", "hopper.bw.pgm"},   {"tv.rgb", "tv.rgb.ppm"},         {"tv-rle.sgi", "tv.rgb.ppm"},
        {"tv16.sgi", "tv.rgb.ppm"},       {"transparent.sgi", "transparent.sgi.ppm"},
    };
    for (const auto &[name, reference] : files) {
        SCOPED_TRACE(name);
        const Outcome expected = ReadReference(TestDataPath(std::string("sgi/reference/") + reference));
        const std::string path = TestDataPath(std::string("sgi/") + name);
        ASSERT_TRUE(expected.pixels);
        EXPECT_TRUE(LoadPath(ImageReader::Rgb, path) == expected);
        EXPECT_TRUE(LoadPath(ImageReader::Any, path) == expected);
        EXPECT_TRUE(LoadBytes(ImageReader::Rgb, SwapByteOrder(ReadWholeFile(path))) == expected);
    }
}

// Bitmaps without a reference of their own, or refused despite one. The
// bit-field and top-down files give their plain twins' pictures.
const std::pair<const char *, const char *> kUnknown{kDibUnknownFormat, nullptr}, kUnconverted{kDibConversionError, nullptr};
const std::map<std::string, std::pair<const char *, const char *>> kExceptions = {
    {"pal8topdown.bmp", {nullptr, "pal8.bmp"}}, {"rgb16-565.bmp", {nullptr, "rgb16-565pal.bmp"}},
    {"rgb16bfdef.bmp", {nullptr, "rgb16.bmp"}}, {"rgb32bf.bmp", {nullptr, "rgb32.bmp"}},
    {"rgb32bfdef.bmp", {nullptr, "rgb32.bmp"}}, {"clipboard.dib", {nullptr, nullptr}},
    {"pal8v4.bmp", kUnknown}, {"pal8v5.bmp", kUnknown}, {"badheadersize.bmp", kUnknown}, {"1.bmp", kUnknown},
    {"hopper.bmp", kUnknown}, {"hopper_rle8_grayscale.bmp", kUnknown}, {"rgb32bf-abgr.bmp", kUnknown},
    {"rgb32bf-rgba.bmp", kUnknown}, {"badbitcount.bmp", kUnconverted}, {"badwidth.bmp", kUnconverted},
    {"rgb16-880.bmp", kUnconverted}, // a mask of 0
    {"rletopdown.bmp", kUnconverted}, {"l2rgb_read.bmp", kUnconverted}, // bfOffBits past the end
    {"reallybig.bmp", {kImagePixelLimit, nullptr}},
    // Pixel data past the end of the file, where GDI reads on into whatever follows.
    {"shortfile.bmp", kUnconverted},
};

// A 32-bit bit-field bitmap without a file header: masks 0xFF0000, 0xFF00,
// 0xFF after the header, rows bottom first right after them.
Outcome ClipboardRecord(const Bytes &file, const Outcome &decoded)
{
    Outcome outcome = decoded;
    outcome.bytes.clear();
    for (size_t i = 0; i < size_t(decoded.width) * decoded.height; ++i)
        outcome.bytes.insert(outcome.bytes.end(), {file[54 + 4 * i], file[53 + 4 * i], file[52 + 4 * i]});
    return outcome;
}

TEST_F(ImageTestData, BitmapsGiveTheirGdiReferenceOrTheirMessage)
{
    int files = 0;
    for (const char *folder : {"bmp/bmpsuite/good", "bmp/bmpsuite/bad", "bmp/more"})
        for (const auto &entry : fs::directory_iterator(TestDataPath(folder))) {
            const std::string name = entry.path().filename().string();
            SCOPED_TRACE(name);
            ++files;
            const Bytes file = ReadWholeFile(entry.path().string());
            const Outcome outcome = LoadPath(ImageReader::Dib, entry.path().string());
            const auto found = kExceptions.find(name);
            const bool exception = found != kExceptions.end();
            const std::string reference = TestDataPath("bmp/gdi-reference/") +
                                          (exception && found->second.second ? found->second.second : name) + ".ppm";
            ASSERT_TRUE(exception || fs::exists(reference)) << "no expectation for this file";
            if (exception && found->second.first)
                EXPECT_EQ(outcome.boxes, std::vector<std::string>{found->second.first});
            else
                EXPECT_TRUE(outcome ==
                            (name == "clipboard.dib" ? ClipboardRecord(file, outcome) : ReadReference(reference)));
            EXPECT_TRUE(LoadBytes(ImageReader::Dib, file) == outcome);
            EXPECT_TRUE(memoryFile.AllReleased());
            // The loader reads the longer header forms as GDI reads them, from
            // the file's own header, and all else as LoadDibImageA, without a box.
            const unsigned char *header = &file[file[0] == 'B' ? 14 : 0];
            const bool longForm = header[0] == 108 || header[0] == 124;
            Outcome loaded = outcome;
            if (longForm)
                loaded = ReadReference(TestDataPath("bmp/gdi-reference/") + name + ".ppm");
            loaded.boxes.clear();
            const Outcome byLoader = LoadPath(ImageReader::Any, entry.path().string());
            EXPECT_TRUE(byLoader == loaded) << "by the loader";
            EXPECT_TRUE(longForm || byLoader.failure == outcome.failure) << byLoader.failure;
            EXPECT_TRUE(LoadBytes(ImageReader::Any, file) == loaded);
            // Without its file header, a bitmap whose pixels follow its colour
            // table gives the same picture.
            const unsigned char *info = &file[14];
            const size_t table = size_t(CountDibColors(info)) * (info[0] == 12 ? 3 : 4);
            const bool plain = info[0] == 12 || (info[0] == 40 && info[16] == BI_RGB);
            if (outcome.pixels && plain && uint32_t(file[10] | file[11] << 8) == 14 + info[0] + table) {
                const Bytes headerless(file.begin() + 14, file.end());
                EXPECT_TRUE(LoadBytes(ImageReader::Dib, headerless) == outcome) << "no file header";
                EXPECT_TRUE(LoadBytes(ImageReader::Any, headerless) == outcome) << "no file header, by the loader";
            }
        }
    EXPECT_GT(files, 50);
}

TEST_F(ImageTestData, EveryInputTheFuzzTargetsKeptOrCrashedOnIsReadSafely)
{
    SetImagePixelLimit(kCheckedPixelLimit);
    const std::pair<ImageReader, std::string> folders[] = {
        {ImageReader::Rgb, TestDataPath("sgi")}, // the crash-* files other readers failed on
        {ImageReader::Rgb, OV_FUZZ_INPUTS "/corpus/fuzz_rgb"},  {ImageReader::Rgb, OV_FUZZ_INPUTS "/crashes/fuzz_rgb"},
        {ImageReader::Dib, OV_FUZZ_INPUTS "/corpus/fuzz_dib"},  {ImageReader::Dib, OV_FUZZ_INPUTS "/crashes/fuzz_dib"},
        {ImageReader::Any, TestDataPath("sgi")},                {ImageReader::Any, OV_FUZZ_INPUTS "/corpus/fuzz_rgb"},
        {ImageReader::Any, OV_FUZZ_INPUTS "/corpus/fuzz_dib"},
    };
    int inputs = 0;
    for (const auto &[reader, folder] : folders)
        for (const auto &entry : fs::directory_iterator(folder, std::filesystem::directory_options::none, ignore_))
            if (entry.is_regular_file()) {
                Bytes input = ReadWholeFile(entry.path().string());
                EXPECT_TRUE(ReadsSafely(reader, input.data(), input.size())) << entry.path();
                ++inputs;
            }
    EXPECT_GT(inputs, 20);
}

} // namespace
