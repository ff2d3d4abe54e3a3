// The pixel limit of both readers: small files that claim billions of pixels
// are refused at once, without a large allocation; the limit itself holds.
#include <stdlib.h>

#include <algorithm>
#include <chrono>

#include <gtest/gtest.h>

#include "image/dib_reader.h"
#include "image/image_report.h"
#include "image/rgb_reader.h"
#include "tests/image/image_files.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

constexpr size_t kLargeRequest = size_t(1) << 30;

// The largest request any allocation of a reader saw; the large ones fail, so
// that a reader without its limit does not take the machine's memory.
size_t largest = 0;

size_t Note(size_t size) { return largest = std::max(largest, size), size; }
void *WatchedAllocate(size_t size) { return Note(size) < kLargeRequest ? malloc(size) : nullptr; }
HLOCAL WINAPI WatchedLocalAlloc(UINT flags, SIZE_T size)
{
    return Note(size) < kLargeRequest ? realPlatform.LocalAlloc(flags, size) : nullptr;
}
HBITMAP WINAPI WatchedSurface(HDC context, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section, DWORD offset)
{
    if (Note(size_t(info->bmiHeader.biWidth) * size_t(abs(info->bmiHeader.biHeight)) * 3) >= kLargeRequest)
        return *bits = nullptr, nullptr;
    return realPlatform.CreateDIBSection(context, info, usage, bits, section, offset);
}

// Run-length, every row of each channel the one short packed row at the end.
Bytes SharedRowSgi(uint16_t side)
{
    const size_t rows = size_t(side) * 3;
    Bytes file = MakeSgi(side, side, 3, true, {});
    file.resize(512 + rows * 8);
    for (size_t row = 0; row < rows; ++row) {
        PutBigEndian(file, 512 + row * 4, uint32_t(file.size()), 4);
        PutBigEndian(file, 512 + (rows + row) * 4, 3, 4);
    }
    file.insert(file.end(), {0x01, 0xFF, 0x00});
    return file;
}

// RLE8 that reaches its last row by deltas of 255 rows and paints one pixel.
Bytes DeltaBitmap(int32_t side)
{
    Bytes data;
    for (int32_t y = 0; y < side - 1; y += 255)
        data.insert(data.end(), {0, 2, 0, uint8_t(std::min(255, side - 1 - y))});
    data.insert(data.end(), {1, 1, 0, 1});
    return MakeDib(side, side, 8, BI_RLE8, {0, 0, 0, 0, 255, 255, 255, 0}, data);
}

class PixelLimit : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        rgbAllocate = dibAllocate = WatchedAllocate;
        platform.LocalAlloc = WatchedLocalAlloc;
        platform.CreateDIBSection = WatchedSurface;
        largest = 0;
    }
    void TearDown() override
    {
        rgbAllocate = dibAllocate = malloc;
        SetImagePixelLimit(IMAGE_DEFAULT_PIXEL_LIMIT);
    }
    ScopedPlatform scoped_;
};

TEST_F(PixelLimit, FilesClaimingBillionsOfPixelsAreRefusedAtOnce)
{
    const Bytes thirtyThousand = SharedRowSgi(30000);
    EXPECT_LT(thirtyThousand.size(), 730000u);
    const struct {
        const char *what;
        ImageReader reader;
        Bytes file;
    } bombs[] = {
        {"30000 x 30000 SGI", ImageReader::Rgb, thirtyThousand},
        {"65535 x 65535 SGI", ImageReader::Rgb, SharedRowSgi(65535)},
        {"20000 x 20000 bitmap by deltas", ImageReader::Dib, DeltaBitmap(20000)},
    };
    for (const auto &bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        largest = 0;
        auto start = std::chrono::steady_clock::now();
        Outcome outcome = LoadBytes(bomb.reader, bomb.file);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(outcome.record);
        EXPECT_EQ(outcome.boxes, std::vector<std::string>{kImageOutOfMemory});
        EXPECT_LT(took.count(), 0.25);
        EXPECT_LT(largest, size_t(1) << 20);
    }
}

TEST_F(PixelLimit, APictureAtTheLimitDecodesOneMorePixelIsRefused)
{
    EXPECT_EQ(SetImagePixelLimit(12), uint64_t(IMAGE_DEFAULT_PIXEL_LIMIT));
    const Bytes palette = {1, 2, 3, 0};
    const struct {
        ImageReader reader;
        Bytes file;
        bool decodes;
    } cases[] = {
        {ImageReader::Rgb, MakeSgi(4, 3, 1, false, std::vector<Bytes>(3, Bytes(4, 9))), true},
        {ImageReader::Rgb, MakeSgi(13, 1, 1, false, {Bytes(13, 9)}), false},
        {ImageReader::Dib, MakeDib(4, 3, 8, BI_RGB, palette, Bytes(12, 0)), true},
        {ImageReader::Dib, MakeDib(13, 1, 8, BI_RGB, palette, Bytes(16, 0)), false},
    };
    for (const auto &c : cases) {
        Outcome outcome = LoadBytes(c.reader, c.file);
        EXPECT_EQ(outcome.pixels, c.decodes) << outcome.width;
        EXPECT_EQ(outcome.boxes, c.decodes ? std::vector<std::string>{} : std::vector<std::string>{kImageOutOfMemory});
    }
}

// Without a limit the largest SGI picture asks for its whole pixel array,
// 12.9 GB, a size that must not wrap on 32 bits.
TEST_F(PixelLimit, NoLimitLetsTheLargestPictureAskForAllItsPixels)
{
    EXPECT_EQ(SetImagePixelLimit(0), uint64_t(IMAGE_DEFAULT_PIXEL_LIMIT));
    Outcome outcome = LoadBytes(ImageReader::Rgb, SharedRowSgi(65535));
    EXPECT_EQ(outcome.width, 65535);
    EXPECT_EQ(outcome.height, 65535);
    EXPECT_FALSE(outcome.pixels);
    EXPECT_EQ(outcome.boxes, std::vector<std::string>{kImageOutOfMemory});
    if (sizeof(size_t) == 8)
        EXPECT_EQ(largest, size_t(uint64_t(65535) * 65535 * 3));
    else
        EXPECT_LT(largest, kLargeRequest); // too large to ask for at all
}

} // namespace
