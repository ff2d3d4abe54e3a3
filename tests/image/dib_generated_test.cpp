// Generated bitmaps of every depth and compression, odd widths and both row
// orders, through LoadDibImageA. The same expected records hold on the
// Windows build, where GDI converts, and on the portable build, where our own
// conversion does: the two are compared through them.
#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/dib_bitmap_builder.h"
#include "tests/image/dib_memory_file.h"
#include "tests/support/platform_script.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

struct Format {
    int bitCount;
    uint32_t compression;
    int paletteSize;
    uint32_t masks[3];
};

const Format kUncompressed[] = {
    {1, kRgb, 2, {}},
    {1, kRgb, 1, {}}, // index 1 has no colour: black
    {4, kRgb, 16, {}},
    {4, kRgb, 5, {}},
    {8, kRgb, 256, {}},
    {8, kRgb, 20, {}},
    {16, kRgb, 0, {}},
    {16, kBitFields, 0, {0xF800, 0x07E0, 0x001F}},
    {16, kBitFields, 0, {0x0F00, 0x00F0, 0x000F}},
    {16, kBitFields, 0, {0x0003, 0x001C, 0xFFE0}}, // 11 bits of blue
    {24, kRgb, 0, {}},
    {24, kRgb, 7, {}}, // a colour table the conversion ignores
    {32, kRgb, 0, {}},
    {32, kBitFields, 0, {0xFF000000, 0x00FF0000, 0x0000FF00}},
    {32, kBitFields, 0, {0x3FF00000, 0x000FFC00, 0x000003FF}},
};

const RunLengthVariant kVariants[] = {RunLengthVariant::Plain,      RunLengthVariant::DeltaInRow,
                                      RunLengthVariant::DeltaAcross, RunLengthVariant::EarlyEnd,
                                      RunLengthVariant::RunPastRow,  RunLengthVariant::OpenEnd};

void CheckDecodes(const DibSpec &spec, uint32_t seed)
{
    SCOPED_TRACE(spec.Describe());
    GeneratedDib dib = MakeDib(spec, seed);
    ScopedPlatform scoped;
    InstallMappedMemoryFile(&platform, dib.file.data(), dib.file.size());
    PixelImage *image = LoadDibImageA("generated.bmp");
    ASSERT_NE(image, nullptr) << (messageBoxes.empty() ? "" : messageBoxes[0].text);
    EXPECT_EQ(image->width, spec.width);
    EXPECT_EQ(image->height, spec.height);
    bool same = memcmp(image->pixels, dib.record.data(), dib.record.size()) == 0;
    EXPECT_TRUE(same);
    free(image->pixels);
    free(image);
    EXPECT_TRUE(messageBoxes.empty());
}

TEST(DibGenerated, UncompressedAtOddWidthsBothRowOrders)
{
    uint32_t seed = 1;
    for (const Format &format : kUncompressed)
        for (int width = 1; width <= 9; ++width)
            for (int height : {1, 2, 5})
                for (bool topDown : {false, true}) {
                    DibSpec spec;
                    spec.width = width, spec.height = height, spec.topDown = topDown;
                    spec.bitCount = format.bitCount, spec.compression = format.compression;
                    spec.paletteSize = format.paletteSize;
                    for (int i = 0; i < 3; ++i)
                        spec.masks[i] = format.masks[i];
                    spec.fileHeader = (width + height) % 2 == 0;
                    CheckDecodes(spec, seed++);
                }
}

TEST(DibGenerated, CoreHeaders)
{
    uint32_t seed = 1000;
    for (int bitCount : {1, 4, 8, 24})
        for (int width = 1; width <= 9; ++width) {
            DibSpec spec;
            spec.width = width, spec.height = 3, spec.bitCount = bitCount, spec.coreHeader = true;
            spec.paletteSize = bitCount <= 8 ? 1 << bitCount : 0;
            spec.fileHeader = width % 2 == 1;
            CheckDecodes(spec, seed++);
        }
}

TEST(DibGenerated, RunLengthEveryVariant)
{
    uint32_t seed = 2000;
    for (uint32_t compression : {kRle8, kRle4})
        for (RunLengthVariant variant : kVariants)
            for (int width = 1; width <= 9; ++width)
                for (int height : {1, 2, 4}) {
                    DibSpec spec;
                    spec.width = width, spec.height = height, spec.variant = variant;
                    spec.compression = compression;
                    spec.bitCount = compression == kRle8 ? 8 : 4;
                    spec.paletteSize = compression == kRle8 ? 200 : 12;
                    spec.fileHeader = width % 3 != 0;
                    CheckDecodes(spec, seed++);
                }
}

// Rows long enough for absolute runs of 255 pixels.
TEST(DibGenerated, LongRunLengthRows)
{
    for (uint32_t compression : {kRle8, kRle4}) {
        DibSpec spec;
        spec.width = 600, spec.height = 3, spec.compression = compression;
        spec.bitCount = compression == kRle8 ? 8 : 4;
        spec.paletteSize = compression == kRle8 ? 256 : 16;
        CheckDecodes(spec, 3000 + compression);
    }
}

} // namespace
