// The SGI reader on files written by other programs.
#include <stdio.h>

#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/memory_file.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

std::string Sgi(const std::string &name) { return TestDataPath("sgi/" + name); }

struct Decoded {
    int width = -1, height = -1;
    Bytes pixels;
    bool operator==(const Decoded &other) const
    {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

Decoded Load(const std::string &path)
{
    Decoded decoded;
    if (PixelImage *image = LoadRgbImageA(path.c_str())) {
        decoded = {image->width, image->height, RecordBytes(image)};
        FreeImage(image);
    }
    return decoded;
}

// The least-significant-first form of a file, made by swapping.
Decoded LoadSwapped(const std::string &name)
{
    std::string path = WriteTempFile("swapped_" + name, SwapByteOrder(ReadWholeFile(Sgi(name))));
    Decoded decoded = Load(path);
    remove(path.c_str());
    return decoded;
}

class RgbTestData : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    ScopedPlatform scoped_;
};

TEST_F(RgbTestData, OneByteFilesEqualTheReferencePictures)
{
    for (std::string name : {"hopper.rgb", "hopper.sgi", "hopper.bw", "tv.rgb", "transparent.sgi"}) {
        Decoded expected;
        std::string reference = Sgi("reference/" + name + (name == "hopper.bw" ? ".pgm" : ".ppm"));
        ASSERT_TRUE(ReadReference(reference, &expected.width, &expected.height, &expected.pixels)) << reference;
        EXPECT_TRUE(Load(Sgi(name)) == expected) << name;
    }
    EXPECT_TRUE(messageBoxes.empty());
}

// Verbatim and run-length storage, either byte order, 1- and 2-byte samples.
TEST_F(RgbTestData, EveryFormOfAPictureGivesItsRecord)
{
    const Decoded hopper = Load(Sgi("hopper.rgb")), tv = Load(Sgi("tv.rgb"));
    ASSERT_GT(hopper.width, 0);
    ASSERT_GT(tv.width, 0);
    for (const char *name : {"hopper.sgi", "hopper16.rgb"})
        EXPECT_TRUE(Load(Sgi(name)) == hopper) << name;
    for (const char *name : {"tv-rle.sgi", "tv16.sgi"})
        EXPECT_TRUE(Load(Sgi(name)) == tv) << name;
    for (const char *name : {"hopper.rgb", "hopper.sgi", "hopper16.rgb"})
        EXPECT_TRUE(LoadSwapped(name) == hopper) << "swapped " << name;
    for (const char *name : {"tv-rle.sgi", "tv16.sgi"})
        EXPECT_TRUE(LoadSwapped(name) == tv) << "swapped " << name;
    EXPECT_TRUE(LoadSwapped("hopper.bw") == Load(Sgi("hopper.bw")));
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
        SCOPED_TRACE(name);
        Bytes file = ReadWholeFile(Sgi(name));
        ASSERT_FALSE(file.empty());
        messageBoxes.clear();
        InstallMemoryFile(&platform, file.data(), file.size());
        PixelImage *image = LoadRgbImageA(name);
        EXPECT_FALSE(memoryFile.readPastEnd);
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        // Refused with one reason, or read whole.
        EXPECT_EQ(messageBoxes.size(), image ? 0u : 1u);
        EXPECT_TRUE(!image || image->pixels);
        FreeImage(image);
    }
}

} // namespace
