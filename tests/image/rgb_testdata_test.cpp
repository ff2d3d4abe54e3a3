// The SGI reader on files written by other programs.
#include <stdio.h>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/rgb_memory_file.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

std::string Sgi(const std::string &name) { return TestDataPath("sgi/" + name); }

struct Decoded {
    int width = -1;
    int height = -1;
    Bytes pixels;
};

Decoded Load(const std::string &path)
{
    Decoded decoded;
    PixelImage *image = LoadRgbImageA(path.c_str());
    if (image) {
        decoded.width = image->width;
        decoded.height = image->height;
        decoded.pixels = RecordBytes(image);
    }
    FreeImage(image);
    return decoded;
}

Decoded LoadSwapped(const std::string &name)
{
    Bytes original = ReadWholeFile(Sgi(name));
    std::string path = WriteTempFile("swapped_" + name, SwapByteOrder(original));
    Decoded decoded = Load(path);
    remove(path.c_str());
    return decoded;
}

void ExpectSame(const Decoded &actual, const Decoded &expected, const std::string &what)
{
    ASSERT_GT(expected.width, 0) << what;
    EXPECT_EQ(actual.width, expected.width) << what;
    EXPECT_EQ(actual.height, expected.height) << what;
    EXPECT_TRUE(actual.pixels == expected.pixels) << what;
}

class RgbTestData : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    ScopedPlatform scoped_;
};

TEST_F(RgbTestData, OneByteFilesEqualTheReferencePictures)
{
    const char *names[] = {"hopper.rgb", "hopper.sgi", "hopper.bw", "tv.rgb", "transparent.sgi"};
    for (const char *name : names) {
        std::string reference = Sgi(std::string("reference/") + name + (std::string(name) == "hopper.bw" ? ".pgm" : ".ppm"));
        Decoded expected;
        ASSERT_TRUE(ReadReference(reference, &expected.width, &expected.height, &expected.pixels)) << reference;
        ExpectSame(Load(Sgi(name)), expected, name);
    }
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(RgbTestData, StorageByteOrderAndSampleSizeDoNotChangeThePicture)
{
    Decoded hopper = Load(Sgi("hopper.rgb"));
    Decoded tv = Load(Sgi("tv.rgb"));
    ExpectSame(Load(Sgi("hopper.sgi")), hopper, "hopper.sgi");
    ExpectSame(Load(Sgi("tv-rle.sgi")), tv, "tv-rle.sgi");
    ExpectSame(Load(Sgi("hopper16.rgb")), hopper, "hopper16.rgb");
    ExpectSame(Load(Sgi("tv16.sgi")), tv, "tv16.sgi");
    for (const char *name : {"hopper.rgb", "hopper.sgi", "hopper16.rgb"})
        ExpectSame(LoadSwapped(name), hopper, std::string("swapped ") + name);
    for (const char *name : {"tv-rle.sgi", "tv16.sgi"})
        ExpectSame(LoadSwapped(name), tv, std::string("swapped ") + name);
    ExpectSame(LoadSwapped("hopper.bw"), Load(Sgi("hopper.bw")), "swapped hopper.bw");
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(RgbTestData, FilesThatCrashedOtherReadersAreReadInsideTheirBounds)
{
    const char *names[] = {
        "crash-465703f71a0f0094873a3e0e82c9f798161171b8.sgi", "crash-64834657ee604b8797bf99eac6a194c124a9a8ba.sgi",
        "crash-6b7f2244da6d0ae297ee0754a424213444e92778.sgi", "crash-754d9c7ec485ffb76a90eeaab191ef69a2a3a3cd.sgi",
        "crash-abcf1c97b8fe42a6c68f1fb0b978530c98d57ced.sgi", "crash-b82e64d4f3f76d7465b6af535283029eda211259.sgi",
        "crash-c1b2595b8b0b92cc5f38b6635e98e3a119ade807.sgi", "crash-db8bfa78b19721225425530c5946217720d7df4e.sgi",
        "ossfuzz-5730089102868480.sgi",
    };
    for (const char *name : names) {
        Bytes file = ReadWholeFile(Sgi(name));
        ASSERT_FALSE(file.empty()) << name;
        messageBoxes.clear();
        InstallMemoryFile(&platform, file.data(), file.size());
        PixelImage *image = LoadRgbImageA(name);
        EXPECT_FALSE(memoryFile.readPastEnd) << name;
        EXPECT_EQ(memoryFile.closes, memoryFile.opens) << name;
        EXPECT_LE(messageBoxes.size(), 1u) << name;
        // Refused with a reason, or read whole.
        EXPECT_EQ(image == nullptr, messageBoxes.size() == 1) << name;
        if (image) {
            EXPECT_NE(image->pixels, nullptr) << name;
        }
        FreeImage(image);
    }
}

} // namespace
