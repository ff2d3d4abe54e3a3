// Every bitmap of the shared test data through LoadDibImageA: the record GDI
// gives where there is a reference, the right message where the file is
// refused, and the same outcome when the file is read from an exact-size
// block (so that a read past the end shows under the sanitizers).
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "image/dib_reader.h"
#include "image/image_report.h"
#include "tests/image/memory_file.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

struct Expectation {
    const char *message; // null: a picture
    const char *sameAs;  // the reference of the same picture, for files without their own
};

// Files without a reference of their own, or refused despite one. The
// bit-field and top-down files decode to their plain twins' pictures.
const std::map<std::string, Expectation> kExceptions = {
    {"pal8topdown.bmp", {nullptr, "pal8.bmp"}},
    {"rgb16-565.bmp", {nullptr, "rgb16-565pal.bmp"}},
    {"rgb16bfdef.bmp", {nullptr, "rgb16.bmp"}},
    {"rgb32bf.bmp", {nullptr, "rgb32.bmp"}},
    {"rgb32bfdef.bmp", {nullptr, "rgb32.bmp"}},
    {"clipboard.dib", {nullptr, nullptr}},
    {"pal8v4.bmp", {kDibUnknownFormat, nullptr}},
    {"pal8v5.bmp", {kDibUnknownFormat, nullptr}},
    {"badheadersize.bmp", {kDibUnknownFormat, nullptr}},
    {"1.bmp", {kDibUnknownFormat, nullptr}},
    {"hopper.bmp", {kDibUnknownFormat, nullptr}},
    {"hopper_rle8_grayscale.bmp", {kDibUnknownFormat, nullptr}},
    {"rgb32bf-abgr.bmp", {kDibUnknownFormat, nullptr}},
    {"rgb32bf-rgba.bmp", {kDibUnknownFormat, nullptr}},
    {"badbitcount.bmp", {kDibConversionError, nullptr}},
    {"badwidth.bmp", {kDibConversionError, nullptr}},
    {"rgb16-880.bmp", {kDibConversionError, nullptr}}, // a mask of 0
    {"rletopdown.bmp", {kDibConversionError, nullptr}},
    {"l2rgb_read.bmp", {kDibConversionError, nullptr}}, // bfOffBits past the end
    {"reallybig.bmp", {kImageOutOfMemory, nullptr}},
    // Pixel data past the end of the file, where GDI reads on into whatever follows.
    {"shortfile.bmp", {kDibConversionError, nullptr}},
};

struct Outcome {
    bool decoded = false;
    int width = 0, height = 0;
    Bytes record;
    std::vector<std::string> boxes;
};

Outcome Load(const std::string &path, const Bytes *inMemory)
{
    ScopedPlatform scoped;
    if (inMemory)
        InstallMemoryFile(&platform, inMemory->data(), inMemory->size());
    Outcome outcome;
    if (PixelImage *image = LoadDibImageA(path.c_str())) {
        outcome = {true, image->width, image->height, RecordBytes(image), {}};
        FreeImage(image);
    }
    for (const MessageBoxRecord &box : messageBoxes) {
        outcome.boxes.push_back(box.text);
        EXPECT_EQ(box.caption, "Error");
    }
    return outcome;
}

std::string ReferencePath(const std::string &name) { return TestDataPath("bmp/gdi-reference/" + name + ".ppm"); }

// A 32-bit bit-field DIB without a file header: masks 0xFF0000, 0xFF00, 0xFF
// after the header, rows bottom first right after them.
Bytes ClipboardRecord(const Bytes &file, int width, int height)
{
    Bytes record;
    for (int i = 0; i < width * height; ++i) {
        const unsigned char *pixel = &file[52 + 4 * size_t(i)];
        record.insert(record.end(), {pixel[2], pixel[1], pixel[0]});
    }
    return record;
}

void CheckFile(const std::filesystem::path &path)
{
    std::string name = path.filename().string();
    SCOPED_TRACE(name);
    Bytes file = ReadWholeFile(path.string());
    Outcome fromDisk = Load(path.string(), nullptr);
    Outcome fromMemory = Load("memory", &file);
    ASSERT_LE(fromDisk.boxes.size(), 1u);

    auto found = kExceptions.find(name);
    bool listed = found != kExceptions.end();
    ASSERT_TRUE(listed || std::filesystem::exists(ReferencePath(name))) << "no expectation for this file";
    const char *message = listed ? found->second.message : nullptr;
    std::string referenceName = listed && found->second.sameAs ? found->second.sameAs : name;

    if (message) {
        EXPECT_FALSE(fromDisk.decoded);
        ASSERT_EQ(fromDisk.boxes.size(), 1u);
        EXPECT_EQ(fromDisk.boxes[0], message);
    } else {
        ASSERT_TRUE(fromDisk.decoded) << (fromDisk.boxes.empty() ? "" : fromDisk.boxes[0]);
        EXPECT_TRUE(fromDisk.boxes.empty());
        if (name == "clipboard.dib") {
            EXPECT_EQ(fromDisk.record, ClipboardRecord(file, fromDisk.width, fromDisk.height));
        } else {
            int width = 0, height = 0;
            Bytes reference;
            ASSERT_TRUE(ReadReference(ReferencePath(referenceName), &width, &height, &reference));
            EXPECT_EQ(fromDisk.width, width);
            EXPECT_EQ(fromDisk.height, height);
            EXPECT_TRUE(fromDisk.record == reference) << "record differs from " << referenceName;
        }
    }
    EXPECT_EQ(fromMemory.decoded, fromDisk.decoded);
    EXPECT_EQ(fromMemory.boxes, fromDisk.boxes);
    EXPECT_TRUE(fromMemory.record == fromDisk.record);
    EXPECT_EQ(memoryFile.closes, 2); // the mapping and the file
    EXPECT_EQ(memoryFile.unmaps, 1);
}

void CheckFolder(const std::string &relative)
{
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TestDataPath(relative))) {
        CheckFile(entry.path());
        ++files;
    }
    EXPECT_GT(files, 0);
}

class DibTestData : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
};

TEST_F(DibTestData, GoodFiles) { CheckFolder("bmp/bmpsuite/good"); }
TEST_F(DibTestData, BadFiles) { CheckFolder("bmp/bmpsuite/bad"); }
TEST_F(DibTestData, MoreFiles) { CheckFolder("bmp/more"); }

// The 8-bit and 16-bit names of one file give one record.
TEST_F(DibTestData, WideNameGivesTheSameRecord)
{
    std::string path = TestDataPath("bmp/bmpsuite/good/pal4rle.bmp");
    std::vector<ImageWideChar> wide(path.begin(), path.end());
    wide.push_back(0);
    ScopedPlatform scoped;
    PixelImage *narrowImage = LoadDibImage(path.c_str());
    PixelImage *wideImage = LoadDibImageW(wide.data());
    ASSERT_TRUE(narrowImage && wideImage);
    EXPECT_EQ(RecordBytes(narrowImage), RecordBytes(wideImage));
    FreeImage(narrowImage);
    FreeImage(wideImage);
    EXPECT_TRUE(messageBoxes.empty());
}

} // namespace
