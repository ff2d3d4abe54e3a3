// GDI's conversion of bitmap pixel data into a 24-bit surface, rule for rule:
// colour tables shorter than the bit depth are padded with black, bit fields
// are widened by repeating their top bits once, and run-length data paints
// only the pixels its runs cover, leaving the rest of the surface as it was.
#include "gdi32/dib_conversion.h"

#include "gdi32/dib_pixel_rows.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

using namespace dib;

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

uint32_t ReadLe32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsRunLength(uint32_t compression) { return compression == kRle8 || compression == kRle4; }

int64_t AbsHeight(int32_t height) { return height < 0 ? -int64_t(height) : int64_t(height); }

bool BuildPalette(const DibSourceFormat &format, const uint8_t *table, size_t tableBytes, Palette &palette)
{
    memset(&palette, 0, sizeof palette);
    size_t colours = DibColourTableBytes(format) / 4;
    if (colours * 4 > tableBytes)
        return false;
    for (size_t i = 0; i < colours; ++i)
        memcpy(palette.entries[i], table + 4 * i, 3);
    return true;
}

bool BuildFieldLayout(const DibSourceFormat &format, const uint8_t *table, size_t tableBytes, FieldLayout &layout)
{
    uint32_t masks[3];
    if (format.compression == kBitFields) {
        if (tableBytes < 12)
            return false;
        for (int i = 0; i < 3; ++i)
            masks[i] = ReadLe32(table + 4 * i);
        if (masks[0] == 0 || masks[1] == 0 || masks[2] == 0)
            return false;
    } else if (format.bitCount == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    layout.red = ChannelOf(masks[0]);
    layout.green = ChannelOf(masks[1]);
    layout.blue = ChannelOf(masks[2]);
    return true;
}

// Rows are addressed top row first (y = 0 at the top) on both sides, which is
// how GDI lines a source up with the surface.
struct Target {
    const Bgr24Surface &surface;
    int64_t height;
    uint64_t stride;

    explicit Target(const Bgr24Surface &s)
        : surface(s), height(AbsHeight(s.height)), stride(DibStride(s.width, 24)) {}
    uint8_t *Row(int64_t y) const
    {
        int64_t memoryRow = surface.height > 0 ? height - 1 - y : y;
        return surface.bits + uint64_t(memoryRow) * stride;
    }
};

// The source's bits start at the first line asked for, as with SetDIBits.
struct SourceRows {
    const uint8_t *bits;
    int64_t height;
    uint64_t stride;
    bool bottomUp;
    int64_t firstLine; // memory row of bits[0]
    const uint8_t *Row(int64_t y) const
    {
        int64_t memoryRow = bottomUp ? height - 1 - y : y;
        return bits + uint64_t(memoryRow - firstLine) * stride;
    }
};

int ConvertRows(const DibSourceFormat &format, const uint8_t *table, size_t tableBytes, const uint8_t *bits,
                size_t bitsBytes, int64_t top, int64_t bottom, const Bgr24Surface &surface)
{
    int64_t height = AbsHeight(format.height);
    bool bottomUp = format.height > 0;
    SourceRows source{bits, height, DibStride(format.width, format.bitCount), bottomUp,
                      bottomUp ? height - bottom : top};
    if (uint64_t(bottom - top) * source.stride > bitsBytes)
        return 0;

    Palette palette;
    FieldLayout layout{};
    uint32_t depth = format.bitCount;
    if (depth <= 8 && !BuildPalette(format, table, tableBytes, palette))
        return 0;
    if ((depth == 16 || depth == 32) && !BuildFieldLayout(format, table, tableBytes, layout))
        return 0;
    PackedIndexTables packed;
    if (depth < 8)
        BuildPackedIndexTables(palette, depth, packed);
    FieldTables fields;
    const bool bytes32 = depth == 32 && IsByteLayout(layout);
    if (depth == 16 || (depth == 32 && !bytes32))
        BuildFieldTables(layout, int(depth / 8), fields);

    Target target(surface);
    int64_t width = format.width < surface.width ? format.width : surface.width;
    int64_t lastRow = bottom < target.height ? bottom : target.height;
    // In the surface's memory order, where the hardware's prefetching helps.
    const bool upward = surface.height > 0;
    for (int64_t i = top; i < lastRow; ++i) {
        const int64_t y = upward ? lastRow - 1 - (i - top) : i;
        const uint8_t *in = source.Row(y);
        uint8_t *out = target.Row(y);
        switch (depth) {
        case 1:
        case 4: PutPackedIndexedPixels(out, in, width, depth, packed, palette); break;
        case 8: PutIndexedPixels(out, in, width, palette); break;
        case 16: PutFieldPixels<2>(out, in, width, fields); break;
        case 24: memcpy(out, in, size_t(width) * 3); break;
        case 32: bytes32 ? PutBytePixels32(out, in, width) : PutFieldPixels<4>(out, in, width, fields); break;
        }
    }
    return int(bottom - top);
}

// Run-length data: runs are laid into a row of indices, and each stretch of
// a row between two commands (end of line, end of bitmap, delta) is painted
// when the command closes it. A stretch the data leaves open is not painted.
class RunLengthPainter {
public:
    RunLengthPainter(const DibSourceFormat &format, const Palette &palette, const Bgr24Surface &surface)
        : palette_(palette), target_(surface), width_(format.width), height_(format.height),
          indices_(size_t(format.width)) {}

    void Decode(const uint8_t *data, size_t length, uint32_t bitCount);

private:
    void Paint();
    bool Move(int64_t rows, int64_t column);

    const Palette &palette_;
    Target target_;
    int64_t width_;
    int64_t height_;
    std::vector<uint8_t> indices_;
    int64_t row_ = 0; // from the bottom
    int64_t x_ = 0;
    int64_t left_ = 0;
    int64_t right_ = 0;
};

void RunLengthPainter::Paint()
{
    int64_t y = height_ - 1 - row_;
    int64_t end = right_ < target_.surface.width ? right_ : target_.surface.width;
    if (left_ == right_ || y >= target_.height || end <= left_)
        return;
    PutIndexedPixels(target_.Row(y) + 3 * left_, indices_.data() + left_, end - left_, palette_);
}

// Starts a new stretch; false once the pen has left the bitmap.
bool RunLengthPainter::Move(int64_t rows, int64_t column)
{
    row_ += rows;
    x_ = column > width_ ? width_ : column;
    left_ = right_ = x_;
    return row_ < height_;
}

void RunLengthPainter::Decode(const uint8_t *data, size_t length, uint32_t bitCount)
{
    size_t i = 0;
    while (i + 1 < length) {
        unsigned count = data[i];
        unsigned value = data[i + 1];
        i += 2;
        if (count != 0) {
            int64_t run = count < width_ - x_ ? count : width_ - x_;
            if (bitCount == 8)
                memset(&indices_[size_t(x_)], int(value), size_t(run));
            else
                for (int64_t k = 0; k < run; ++k)
                    indices_[size_t(x_ + k)] = uint8_t((k & 1) ? value & 0x0F : value >> 4);
            x_ += run;
            right_ = x_;
        } else if (value == 0) {
            Paint();
            if (!Move(1, 0))
                return;
        } else if (value == 1) {
            Paint();
            return;
        } else if (value == 2) {
            Paint();
            if (i + 1 >= length)
                return;
            if (!Move(data[i + 1], x_ + data[i]))
                return;
            i += 2;
        } else {
            size_t bytes = (value * bitCount + 7) / 8;
            if (bytes > length - i)
                return;
            int64_t run = value < width_ - x_ ? value : width_ - x_;
            if (bitCount == 8)
                memcpy(&indices_[size_t(x_)], data + i, size_t(run));
            else
                for (int64_t k = 0; k < run; ++k) {
                    uint8_t byte = data[i + size_t(k / 2)];
                    indices_[size_t(x_ + k)] = uint8_t((k & 1) ? byte & 0x0F : byte >> 4);
                }
            x_ += run;
            right_ = x_;
            i += (bytes + 1) & ~size_t(1);
        }
    }
}

int ConvertRunLength(const DibSourceFormat &format, const uint8_t *table, size_t tableBytes, const uint8_t *bits,
                     size_t bitsBytes, const Bgr24Surface &surface)
{
    Palette palette;
    if (!BuildPalette(format, table, tableBytes, palette))
        return 0;
    size_t length = format.sizeImage < bitsBytes ? format.sizeImage : bitsBytes;
    RunLengthPainter painter(format, palette, surface);
    painter.Decode(bits, length, format.bitCount);
    return format.height;
}

} // namespace

uint64_t DibStride(int64_t width, uint32_t bitCount)
{
    if (width <= 0)
        return 0;
    return ((uint64_t(width) * bitCount + 31) >> 3) & ~uint64_t(3);
}

bool IsConvertibleDib(const DibSourceFormat &format)
{
    if (format.width <= 0 || format.height == 0)
        return false;
    if (IsRunLength(format.compression)) {
        return format.height > 0 && format.sizeImage != 0 &&
               format.bitCount == (format.compression == kRle4 ? 4 : 8);
    }
    if (format.planes == 0 || format.bitCount == 0)
        return false;
    if (uint64_t(format.width) * format.bitCount > UINT32_MAX)
        return false;
    if (DibStride(format.width, format.bitCount) * uint64_t(AbsHeight(format.height)) > UINT32_MAX)
        return false;
    switch (format.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24: return format.compression == kRgb;
    case 16:
    case 32: return format.compression == kRgb || format.compression == kBitFields;
    default: return false;
    }
}

uint64_t DibSourceBytes(const DibSourceFormat &format)
{
    if (IsRunLength(format.compression))
        return format.sizeImage;
    return DibStride(format.width, format.bitCount) * uint64_t(AbsHeight(format.height));
}

size_t DibColourTableBytes(const DibSourceFormat &format)
{
    if (format.compression == kBitFields)
        return 12;
    if (format.bitCount > 8 || format.bitCount == 0)
        return 0;
    uint32_t most = 1u << format.bitCount;
    uint32_t colours = format.colourCount == 0 || format.colourCount > most ? most : format.colourCount;
    return size_t(colours) * 4;
}

int ConvertDibToBgr24(const DibSourceFormat &format, const uint8_t *colourTable, size_t colourTableBytes,
                      const uint8_t *bits, size_t bitsBytes, uint32_t firstLine, uint32_t lineCount,
                      const Bgr24Surface &target)
{
    if (!IsConvertibleDib(format) || lineCount == 0 || bits == nullptr || target.bits == nullptr ||
        target.width <= 0 || target.height == 0)
        return 0;
    if (IsRunLength(format.compression))
        return ConvertRunLength(format, colourTable, colourTableBytes, bits, bitsBytes, target);

    // The lines asked for, as a band of rows counted from the top.
    int64_t height = AbsHeight(format.height);
    int64_t first = firstLine;
    int64_t end = first + int64_t(lineCount) < height ? first + int64_t(lineCount) : height;
    if (first >= end)
        return 0;
    int64_t top = format.height > 0 ? height - end : first;
    int64_t bottom = format.height > 0 ? height - first : end;
    return ConvertRows(format, colourTable, colourTableBytes, bits, bitsBytes, top, bottom, target);
}
