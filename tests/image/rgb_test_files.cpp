#include "tests/image/rgb_test_files.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

void AppendSample(Bytes &out, uint16_t sample, int bytesPerSample)
{
    if (bytesPerSample == 2)
        out.push_back(uint8_t(sample >> 8));
    out.push_back(uint8_t(sample));
}

Bytes PackRow(const uint16_t *row, size_t width, int bytesPerSample)
{
    auto runStarts = [&](size_t x) { return x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2]; };
    Bytes out;
    for (size_t x = 0, count = 1; x < width; x += count, count = 1) {
        bool run = runStarts(x);
        while (x + count < width && count < 127 && (run ? row[x + count] == row[x] : !runStarts(x + count)))
            ++count;
        AppendSample(out, uint16_t(run ? count : 0x80 | count), bytesPerSample);
        for (size_t i = 0; i < (run ? 1 : count); ++i)
            AppendSample(out, row[x + i], bytesPerSample);
    }
    AppendSample(out, 0, bytesPerSample);
    return out;
}

} // namespace

void PutBigEndian(Bytes &file, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        file[at + i] = uint8_t(value >> (8 * (size - 1 - i)));
}

Bytes MakeSgi(uint16_t width, uint16_t height, uint16_t channels, bool runLength, const std::vector<Bytes> &rows)
{
    Bytes file(512 + (runLength ? rows.size() * 8 : 0), 0);
    file[0] = 0x01, file[1] = 0xDA, file[2] = runLength, file[3] = 1, file[5] = 3;
    PutBigEndian(file, 6, width, 2);
    PutBigEndian(file, 8, height, 2);
    PutBigEndian(file, 10, channels, 2);
    for (size_t row = 0; row < rows.size(); ++row) {
        if (runLength) {
            PutBigEndian(file, 512 + row * 4, uint32_t(file.size()), 4);
            PutBigEndian(file, 512 + (rows.size() + row) * 4, uint32_t(rows[row].size()), 4);
        }
        file.insert(file.end(), rows[row].begin(), rows[row].end());
    }
    return file;
}

Bytes SwapByteOrder(const Bytes &file)
{
    auto get = [&](size_t at, int size) {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | file[at + i];
        return value;
    };
    auto reverse = [](Bytes &out, size_t at, size_t size) { std::reverse(&out[at], &out[at] + size); };
    Bytes out = file;
    for (size_t at = 0; at < 12; at += 2)
        reverse(out, at, 2);
    bool runLength = file[2] == 1, twoBytes = file[3] == 2;
    if (!runLength) {
        for (size_t at = 512; twoBytes && at + 1 < out.size(); at += 2)
            reverse(out, at, 2);
        return out;
    }
    size_t rows = size_t(get(8, 2)) * get(10, 2);
    std::set<uint32_t> swapped; // rows may share their packed bytes
    for (size_t row = 0; twoBytes && row < rows; ++row) {
        uint32_t offset = get(512 + row * 4, 4), length = get(512 + (rows + row) * 4, 4);
        if (swapped.insert(offset).second)
            for (size_t at = offset; at + 1 < size_t(offset) + length; at += 2)
                reverse(out, at, 2);
    }
    for (size_t entry = 0; entry < rows * 2; ++entry)
        reverse(out, 512 + entry * 4, 4);
    return out;
}

SgiPicture RandomPicture(uint16_t width, uint16_t height, uint16_t channels, int bytesPerSample, uint32_t seed)
{
    SgiPicture picture{width, height, channels, std::vector<uint16_t>(size_t(width) * height * channels)};
    std::mt19937 random(seed);
    uint32_t values = bytesPerSample == 2 ? 0x10000 : 0x100;
    for (size_t i = 0; i < picture.samples.size(); ++i)
        picture.samples[i] = (random() % 3 == 0 || i == 0) ? uint16_t(random() % values) : picture.samples[i - 1];
    return picture;
}

Bytes EncodeRunLength(const SgiPicture &picture, int bytesPerSample)
{
    std::vector<Bytes> rows;
    for (size_t at = 0; at < picture.samples.size(); at += picture.width)
        rows.push_back(PackRow(&picture.samples[at], picture.width, bytesPerSample));
    Bytes file = MakeSgi(picture.width, picture.height, picture.channels, true, rows);
    file[3] = uint8_t(bytesPerSample);
    return file;
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
