// The SGI reader on files made here: layout, both byte orders, both storage
// kinds, 1- and 2-byte samples, grey files, and refusal of damaged files.
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include "image/rgb_reader.h"
#include "tests/image/rgb_memory_file.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

class RgbReader : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    void TearDown() override
    {
        for (const std::string &path : written_)
            remove(path.c_str());
    }

    // Through a real file, as a program would read it.
    PixelImage *LoadFile(const Bytes &bytes)
    {
        std::string name = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                           std::to_string(written_.size()) + ".rgb";
        written_.push_back(WriteTempFile(name, bytes));
        return LoadRgbImageA(written_.back().c_str());
    }

    // Through the memory file, which also sees reads that go past the end.
    PixelImage *LoadMemory(const Bytes &bytes)
    {
        InstallMemoryFile(&platform, bytes.data(), bytes.size());
        return LoadRgbImageA("memory.rgb");
    }

    void ExpectRefused(const Bytes &bytes, const char *message)
    {
        messageBoxes.clear();
        PixelImage *image = LoadMemory(bytes);
        EXPECT_EQ(image, nullptr);
        FreeImage(image);
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, message);
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        EXPECT_FALSE(memoryFile.readPastEnd);
    }

    ScopedPlatform scoped_;
    std::vector<std::string> written_;
};

Bytes TwoByTwoVerbatim()
{
    SgiPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.channels = 3;
    for (uint16_t v = 1; v <= 12; ++v)
        picture.samples.push_back(v);
    return EncodeVerbatim(picture, 1);
}

void SetWord(Bytes &file, size_t at, uint16_t value)
{
    file[at] = uint8_t(value >> 8);
    file[at + 1] = uint8_t(value);
}

void SetLong(Bytes &file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = uint8_t(value >> (24 - 8 * i));
}

TEST_F(RgbReader, InterleavesChannelsRowsBottomFirstInEitherByteOrder)
{
    const Bytes expected = {1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12};
    for (const Bytes &file : {TwoByTwoVerbatim(), SwapByteOrder(TwoByTwoVerbatim())}) {
        PixelImage *image = LoadFile(file);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(RecordBytes(image), expected);
        FreeImage(image);
    }
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(RgbReader, EveryFormOfOnePictureGivesTheSameRecord)
{
    for (int bytesPerSample : {1, 2}) {
        for (uint16_t width : {1, 3, 7, 130}) {
            SgiPicture picture = RandomPicture(width, 5, 3, bytesPerSample, width * 7u + bytesPerSample);
            Bytes expected = ExpectedRecord(picture, bytesPerSample);
            Bytes verbatim = EncodeVerbatim(picture, bytesPerSample);
            Bytes runLength = EncodeRunLength(picture, bytesPerSample);
            for (const Bytes &file : {verbatim, runLength, SwapByteOrder(verbatim), SwapByteOrder(runLength)}) {
                PixelImage *image = LoadFile(file);
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(image->width, width);
                EXPECT_EQ(RecordBytes(image), expected) << "width " << width << ", " << bytesPerSample << " bytes";
                FreeImage(image);
            }
        }
    }
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(RgbReader, GreyFilesAndAlphaFiles)
{
    // One or two channels: channel 0 as red, green and blue. Four: alpha unread.
    for (uint16_t channels : {1, 2, 4}) {
        SgiPicture picture = RandomPicture(5, 4, channels, 1, channels);
        Bytes expected = ExpectedRecord(picture, 1);
        for (const Bytes &file : {EncodeVerbatim(picture, 1), EncodeRunLength(picture, 1)}) {
            PixelImage *image = LoadMemory(file);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(RecordBytes(image), expected) << channels << " channels";
            EXPECT_FALSE(memoryFile.readPastEnd);
            FreeImage(image);
        }
    }
    SgiPicture four = RandomPicture(3, 3, 4, 1, 9);
    SgiPicture three = four;
    three.channels = 3;
    three.samples.resize(3 * 3 * 3);
    PixelImage *withAlpha = LoadMemory(EncodeRunLength(four, 1));
    PixelImage *without = LoadFile(EncodeRunLength(three, 1));
    EXPECT_EQ(RecordBytes(withAlpha), RecordBytes(without));
    FreeImage(withAlpha);
    FreeImage(without);
}

TEST_F(RgbReader, NoRowsGivesAnEmptyRecordWithPixels)
{
    SgiPicture picture;
    picture.width = 4;
    picture.channels = 3;
    PixelImage *image = LoadMemory(EncodeVerbatim(picture, 1));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->height, 0);
    EXPECT_NE(image->pixels, nullptr);
    EXPECT_EQ(memoryFile.reads, 1); // the header only
    FreeImage(image);
}

TEST(RgbPackedRow, PacketsDecodeAndStopAtTheRowEnd)
{
    unsigned char out[8];
    const unsigned char literal[] = {0x83, 0x0A, 0x0B, 0x0C, 0x00};
    ASSERT_EQ(DecodeRgbPackedRow(literal, sizeof literal, 1, true, out, 3), 3u);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{10, 11, 12}));
    const unsigned char run[] = {0x03, 0x07, 0x00};
    ASSERT_EQ(DecodeRgbPackedRow(run, sizeof run, 1, true, out, 3), 3u);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{7, 7, 7}));
    const unsigned char empty[] = {0x00};
    EXPECT_EQ(DecodeRgbPackedRow(empty, sizeof empty, 1, true, out, 3), 0u);

    // More samples than the row holds, and packets cut off by the stored length.
    memset(out, 0xEE, sizeof out);
    const unsigned char tooLong[] = {0x05, 0x01, 0x84, 2, 3, 4, 5, 0x00};
    EXPECT_EQ(DecodeRgbPackedRow(tooLong, sizeof tooLong, 1, true, out, 4), 4u);
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{1, 1, 1, 1, 0xEE}));
    const unsigned char cutLiteral[] = {0x85, 9, 8};
    EXPECT_EQ(DecodeRgbPackedRow(cutLiteral, sizeof cutLiteral, 1, true, out, 8), 2u);
    const unsigned char cutRun[] = {0x01, 4, 0x05};
    EXPECT_EQ(DecodeRgbPackedRow(cutRun, sizeof cutRun, 1, true, out, 8), 1u);
}

TEST(RgbPackedRow, TwoByteWordsKeepTheHighByte)
{
    unsigned char out[4];
    const unsigned char bigEndian[] = {0x00, 0x82, 0x12, 0x34, 0x56, 0x78, 0x00, 0x02, 0x9A, 0xBC, 0x00, 0x00};
    ASSERT_EQ(DecodeRgbPackedRow(bigEndian, sizeof bigEndian, 2, true, out, 4), 4u);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x12, 0x56, 0x9A, 0x9A}));
    const unsigned char littleEndian[] = {0x82, 0x00, 0x34, 0x12, 0x78, 0x56, 0x02, 0x00, 0xBC, 0x9A, 0x00, 0x00};
    ASSERT_EQ(DecodeRgbPackedRow(littleEndian, sizeof littleEndian, 2, false, out, 4), 4u);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x12, 0x56, 0x9A, 0x9A}));
}

TEST_F(RgbReader, ShortPackedRowsAreBlackNotStale)
{
    SgiPicture picture = RandomPicture(6, 2, 3, 1, 3);
    for (uint16_t &sample : picture.samples)
        sample |= 0x10;
    Bytes file = EncodeRunLength(picture, 1);
    // Row 1 of red now ends at once, which left row 0's samples in the buffer.
    size_t offset = (size_t(file[512 + 4]) << 24) | (file[512 + 5] << 16) | (file[512 + 6] << 8) | file[512 + 7];
    file[offset] = 0x00;
    PixelImage *image = LoadMemory(file);
    ASSERT_NE(image, nullptr);
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(image->pixels[(6 + x) * 3], 0) << x;
        EXPECT_NE(image->pixels[(6 + x) * 3 + 1], 0) << x;
    }
    FreeImage(image);
}

TEST_F(RgbReader, DamagedFilesAreRefusedWithoutReadingPastTheirEnd)
{
    const Bytes good = EncodeRunLength(RandomPicture(4, 3, 3, 1, 1), 1);
    const size_t rows = 3 * 3;
    Bytes badMagic = TwoByTwoVerbatim();
    badMagic[1] = 0xDB;
    ExpectRefused(badMagic, "Invalid rgb file.");
    ExpectRefused(Bytes(good.begin(), good.begin() + 11), "Invalid rgb file.");  // header cut
    ExpectRefused(Bytes(good.begin(), good.begin() + 300), "Invalid rgb file."); // before the data
    ExpectRefused(Bytes(good.begin(), good.begin() + 512 + rows * 6), "Invalid rgb file."); // tables cut

    Bytes offsetBeyond = good;
    SetLong(offsetBeyond, 512 + 4, uint32_t(good.size()));
    ExpectRefused(offsetBeyond, "Invalid rgb file.");
    Bytes lengthBeyond = good;
    SetLong(lengthBeyond, 512 + rows * 4 + 8, 200);
    ExpectRefused(lengthBeyond, "Invalid rgb file.");
    Bytes overPackedRow = good; // longer than 256 x XSIZE, though inside the file
    overPackedRow.resize(good.size() + 2000, 0);
    SetLong(overPackedRow, 512 + rows * 4, 256 * 4 + 1);
    ExpectRefused(overPackedRow, "Invalid rgb file.");
    Bytes noChannels = TwoByTwoVerbatim();
    SetWord(noChannels, 10, 0);
    ExpectRefused(noChannels, "Invalid rgb file.");
    Bytes verbatimCut = TwoByTwoVerbatim();
    verbatimCut.pop_back();
    ExpectRefused(verbatimCut, "Invalid rgb file.");
}

TEST_F(RgbReader, OnlyTheRowsThatAreReadMustBeSound)
{
    // The alpha channel's table entries are never used.
    Bytes file = EncodeRunLength(RandomPicture(4, 2, 4, 1, 5), 1);
    SetLong(file, 512 + 7 * 4, 0xFFFFFF00u);
    PixelImage *image = LoadMemory(file);
    EXPECT_NE(image, nullptr);
    EXPECT_FALSE(memoryFile.readPastEnd);
    FreeImage(image);
}

// Fails one chosen allocation and keeps the largest request seen.
int failAllocation = 0;
int allocations = 0;
size_t largestRequest = 0;
size_t refuseAbove = SIZE_MAX;

void *ScriptedAllocate(size_t size)
{
    ++allocations;
    if (size > largestRequest)
        largestRequest = size;
    if (allocations == failAllocation || size > refuseAbove)
        return nullptr;
    return malloc(size);
}

struct ScopedAllocator {
    explicit ScopedAllocator(int failing, size_t above = SIZE_MAX)
    {
        failAllocation = failing;
        refuseAbove = above;
        allocations = 0;
        largestRequest = 0;
        rgbAllocate = ScriptedAllocate;
    }
    ~ScopedAllocator() { rgbAllocate = malloc; }
};

TEST_F(RgbReader, EveryAllocationFailureSaysOutOfMemoryOnce)
{
    const Bytes file = EncodeRunLength(RandomPicture(3, 2, 3, 1, 2), 1);
    int total;
    {
        ScopedAllocator counting(0);
        FreeImage(LoadMemory(file));
        total = allocations;
    }
    ASSERT_EQ(total, 9); // reader, four row buffers, two tables, record, pixels
    for (int failing = 1; failing <= total + 1; ++failing) {
        messageBoxes.clear();
        ScopedAllocator scripted(failing);
        PixelImage *image = LoadMemory(file);
        if (failing == total + 1) { // nothing failed
            EXPECT_NE(image, nullptr);
            EXPECT_TRUE(messageBoxes.empty());
        } else if (failing == total) { // the pixel array: a record without pixels
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->width, 3);
            EXPECT_EQ(image->pixels, nullptr);
            ASSERT_EQ(messageBoxes.size(), 1u);
            EXPECT_EQ(messageBoxes[0].text, "Out of memory.");
        } else {
            EXPECT_EQ(image, nullptr) << failing;
            ASSERT_EQ(messageBoxes.size(), 1u) << failing;
            EXPECT_EQ(messageBoxes[0].text, "Out of memory.");
        }
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        FreeImage(image);
    }
}

TEST_F(RgbReader, LargestPictureSizeDoesNotWrap)
{
    // 65535 x 65535 run-length rows all sharing one packed row: a small file
    // whose pixel array (12.9 GB) cannot be had; it must not wrap on 32 bits.
    Bytes file = EncodeRunLength(RandomPicture(1, 1, 3, 1, 1), 1);
    SetWord(file, 6, 65535);
    SetWord(file, 8, 65535);
    size_t rows = size_t(65535) * 3;
    uint32_t shared = uint32_t(512 + rows * 8);
    file.resize(shared + 1, 0); // one packed row that ends at once
    for (size_t row = 0; row < rows; ++row) {
        SetLong(file, 512 + row * 4, shared);
        SetLong(file, 512 + rows * 4 + row * 4, 1);
    }
    ScopedAllocator limited(0, size_t(1) << 30);
    PixelImage *image = LoadMemory(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 65535);
    EXPECT_EQ(image->height, 65535);
    EXPECT_EQ(image->pixels, nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Out of memory.");
    if (sizeof(size_t) == 8)
        EXPECT_EQ(largestRequest, size_t(65535) * 65535 * 3);
    else
        EXPECT_LT(largestRequest, size_t(1) << 30); // too large to ask for at all
    FreeImage(image);
}

} // namespace
