#include "tests/image/dib_bitmap_builder.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

void Put(Bytes &out, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void Patch32(Bytes &out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(value >> (8 * i));
}

struct Rgb {
    uint8_t red, green, blue;
};

// A field of length bits, widened to 8 bits by repeating its top bits once.
uint8_t Widen(uint32_t field, int length)
{
    if (length >= 8)
        return uint8_t(field >> (length - 8));
    uint32_t top = field << (8 - length);
    return uint8_t(top | (top >> length));
}

uint8_t Channel(uint32_t pixel, uint32_t mask)
{
    int shift = 0, length = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    while (shift + length < 32 && ((mask >> (shift + length)) & 1))
        ++length;
    return Widen((pixel & mask) >> shift, length);
}

class Builder {
public:
    Builder(const DibLayout &layout, uint32_t seed) : layout_(layout), random_(seed) {}
    GeneratedDib Build();

private:
    bool Indexed() const { return layout_.bitCount <= 8; }
    void MakePalette();
    void MakeValues();
    Rgb ColourOf(uint32_t value) const;
    void WriteHeaders(Bytes &out);
    void WriteRows(Bytes &out);
    void WriteRunLength(Bytes &out);
    void Paint(int x, int y) { painted_[size_t(y) * layout_.width + x] = 1; }

    const DibLayout &layout_;
    std::mt19937 random_;
    std::vector<Rgb> palette_;
    std::vector<uint32_t> values_;  // bottom row first
    std::vector<uint8_t> painted_;  // run-length files leave the rest black
    uint32_t masks_[3] = {0, 0, 0};
};

void Builder::MakePalette()
{
    for (int i = 0; i < layout_.paletteSize; ++i)
        palette_.push_back(Rgb{uint8_t(random_()), uint8_t(random_()), uint8_t(random_())});
}

// Runs of equal values, so that run-length files have both kinds of run.
void Builder::MakeValues()
{
    uint32_t range = layout_.bitCount >= 32 ? 0xFFFFFFFFu : (1u << layout_.bitCount) - 1;
    size_t count = size_t(layout_.width) * layout_.height;
    while (values_.size() < count) {
        uint32_t value = uint32_t(random_()) & range;
        size_t run = random_() % 3 == 0 ? 1 + random_() % 6 : 1;
        for (size_t i = 0; i < run && values_.size() < count; ++i)
            values_.push_back(value);
    }
}

Rgb Builder::ColourOf(uint32_t value) const
{
    if (Indexed())
        return value < palette_.size() ? palette_[value] : Rgb{0, 0, 0};
    if (layout_.bitCount == 24)
        return Rgb{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return Rgb{Channel(value, masks_[0]), Channel(value, masks_[1]), Channel(value, masks_[2])};
}

void Builder::WriteHeaders(Bytes &out)
{
    if (layout_.fileHeader) {
        out.insert(out.end(), {'B', 'M'});
        out.insert(out.end(), 12, 0); // file size and bfOffBits are patched
    }
    if (layout_.coreHeader) {
        Put(out, 12, 4);
        Put(out, uint32_t(layout_.width), 2);
        Put(out, uint32_t(layout_.height), 2);
        Put(out, 1, 2);
        Put(out, uint32_t(layout_.bitCount), 2);
        for (const Rgb &c : palette_)
            out.insert(out.end(), {c.blue, c.green, c.red});
        return;
    }
    bool fullTable = Indexed() && layout_.paletteSize == (1 << layout_.bitCount);
    for (uint32_t field : {40u, uint32_t(layout_.width), uint32_t(layout_.topDown ? -layout_.height : layout_.height)})
        Put(out, field, 4);
    Put(out, 1, 2);
    Put(out, uint32_t(layout_.bitCount), 2);
    // biSizeImage 0: the reader works it out.
    for (uint32_t field : {layout_.compression, 0u, 2835u, 2835u, fullTable ? 0u : uint32_t(layout_.paletteSize), 0u})
        Put(out, field, 4);
    if (layout_.compression == kBitFields)
        for (uint32_t mask : masks_)
            Put(out, mask, 4);
    for (const Rgb &c : palette_)
        out.insert(out.end(), {c.blue, c.green, c.red, 0});
}

void Builder::WriteRows(Bytes &out)
{
    size_t stride = ((size_t(layout_.width) * layout_.bitCount + 31) / 32) * 4;
    for (int row = 0; row < layout_.height; ++row) {
        int y = layout_.topDown ? layout_.height - 1 - row : row;
        Bytes line(stride, 0);
        for (int x = 0; x < layout_.width; ++x) {
            uint32_t value = values_[size_t(y) * layout_.width + x];
            size_t bit = size_t(x) * layout_.bitCount;
            if (layout_.bitCount < 8)
                line[bit / 8] |= uint8_t(value << (8 - layout_.bitCount - bit % 8));
            else
                for (int b = 0; b < layout_.bitCount / 8; ++b)
                    line[bit / 8 + b] = uint8_t(value >> (8 * b));
        }
        out.insert(out.end(), line.begin(), line.end());
    }
}

void Builder::WriteRunLength(Bytes &out)
{
    const int width = layout_.width, height = layout_.height;
    const bool four = layout_.compression == kRle4;
    auto value = [&](int x, int y) { return values_[size_t(y) * width + x]; };
    int stopRow = layout_.variant == RunLengthVariant::EarlyEnd ? height / 2 : height;
    int x = 0, y = 0;
    while (y < stopRow) {
        if (layout_.variant == RunLengthVariant::DeltaInRow && x == 1 && width > 3) {
            out.insert(out.end(), {0, 2, 2, 0}); // two pixels left as they were
            x += 2;
        }
        int limit = width;
        if (layout_.variant == RunLengthVariant::DeltaInRow && x == 0 && width > 3)
            limit = 1;
        if (layout_.variant == RunLengthVariant::DeltaAcross && y == 0 && height > 1) {
            if (x == width / 2 && x > 0) {
                out.insert(out.end(), {0, 2, 0, 1});
                ++y; // the rest of row 0 and the start of row 1 are skipped
            } else if (x < width / 2) {
                limit = width / 2;
            }
        }
        if (x < width) {
            int run = 1;
            while (x + run < limit && run < 255 && value(x + run, y) == value(x, y))
                ++run;
            if (run >= 2 || limit - x < 3) {
                int count = run;
                if (layout_.variant == RunLengthVariant::RunPastRow && x + run == width)
                    count = run + 5 > 255 ? 255 : run + 5;
                out.push_back(uint8_t(count));
                out.push_back(uint8_t(four ? value(x, y) * 0x11 : value(x, y)));
            } else {
                // Pixels up to the next pair of equal ones, at least three.
                run = 3;
                while (x + run < limit && run < 255 && value(x + run, y) != value(x + run - 1, y))
                    ++run;
                out.push_back(0);
                out.push_back(uint8_t(run));
                Bytes data;
                for (int k = 0; k < run; ++k) {
                    if (!four)
                        data.push_back(uint8_t(value(x + k, y)));
                    else if (k % 2 == 0)
                        data.push_back(uint8_t(value(x + k, y) << 4));
                    else
                        data.back() |= uint8_t(value(x + k, y));
                }
                if (data.size() % 2)
                    data.push_back(0);
                out.insert(out.end(), data.begin(), data.end());
            }
            for (int k = 0; k < run; ++k)
                Paint(x + k, y);
            x += run;
            bool lastRow = y == height - 1;
            if (layout_.variant == RunLengthVariant::OpenEnd && lastRow && x >= (width + 1) / 2) {
                // Nothing closes the last stretch, so none of it is painted.
                for (int k = 0; k < width; ++k)
                    painted_[size_t(y) * width + k] = 0;
                return;
            }
            continue;
        }
        x = 0;
        ++y;
        if (y < stopRow)
            out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
}

GeneratedDib Builder::Build()
{
    static const uint32_t kRgb555[3] = {0x7C00, 0x03E0, 0x001F}, kRgb888[3] = {0xFF0000, 0xFF00, 0xFF};
    const uint32_t *masks = layout_.compression == kBitFields ? layout_.masks : layout_.bitCount == 16 ? kRgb555 : kRgb888;
    std::copy(masks, masks + 3, masks_);
    MakePalette();
    MakeValues();
    bool runLength = layout_.compression == kRle8 || layout_.compression == kRle4;
    painted_.assign(values_.size(), runLength ? 0 : 1);

    GeneratedDib dib;
    WriteHeaders(dib.file);
    size_t pixelOffset = dib.file.size();
    if (runLength)
        WriteRunLength(dib.file);
    else
        WriteRows(dib.file);
    size_t header = layout_.fileHeader ? 14 : 0;
    if (runLength)
        Patch32(dib.file, header + 20, uint32_t(dib.file.size() - pixelOffset));
    if (layout_.fileHeader) {
        Patch32(dib.file, 2, uint32_t(dib.file.size()));
        Patch32(dib.file, 10, uint32_t(pixelOffset));
    }
    for (size_t i = 0; i < values_.size(); ++i) {
        Rgb colour = painted_[i] ? ColourOf(values_[i]) : Rgb{0, 0, 0};
        dib.record.insert(dib.record.end(), {colour.red, colour.green, colour.blue});
    }
    return dib;
}

} // namespace

std::string DibLayout::Describe() const
{
    std::ostringstream text;
    text << width << "x" << height << " " << bitCount << " bits, compression " << compression << ", " << paletteSize
         << " colours, top-down " << topDown << ", file header " << fileHeader << ", core header " << coreHeader
         << ", variant " << int(variant);
    return text.str();
}

GeneratedDib MakeDib(const DibLayout &layout, uint32_t seed)
{
    return Builder(layout, seed).Build();
}
