#include "tests/image/rgb_test_files.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

void PutBigEndian(Bytes &out, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out[at + i] = uint8_t(value >> (8 * (size - 1 - i)));
}

uint32_t GetBigEndian(const Bytes &in, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | in[at + i];
    return value;
}

Bytes Header(const SgiPicture &picture, int storage, int bytesPerSample)
{
    Bytes out(512, 0);
    out[0] = 0x01, out[1] = 0xDA, out[2] = uint8_t(storage), out[3] = uint8_t(bytesPerSample);
    PutBigEndian(out, 4, 3, 2);
    PutBigEndian(out, 6, picture.width, 2);
    PutBigEndian(out, 8, picture.height, 2);
    PutBigEndian(out, 10, picture.channels, 2);
    return out;
}

void AppendSample(Bytes &out, uint16_t sample, int bytesPerSample)
{
    if (bytesPerSample == 2)
        out.push_back(uint8_t(sample >> 8));
    out.push_back(uint8_t(sample));
}

// Runs of three or more equal samples become run packets, the rest literals.
Bytes PackRow(const uint16_t *row, size_t width, int bytesPerSample)
{
    auto runStarts = [&](size_t x) { return x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2]; };
    Bytes out;
    for (size_t x = 0; x < width;) {
        size_t count = 1;
        if (runStarts(x)) {
            while (x + count < width && count < 127 && row[x + count] == row[x])
                ++count;
            AppendSample(out, uint16_t(count), bytesPerSample);
            AppendSample(out, row[x], bytesPerSample);
        } else {
            while (x + count < width && count < 127 && !runStarts(x + count))
                ++count;
            AppendSample(out, uint16_t(0x80 | count), bytesPerSample);
            for (size_t i = 0; i < count; ++i)
                AppendSample(out, row[x + i], bytesPerSample);
        }
        x += count;
    }
    AppendSample(out, 0, bytesPerSample);
    return out;
}

void Reverse(Bytes &file, size_t at, size_t size) { std::reverse(file.begin() + at, file.begin() + at + size); }

} // namespace

SgiPicture RandomPicture(uint16_t width, uint16_t height, uint16_t channels, int bytesPerSample, uint32_t seed)
{
    SgiPicture picture{width, height, channels, std::vector<uint16_t>(size_t(width) * height * channels)};
    std::mt19937 random(seed);
    uint32_t values = bytesPerSample == 2 ? 0x10000 : 0x100;
    // Few changes, so the run-length form has both packet kinds.
    for (size_t i = 0; i < picture.samples.size(); ++i)
        picture.samples[i] = (random() % 3 == 0 || i == 0) ? uint16_t(random() % values) : picture.samples[i - 1];
    return picture;
}

Bytes EncodeVerbatim(const SgiPicture &picture, int bytesPerSample)
{
    Bytes out = Header(picture, 0, bytesPerSample);
    for (uint16_t sample : picture.samples)
        AppendSample(out, sample, bytesPerSample);
    return out;
}

Bytes EncodeRunLength(const SgiPicture &picture, int bytesPerSample)
{
    size_t rows = size_t(picture.height) * picture.channels;
    Bytes out = Header(picture, 1, bytesPerSample);
    out.resize(512 + rows * 8, 0);
    for (size_t row = 0; row < rows; ++row) {
        Bytes packed = PackRow(&picture.samples[row * picture.width], picture.width, bytesPerSample);
        PutBigEndian(out, 512 + row * 4, uint32_t(out.size()), 4);
        PutBigEndian(out, 512 + (rows + row) * 4, uint32_t(packed.size()), 4);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

Bytes SwapByteOrder(const Bytes &file)
{
    Bytes out = file;
    for (size_t at = 0; at < 12; at += 2)
        Reverse(out, at, 2);
    bool runLength = file[2] == 1, twoBytes = file[3] == 2;
    if (!runLength) {
        for (size_t at = 512; twoBytes && at + 1 < out.size(); at += 2)
            Reverse(out, at, 2);
        return out;
    }
    size_t rows = size_t(GetBigEndian(file, 8, 2)) * GetBigEndian(file, 10, 2);
    std::set<uint32_t> swappedRows; // rows may share their packed bytes
    for (size_t row = 0; twoBytes && row < rows; ++row) {
        uint32_t offset = GetBigEndian(file, 512 + row * 4, 4);
        uint32_t length = GetBigEndian(file, 512 + (rows + row) * 4, 4);
        if (swappedRows.insert(offset).second)
            for (size_t at = offset; at + 1 < size_t(offset) + length; at += 2)
                Reverse(out, at, 2);
    }
    for (size_t entry = 0; entry < rows * 2; ++entry)
        Reverse(out, 512 + entry * 4, 4);
    return out;
}

Bytes ExpectedRecord(const SgiPicture &picture, int bytesPerSample)
{
    Bytes out;
    size_t plane = size_t(picture.width) * picture.height;
    for (size_t at = 0; at < plane; ++at)
        for (size_t z = 0; z < 3; ++z) {
            uint16_t sample = picture.samples[(picture.channels >= 3 ? z : 0) * plane + at];
            out.push_back(uint8_t(bytesPerSample == 2 ? sample >> 8 : sample));
        }
    return out;
}

bool ReadReference(const std::string &path, int *width, int *height, Bytes *record)
{
    Bytes file = ReadWholeFile(path);
    size_t at = 0;
    auto token = [&]() {
        std::string text;
        while (at < file.size() && isspace(file[at]))
            ++at;
        while (at < file.size() && !isspace(file[at]))
            text += char(file[at++]);
        return text;
    };
    std::string kind = token();
    *width = atoi(token().c_str());
    *height = atoi(token().c_str());
    int maximum = atoi(token().c_str());
    ++at; // the one whitespace byte before the samples
    int channels = kind == "P6" ? 3 : kind == "P5" ? 1 : 0;
    if (channels == 0 || maximum != 255 || file.size() - at != size_t(*width) * *height * channels)
        return false;
    record->clear();
    for (int y = *height - 1; y >= 0; --y)
        for (int x = 0; x < *width; ++x)
            for (int z = 0; z < 3; ++z)
                record->push_back(file[at + (size_t(y) * *width + x) * channels + (channels == 3 ? z : 0)]);
    return true;
}

Bytes ReadWholeFile(const std::string &path)
{
    Bytes bytes;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        int c;
        while ((c = getc(file)) != EOF)
            bytes.push_back(uint8_t(c));
        fclose(file);
    }
    return bytes;
}

std::string TestDataPath(const std::string &relative)
{
    const char *root = getenv("OV_TESTDATA");
    return std::string(root ? root : "../shared/testdata") + "/" + relative;
}

std::string WriteTempFile(const std::string &name, const Bytes &bytes)
{
#ifdef _WIN32
    const char *folder = getenv("TEMP");
#else
    const char *folder = getenv("TMPDIR");
#endif
    std::string path = std::string(folder ? folder : "/tmp") + "/ov_" + name;
    if (FILE *file = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

Bytes RecordBytes(const PixelImage *image)
{
    if (!image || !image->pixels)
        return {};
    return Bytes(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
}

void FreeImage(PixelImage *image)
{
    if (image)
        free(image->pixels);
    free(image);
}
