#include "tests/image/image_files.h"

#include <stdlib.h>

#include <algorithm>

void PutLittleEndian(Bytes &file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = uint8_t(value >> (8 * i));
}

void PutBigEndian(Bytes &file, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        file[at + i] = uint8_t(value >> (8 * (size - 1 - i)));
}

Bytes MakeDib(int32_t width, int32_t height, int bitCount, uint32_t compression, const Bytes &palette,
              const Bytes &data, bool core)
{
    size_t header = core ? 12 : 40;
    Bytes file(14 + header, 0);
    file[0] = 'B', file[1] = 'M';
    PutLittleEndian(file, 10, uint32_t(file.size() + palette.size()));
    PutLittleEndian(file, 14, uint32_t(header));
    if (core) {
        file[18] = uint8_t(width), file[19] = uint8_t(width >> 8), file[20] = uint8_t(height);
        file[21] = uint8_t(height >> 8), file[22] = 1, file[24] = uint8_t(bitCount);
    } else {
        PutLittleEndian(file, 18, uint32_t(width));
        PutLittleEndian(file, 22, uint32_t(height));
        file[26] = 1, file[28] = uint8_t(bitCount);
        PutLittleEndian(file, 30, compression);
        if (compression == 1 || compression == 2) // run-length data: its length
            PutLittleEndian(file, 34, uint32_t(data.size()));
        if (bitCount <= 8 && palette.size() / 4 != size_t(1) << bitCount) // 0 says a full table
            PutLittleEndian(file, 46, uint32_t(palette.size() / 4));
    }
    file.insert(file.end(), palette.begin(), palette.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
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
    auto swap = [](Bytes &out, size_t at, size_t size) { std::reverse(&out[at], &out[at] + size); };
    Bytes out = file;
    for (size_t at = 0; at < 12; at += 2)
        swap(out, at, 2);
    const size_t entries = file[2] == 1 ? size_t(file[8] << 8 | file[9]) * size_t(file[10] << 8 | file[11]) * 2 : 0;
    for (size_t entry = 0; entry < entries; ++entry)
        swap(out, 512 + entry * 4, 4);
    for (size_t at = 512 + entries * 4; file[3] == 2 && at + 1 < out.size(); at += 2)
        swap(out, at, 2);
    return out;
}

std::string TestDataPath(const std::string &relative)
{
    const char *root = getenv("OV_TESTDATA");
    return std::string(root ? root : OV_TESTDATA_DIR) + "/" + relative;
}
