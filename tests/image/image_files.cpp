#include "tests/image/image_files.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"

void PutLittleEndian(Bytes &file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = uint8_t(value >> (8 * i));
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

bool Outcome::operator==(const Outcome &other) const
{
    return record == other.record && width == other.width && height == other.height && pixels == other.pixels &&
           bytes == other.bytes && boxes == other.boxes;
}

Outcome TakeRecord(PixelImage *image)
{
    Outcome outcome;
    if (image) {
        outcome.record = true, outcome.width = image->width, outcome.height = image->height;
        outcome.pixels = image->pixels != nullptr;
        if (image->pixels)
            outcome.bytes.assign(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
        free(image->pixels);
        free(image);
    }
    for (const MessageBoxRecord &box : messageBoxes)
        outcome.boxes.push_back(box.text);
    messageBoxes.clear();
    return outcome;
}

Outcome LoadPath(ImageReader reader, const std::string &path)
{
    messageBoxes.clear();
    return TakeRecord(reader == ImageReader::Rgb ? LoadRgbImageA(path.c_str()) : LoadDibImageA(path.c_str()));
}

Outcome LoadBytes(ImageReader reader, const Bytes &bytes)
{
    const PlatformTable files = platform;
    InstallMemoryFile(&platform, bytes.data(), bytes.size());
    Outcome outcome = LoadPath(reader, "memory");
    platform = files;
    return outcome;
}

Outcome ReadReference(const std::string &path)
{
    Bytes file = ReadWholeFile(path);
    size_t at = 0;
    auto number = [&]() {
        std::string text;
        while (at < file.size() && isspace(file[at]))
            ++at;
        while (at < file.size() && !isspace(file[at]))
            text += char(file[at++]);
        return text;
    };
    Outcome outcome;
    outcome.record = true;
    std::string kind = number();
    outcome.width = atoi(number().c_str());
    outcome.height = atoi(number().c_str());
    int maximum = atoi(number().c_str());
    ++at; // the one whitespace byte before the samples
    size_t channels = kind == "P6" ? 3 : 1;
    if (maximum != 255 || file.size() - at != size_t(outcome.width) * outcome.height * channels)
        return Outcome{};
    outcome.pixels = true;
    for (int y = outcome.height - 1; y >= 0; --y)
        for (size_t x = 0; x < size_t(outcome.width); ++x)
            for (size_t z = 0; z < 3; ++z)
                outcome.bytes.push_back(file[at + (size_t(y) * outcome.width + x) * channels + z % channels]);
    return outcome;
}

Bytes ReadWholeFile(const std::string &path)
{
    Bytes bytes;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        for (int c; (c = getc(file)) != EOF;)
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

