#include "tests/image/image_files.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <tuple>

#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"

bool Outcome::operator==(const Outcome &other) const
{
    return std::tie(record, width, height, pixels, bytes, boxes) ==
           std::tie(other.record, other.width, other.height, other.pixels, other.bytes, other.boxes);
}

Outcome TakeRecord(PixelImage *image)
{
    Outcome outcome;
    if (image) {
        const size_t size = image->pixels ? size_t(image->width) * image->height * 3 : 0;
        outcome = {true, image->width, image->height, image->pixels != nullptr,
                   Bytes(image->pixels, image->pixels + size), {}, 0, {}};
        free(image->pixels);
        free(image);
    }
    for (const MessageBoxRecord &box : messageBoxes)
        outcome.boxes.push_back(box.text);
    messageBoxes.clear();
    outcome.code = tkLastError();
    outcome.failure = tkLastErrorText();
    tkClearLastError();
    return outcome;
}

Outcome LoadPath(ImageReader reader, const std::string &path)
{
    messageBoxes.clear();
    tkClearLastError();
    return TakeRecord(reader == ImageReader::Rgb   ? LoadRgbImageA(path.c_str())
                      : reader == ImageReader::Dib ? LoadDibImageA(path.c_str())
                                                   : LoadImageFile(path.c_str()));
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
    const Bytes file = ReadWholeFile(path);
    const std::string header(file.begin(), file.begin() + std::min<size_t>(file.size(), 32));
    char kind = 0;
    int width = 0, height = 0, maximum = 0, at = 0; // the samples follow one whitespace byte
    if (sscanf(header.c_str(), "P%c %d %d %d%n", &kind, &width, &height, &maximum, &at) != 4 || maximum != 255)
        return Outcome{};
    const size_t channels = kind == '6' ? 3 : 1, start = size_t(at) + 1;
    if (file.size() - start != size_t(width) * height * channels)
        return Outcome{};
    Outcome outcome{true, width, height, true, {}, {}, 0, {}};
    for (int y = height - 1; y >= 0; --y)
        for (size_t x = 0; x < size_t(width); ++x)
            for (size_t z = 0; z < 3; ++z)
                outcome.bytes.push_back(file[start + (size_t(y) * width + x) * channels + z % channels]);
    return outcome;
}
