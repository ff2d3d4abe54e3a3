// The SGI reader on files made here: layout, byte orders, storage, channels,
// packed rows, damaged files and failing allocations.
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "image/image_report.h"
#include "image/rgb_reader.h"
#include "tests/image/image_files.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

// A 2 x 2 picture with the samples 1 to 12, channel after channel.
const std::vector<Bytes> kTwoByTwo = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}};

// Each row as one literal packet.
std::vector<Bytes> Packed(const std::vector<Bytes> &rows)
{
    std::vector<Bytes> packed;
    for (const Bytes &row : rows) {
        packed.push_back({uint8_t(0x80 | row.size())});
        packed.back().insert(packed.back().end(), row.begin(), row.end());
        packed.back().push_back(0);
    }
    return packed;
}

Bytes Cut(const Bytes &file, size_t size) { return Bytes(file.begin(), file.begin() + size); }

class RgbReader : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    void TearDown() override { rgbAllocate = malloc; }
    ScopedPlatform scoped_;
};

TEST_F(RgbReader, ChannelsInterleaveRowsBottomFirstInEveryForm)
{
    const Bytes verbatim = MakeSgi(2, 2, 3, false, kTwoByTwo), runLength = MakeSgi(2, 2, 3, true, Packed(kTwoByTwo));
    const Bytes record = {1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12};
    std::vector<Bytes> shortRow = Packed(kTwoByTwo);
    shortRow[1] = {0}; // red of row 1 ends at once: black, not row 0's samples
    Bytes badAlpha = MakeSgi(1, 1, 4, true, Packed({{1}, {2}, {3}, {4}}));
    PutBigEndian(badAlpha, 512 + 3 * 4, 0xFFFFFF00u, 4); // only the rows read must be sound
    const struct {
        const char *what;
        Bytes file;
        int width, height;
        Bytes record;
    } cases[] = {
        {"verbatim", verbatim, 2, 2, record},
        {"verbatim, least significant byte first", SwapByteOrder(verbatim), 2, 2, record},
        {"run-length", runLength, 2, 2, record},
        {"run-length, least significant byte first", SwapByteOrder(runLength), 2, 2, record},
        {"short row", MakeSgi(2, 2, 3, true, shortRow), 2, 2, {1, 5, 9, 2, 6, 10, 0, 7, 11, 0, 8, 12}},
        {"alpha", MakeSgi(1, 1, 4, false, {{1}, {2}, {3}, {4}}), 1, 1, {1, 2, 3}},
        {"unsound alpha row", badAlpha, 1, 1, {1, 2, 3}},
        {"grey", MakeSgi(2, 1, 1, true, Packed({{5, 6}})), 2, 1, {5, 5, 5, 6, 6, 6}},
        {"grey and alpha", MakeSgi(2, 1, 2, false, {{5, 6}, {9, 9}}), 2, 1, {5, 5, 5, 6, 6, 6}},
        {"no rows", MakeSgi(4, 0, 3, false, {}), 4, 0, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Outcome outcome = LoadBytes(ImageReader::Rgb, c.file);
        EXPECT_EQ(outcome.width, c.width);
        EXPECT_EQ(outcome.height, c.height);
        EXPECT_TRUE(outcome.pixels);
        EXPECT_EQ(outcome.bytes, c.record);
        EXPECT_TRUE(outcome.boxes.empty());
        EXPECT_FALSE(memoryFile.readPastEnd);
    }
}

TEST(RgbPackedRow, PacketsDecodeAndStopAtTheRowOrTheStoredEnd)
{
    const struct {
        Bytes packed;
        int bytesPerSample;
        bool bigEndian;
        size_t width;
        Bytes written;
    } cases[] = {
        {{0x83, 10, 11, 12, 0x00}, 1, true, 3, {10, 11, 12}},
        {{0x03, 7, 0x00}, 1, true, 3, {7, 7, 7}},
        {{0x00}, 1, true, 3, {}},
        {{0x05, 1, 0x84, 2, 3, 4, 5, 0x00}, 1, true, 4, {1, 1, 1, 1}}, // more than the row holds
        {{0x85, 9, 8}, 1, true, 8, {9, 8}},                             // literal cut by the length
        {{0x01, 4, 0x05}, 1, true, 8, {4}},                             // run cut by the length
        {{0, 0x82, 0x12, 0x34, 0x56, 0x78, 0, 2, 0x9A, 0xBC, 0, 0}, 2, true, 4, {0x12, 0x56, 0x9A, 0x9A}},
        {{0x82, 0, 0x34, 0x12, 0x78, 0x56, 2, 0, 0xBC, 0x9A, 0, 0}, 2, false, 4, {0x12, 0x56, 0x9A, 0x9A}},
    };
    for (const auto &c : cases) {
        unsigned char out[9];
        memset(out, 0xEE, sizeof out);
        size_t got = DecodeRgbPackedRow(c.packed.data(), c.packed.size(), c.bytesPerSample, c.bigEndian, out, c.width);
        EXPECT_EQ(Bytes(out, out + got), c.written);
        EXPECT_EQ(out[got], 0xEE) << "wrote past what it reported";
    }
}

TEST_F(RgbReader, DamagedFilesAreRefusedWithoutReadingPastTheirEnd)
{
    const size_t rows = 3 * 3;
    const Bytes good = MakeSgi(4, 3, 3, true, Packed(std::vector<Bytes>(rows, {1, 2, 3, 4})));
    const Bytes verbatim = MakeSgi(2, 2, 3, false, kTwoByTwo);
    Bytes badMagic = verbatim, noChannels = verbatim, offsetBeyond = good, lengthBeyond = good, overPacked = good;
    badMagic[1] = 0xDB;
    PutBigEndian(noChannels, 10, 0, 2);
    PutBigEndian(offsetBeyond, 512 + 4, uint32_t(good.size()), 4);
    PutBigEndian(lengthBeyond, 512 + rows * 4 + 8, 200, 4);
    overPacked.resize(good.size() + 2000, 0); // longer than 256 x XSIZE, though inside the file
    PutBigEndian(overPacked, 512 + rows * 4, 256 * 4 + 1, 4);
    const std::pair<const char *, Bytes> damaged[] = {
        {"bad magic", badMagic},       {"header cut", Cut(good, 11)},         {"before the data", Cut(good, 300)},
        {"tables cut", Cut(good, 512 + rows * 6)}, {"offset beyond", offsetBeyond}, {"length beyond", lengthBeyond},
        {"packed row too long", overPacked},       {"no channels", noChannels},
        {"verbatim cut", Cut(verbatim, verbatim.size() - 1)},
    };
    for (const auto &[what, file] : damaged) {
        SCOPED_TRACE(what);
        Outcome outcome = LoadBytes(ImageReader::Rgb, file);
        EXPECT_FALSE(outcome.record);
        EXPECT_EQ(outcome.boxes, std::vector<std::string>{kRgbInvalidFile});
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        EXPECT_FALSE(memoryFile.readPastEnd);
    }
}

int failAllocation = 0, allocations = 0;

void *FailOne(size_t size) { return ++allocations == failAllocation ? nullptr : malloc(size); }

TEST_F(RgbReader, EveryAllocationFailureSaysOutOfMemoryOnce)
{
    const Bytes file = MakeSgi(3, 2, 3, true, Packed(std::vector<Bytes>(6, {7, 8, 9})));
    const int total = 9; // reader, four row buffers, two tables, record, pixels
    rgbAllocate = FailOne;
    for (failAllocation = 0; failAllocation <= total; ++failAllocation) {
        SCOPED_TRACE(failAllocation);
        allocations = 0;
        Outcome outcome = LoadBytes(ImageReader::Rgb, file);
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        if (failAllocation == 0) {
            EXPECT_EQ(allocations, total);
            EXPECT_TRUE(outcome.pixels && outcome.boxes.empty());
            continue;
        }
        EXPECT_EQ(outcome.boxes, std::vector<std::string>{kImageOutOfMemory});
        // Only without the pixel array does a record come back, without pixels.
        EXPECT_EQ(outcome.record, failAllocation == total);
        EXPECT_EQ(outcome.width, failAllocation == total ? 3 : 0);
        EXPECT_FALSE(outcome.pixels);
    }
}

} // namespace
