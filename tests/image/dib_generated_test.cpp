// Generated bitmaps of every depth and compression, odd widths and both row
// orders, through LoadDibImageA. The same expected records hold on the
// Windows build, where GDI converts, and on the portable build, where our own
// conversion does: the two are compared through them.
#include <gtest/gtest.h>

#include "image/image.h"
#include "tests/image/dib_bitmap_builder.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

void CheckDecodes(const DibLayout &layout, uint32_t seed)
{
    SCOPED_TRACE(layout.Describe());
    GeneratedDib dib = MakeDib(layout, seed);
    ScopedPlatform scoped;
    InstallMemoryFile(&platform, dib.file.data(), dib.file.size());
    PixelImage *image = LoadDibImageA("generated.bmp");
    ASSERT_NE(image, nullptr) << (messageBoxes.empty() ? "" : messageBoxes[0].text);
    EXPECT_EQ(image->width, layout.width);
    EXPECT_EQ(image->height, layout.height);
    EXPECT_EQ(memcmp(image->pixels, dib.record.data(), dib.record.size()), 0);
    free(image->pixels);
    free(image);
    EXPECT_TRUE(messageBoxes.empty());
}

TEST(DibGenerated, UncompressedAtOddWidthsBothRowOrders)
{
    const DibLayout formats[] = {
        {1, 1, 1, kRgb, 2},
        {1, 1, 1, kRgb, 1}, // index 1 has no colour: black
        {1, 1, 4, kRgb, 16},
        {1, 1, 4, kRgb, 5},
        {1, 1, 8, kRgb, 256},
        {1, 1, 8, kRgb, 20},
        {1, 1, 16, kRgb, 0},
        {1, 1, 16, kBitFields, 0, false, true, false, {0xF800, 0x07E0, 0x001F}},
        {1, 1, 16, kBitFields, 0, false, true, false, {0x0F00, 0x00F0, 0x000F}},
        {1, 1, 16, kBitFields, 0, false, true, false, {0x0003, 0x001C, 0xFFE0}}, // 11 bits of blue
        {1, 1, 24, kRgb, 0},
        {1, 1, 24, kRgb, 7}, // a colour table the conversion ignores
        {1, 1, 32, kRgb, 0},
        {1, 1, 32, kBitFields, 0, false, true, false, {0xFF000000, 0x00FF0000, 0x0000FF00}},
        {1, 1, 32, kBitFields, 0, false, true, false, {0x3FF00000, 0x000FFC00, 0x000003FF}},
    };
    uint32_t seed = 1;
    for (DibLayout layout : formats)
        for (layout.width = 1; layout.width <= 9; ++layout.width)
            for (int height : {1, 2, 5})
                for (bool topDown : {false, true}) {
                    layout.height = height, layout.topDown = topDown;
                    layout.fileHeader = (layout.width + height) % 2 == 0;
                    CheckDecodes(layout, seed++);
                }
}

TEST(DibGenerated, CoreHeaders)
{
    uint32_t seed = 1000;
    for (int bitCount : {1, 4, 8, 24})
        for (int width = 1; width <= 9; ++width) {
            DibLayout layout{width, 3, bitCount, kRgb, bitCount <= 8 ? 1 << bitCount : 0};
            layout.coreHeader = true;
            layout.fileHeader = width % 2 == 1;
            CheckDecodes(layout, seed++);
        }
}

TEST(DibGenerated, RunLengthEveryVariant)
{
    const RunLengthVariant variants[] = {RunLengthVariant::Plain,      RunLengthVariant::DeltaInRow,
                                         RunLengthVariant::DeltaAcross, RunLengthVariant::EarlyEnd,
                                         RunLengthVariant::RunPastRow,  RunLengthVariant::OpenEnd};
    uint32_t seed = 2000;
    for (uint32_t compression : {kRle8, kRle4})
        for (RunLengthVariant variant : variants)
            for (int width = 1; width <= 9; ++width)
                for (int height : {1, 2, 4}) {
                    DibLayout layout{width, height, compression == kRle8 ? 8 : 4, compression,
                                     compression == kRle8 ? 200 : 12};
                    layout.variant = variant;
                    layout.fileHeader = width % 3 != 0;
                    CheckDecodes(layout, seed++);
                }
    // Rows long enough for absolute runs of 255 pixels.
    CheckDecodes(DibLayout{600, 3, 8, kRle8, 256}, 3001);
    CheckDecodes(DibLayout{600, 3, 4, kRle4, 16}, 3002);
}

} // namespace
