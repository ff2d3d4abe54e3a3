// The SGI reader on files made here: layout, both byte orders, both storage
// kinds, 1- and 2-byte samples, grey files, damaged files, and no memory.
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include "image/rgb_reader.h"
#include "tests/image/memory_file.h"
#include "tests/image/rgb_test_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

void SetBigEndian(Bytes &file, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        file[at + i] = uint8_t(value >> (8 * (size - 1 - i)));
}

Bytes TwoByTwoVerbatim()
{
    SgiPicture picture{2, 2, 3, {}};
    for (uint16_t v = 1; v <= 12; ++v)
        picture.samples.push_back(v);
    return EncodeVerbatim(picture, 1);
}

class RgbReader : public ::testing::Test {
protected:
    void SetUp() override { tkShowErrorBoxes(1); }
    void TearDown() override
    {
        rgbAllocate = malloc;
        for (const std::string &path : written_)
            remove(path.c_str());
    }

    // Through a real file, as a program would read it.
    PixelImage *LoadFile(const Bytes &bytes)
    {
        written_.push_back(WriteTempFile("rgb_reader_" + std::to_string(written_.size()) + ".rgb", bytes));
        return LoadRgbImageA(written_.back().c_str());
    }
    // Through the memory file, which also sees reads past the end.
    PixelImage *LoadMemory(const Bytes &bytes)
    {
        InstallMemoryFile(&platform, bytes.data(), bytes.size());
        return LoadRgbImageA("memory.rgb");
    }
    void ExpectOneBox(const char *text)
    {
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, text);
    }

    ScopedPlatform scoped_;
    std::vector<std::string> written_;
};

TEST_F(RgbReader, InterleavesChannelsRowsBottomFirstInEitherByteOrder)
{
    for (const Bytes &file : {TwoByTwoVerbatim(), SwapByteOrder(TwoByTwoVerbatim())}) {
        PixelImage *image = LoadFile(file);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(RecordBytes(image), (Bytes{1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12}));
        FreeImage(image);
    }
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(RgbReader, EveryFormOfOnePictureGivesTheSameRecord)
{
    for (int bytesPerSample : {1, 2})
        for (uint16_t width : {1, 3, 7, 130}) {
            SgiPicture picture = RandomPicture(width, 5, 3, bytesPerSample, width * 7u + bytesPerSample);
            Bytes verbatim = EncodeVerbatim(picture, bytesPerSample);
            Bytes runLength = EncodeRunLength(picture, bytesPerSample);
            for (const Bytes &file : {verbatim, runLength, SwapByteOrder(verbatim), SwapByteOrder(runLength)}) {
                PixelImage *image = LoadFile(file);
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(image->width, width);
                EXPECT_EQ(RecordBytes(image), ExpectedRecord(picture, bytesPerSample))
                    << "width " << width << ", " << bytesPerSample << " bytes";
                FreeImage(image);
            }
        }
    EXPECT_TRUE(messageBoxes.empty());
}

// One or two channels: channel 0 as red, green and blue. Four: alpha unread.
TEST_F(RgbReader, GreyFilesAndAlphaFiles)
{
    for (uint16_t channels : {1, 2, 4}) {
        SgiPicture picture = RandomPicture(5, 4, channels, 1, channels);
        for (const Bytes &file : {EncodeVerbatim(picture, 1), EncodeRunLength(picture, 1)}) {
            PixelImage *image = LoadMemory(file);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(RecordBytes(image), ExpectedRecord(picture, 1)) << channels << " channels";
            EXPECT_FALSE(memoryFile.readPastEnd);
            FreeImage(image);
        }
    }
}

TEST_F(RgbReader, NoRowsGivesAnEmptyRecordWithPixels)
{
    PixelImage *image = LoadMemory(EncodeVerbatim(SgiPicture{4, 0, 3, {}}, 1));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->height, 0);
    EXPECT_NE(image->pixels, nullptr);
    EXPECT_EQ(memoryFile.reads, 1); // the header only
    FreeImage(image);
}

TEST(RgbPackedRow, PacketsDecodeAndStopAtTheRowOrTheStoredEnd)
{
    struct Case {
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
    for (const Case &c : cases) {
        unsigned char out[9];
        memset(out, 0xEE, sizeof out);
        size_t got = DecodeRgbPackedRow(c.packed.data(), c.packed.size(), c.bytesPerSample, c.bigEndian, out, c.width);
        EXPECT_EQ(Bytes(out, out + got), c.written);
        EXPECT_EQ(out[got], 0xEE) << "wrote past what it reported";
    }
}

TEST_F(RgbReader, ShortPackedRowsAreBlackNotStale)
{
    SgiPicture picture = RandomPicture(6, 2, 3, 1, 3);
    for (uint16_t &sample : picture.samples)
        sample |= 0x10;
    Bytes file = EncodeRunLength(picture, 1);
    // Row 1 of red now ends at once, which left row 0's samples in the buffer.
    file[size_t(file[516]) << 24 | file[517] << 16 | file[518] << 8 | file[519]] = 0x00;
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
    const Bytes good = EncodeRunLength(RandomPicture(4, 3, 3, 1, 1), 1), verbatim = TwoByTwoVerbatim();
    const size_t rows = 3 * 3;
    auto cut = [](const Bytes &file, size_t size) { return Bytes(file.begin(), file.begin() + size); };
    Bytes badMagic = verbatim, noChannels = verbatim, offsetBeyond = good, lengthBeyond = good, overPacked = good;
    badMagic[1] = 0xDB;
    SetBigEndian(noChannels, 10, 0, 2);
    SetBigEndian(offsetBeyond, 512 + 4, uint32_t(good.size()), 4);
    SetBigEndian(lengthBeyond, 512 + rows * 4 + 8, 200, 4);
    overPacked.resize(good.size() + 2000, 0); // longer than 256 x XSIZE, though inside the file
    SetBigEndian(overPacked, 512 + rows * 4, 256 * 4 + 1, 4);
    const std::pair<const char *, Bytes> damaged[] = {
        {"bad magic", badMagic},       {"header cut", cut(good, 11)},         {"before the data", cut(good, 300)},
        {"tables cut", cut(good, 512 + rows * 6)}, {"offset beyond", offsetBeyond}, {"length beyond", lengthBeyond},
        {"packed row too long", overPacked},       {"no channels", noChannels},
        {"verbatim cut", cut(verbatim, verbatim.size() - 1)},
    };
    for (const auto &[what, file] : damaged) {
        SCOPED_TRACE(what);
        messageBoxes.clear();
        PixelImage *image = LoadMemory(file);
        EXPECT_EQ(image, nullptr);
        FreeImage(image);
        ExpectOneBox("Invalid rgb file.");
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        EXPECT_FALSE(memoryFile.readPastEnd);
    }
}

TEST_F(RgbReader, OnlyTheRowsThatAreReadMustBeSound)
{
    Bytes file = EncodeRunLength(RandomPicture(4, 2, 4, 1, 5), 1);
    SetBigEndian(file, 512 + 7 * 4, 0xFFFFFF00u, 4); // an alpha row, never used
    PixelImage *image = LoadMemory(file);
    EXPECT_NE(image, nullptr);
    EXPECT_FALSE(memoryFile.readPastEnd);
    FreeImage(image);
}

// Fails one chosen allocation, or every one above a size; keeps the largest request.
int failAllocation = 0, allocations = 0;
size_t largestRequest = 0, refuseAbove = SIZE_MAX;

void *ScriptedAllocate(size_t size)
{
    ++allocations;
    largestRequest = std::max(largestRequest, size);
    return allocations == failAllocation || size > refuseAbove ? nullptr : malloc(size);
}

void ScriptAllocations(int failing, size_t above = SIZE_MAX)
{
    failAllocation = failing, refuseAbove = above, allocations = 0, largestRequest = 0;
    rgbAllocate = ScriptedAllocate;
}

TEST_F(RgbReader, EveryAllocationFailureSaysOutOfMemoryOnce)
{
    const Bytes file = EncodeRunLength(RandomPicture(3, 2, 3, 1, 2), 1);
    const int total = 9; // reader, four row buffers, two tables, record, pixels
    for (int failing = 0; failing <= total; ++failing) {
        SCOPED_TRACE(failing);
        messageBoxes.clear();
        ScriptAllocations(failing);
        PixelImage *image = LoadMemory(file);
        if (failing == 0) {
            EXPECT_EQ(allocations, total);
            EXPECT_NE(image, nullptr);
            EXPECT_TRUE(messageBoxes.empty());
        } else {
            ExpectOneBox("Out of memory.");
            if (failing == total) { // the pixel array: a record without pixels
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(image->width, 3);
                EXPECT_EQ(image->pixels, nullptr);
            } else {
                EXPECT_EQ(image, nullptr);
            }
        }
        EXPECT_EQ(memoryFile.closes, memoryFile.opens);
        FreeImage(image);
    }
}

TEST_F(RgbReader, LargestPictureSizeDoesNotWrap)
{
    // 65535 x 65535, every row sharing one packed row that ends at once: a
    // small file whose 12.9 GB pixel array must not wrap on 32 bits, once
    // the pixel limit is lifted.
    SetImagePixelLimit(0);
    Bytes file = EncodeRunLength(RandomPicture(1, 1, 3, 1, 1), 1);
    SetBigEndian(file, 6, 65535, 2);
    SetBigEndian(file, 8, 65535, 2);
    size_t rows = size_t(65535) * 3;
    uint32_t shared = uint32_t(512 + rows * 8);
    file.resize(shared + 1, 0);
    for (size_t row = 0; row < rows; ++row) {
        SetBigEndian(file, 512 + row * 4, shared, 4);
        SetBigEndian(file, 512 + (rows + row) * 4, 1, 4);
    }
    ScriptAllocations(0, size_t(1) << 30);
    PixelImage *image = LoadMemory(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 65535);
    EXPECT_EQ(image->height, 65535);
    EXPECT_EQ(image->pixels, nullptr);
    ExpectOneBox("Out of memory.");
    if (sizeof(size_t) == 8)
        EXPECT_EQ(largestRequest, size_t(65535) * 65535 * 3);
    else
        EXPECT_LT(largestRequest, size_t(1) << 30); // too large to ask for at all
    FreeImage(image);
    SetImagePixelLimit(IMAGE_DEFAULT_PIXEL_LIMIT);
}

} // namespace
