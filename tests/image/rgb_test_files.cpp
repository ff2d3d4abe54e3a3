#include "tests/image/rgb_test_files.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <set>

namespace {

void PutWord(Bytes &out, size_t at, uint16_t value)
{
    out[at] = uint8_t(value >> 8);
    out[at + 1] = uint8_t(value);
}

void PutLong(Bytes &out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(value >> (24 - 8 * i));
}

uint16_t GetWord(const Bytes &in, size_t at) { return uint16_t(in[at] << 8 | in[at + 1]); }
uint32_t GetLong(const Bytes &in, size_t at)
{
    return uint32_t(in[at]) << 24 | uint32_t(in[at + 1]) << 16 | uint32_t(in[at + 2]) << 8 | in[at + 3];
}

Bytes Header(const SgiPicture &picture, int storage, int bytesPerSample)
{
    Bytes out(512, 0);
    out[0] = 0x01;
    out[1] = 0xDA;
    out[2] = uint8_t(storage);
    out[3] = uint8_t(bytesPerSample);
    PutWord(out, 4, 3);
    PutWord(out, 6, picture.width);
    PutWord(out, 8, picture.height);
    PutWord(out, 10, picture.channels);
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
    Bytes out;
    size_t x = 0;
    while (x < width) {
        size_t run = 1;
        while (x + run < width && run < 127 && row[x + run] == row[x])
            ++run;
        if (run >= 3) {
            AppendSample(out, uint16_t(run), bytesPerSample);
            AppendSample(out, row[x], bytesPerSample);
            x += run;
            continue;
        }
        size_t literal = 0;
        while (x + literal < width && literal < 127 &&
               !(x + literal + 2 < width && row[x + literal] == row[x + literal + 1] &&
                 row[x + literal] == row[x + literal + 2]))
            ++literal;
        AppendSample(out, uint16_t(0x80 | literal), bytesPerSample);
        for (size_t i = 0; i < literal; ++i)
            AppendSample(out, row[x + i], bytesPerSample);
        x += literal;
    }
    AppendSample(out, 0, bytesPerSample);
    return out;
}

void Swap(Bytes &file, size_t at, size_t size)
{
    for (size_t i = 0; i < size / 2; ++i)
        std::swap(file[at + i], file[at + size - 1 - i]);
}

} // namespace

SgiPicture RandomPicture(uint16_t width, uint16_t height, uint16_t channels, int bytesPerSample, uint32_t seed)
{
    SgiPicture picture;
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    picture.samples.resize(size_t(width) * height * channels);
    std::mt19937 random(seed);
    uint16_t limit = bytesPerSample == 2 ? 0xFFFF : 0xFF;
    // Few distinct values in runs, so the run-length form has both packet kinds.
    for (size_t i = 0; i < picture.samples.size(); ++i)
        picture.samples[i] = (random() % 3 == 0 || i == 0) ? uint16_t(random() % (limit + 1u)) : picture.samples[i - 1];
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
        PutLong(out, 512 + row * 4, uint32_t(out.size()));
        PutLong(out, 512 + rows * 4 + row * 4, uint32_t(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

Bytes SwapByteOrder(const Bytes &file)
{
    Bytes out = file;
    for (size_t at = 0; at < 12; at += 2)
        Swap(out, at, 2);
    bool runLength = file[2] == 1;
    bool twoBytes = file[3] == 2;
    size_t rows = size_t(GetWord(file, 8)) * GetWord(file, 10);
    if (!runLength) {
        if (twoBytes)
            for (size_t at = 512; at + 1 < out.size(); at += 2)
                Swap(out, at, 2);
        return out;
    }
    std::set<uint32_t> swappedRows; // rows may share their packed bytes
    for (size_t row = 0; row < rows; ++row) {
        uint32_t offset = GetLong(file, 512 + row * 4);
        uint32_t length = GetLong(file, 512 + rows * 4 + row * 4);
        if (twoBytes && swappedRows.insert(offset).second)
            for (size_t at = offset; at + 1 < size_t(offset) + length; at += 2)
                Swap(out, at, 2);
    }
    for (size_t entry = 0; entry < rows * 2; ++entry)
        Swap(out, 512 + entry * 4, 4);
    return out;
}

Bytes ExpectedRecord(const SgiPicture &picture, int bytesPerSample)
{
    Bytes out;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int z = 0; z < 3; ++z) {
                uint16_t sample = const_cast<SgiPicture &>(picture).At(x, y, picture.channels >= 3 ? z : 0);
                out.push_back(uint8_t(bytesPerSample == 2 ? sample >> 8 : sample));
            }
    return out;
}

bool ReadReference(const std::string &path, int *width, int *height, Bytes *record)
{
    Bytes file = ReadWholeFile(path);
    size_t at = 0;
    auto token = [&]() {
        while (at < file.size() && isspace(file[at]))
            ++at;
        std::string text;
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
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
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
    FILE *file = fopen(path.c_str(), "wb");
    if (file) {
        if (!bytes.empty())
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
