// The bitmap reader beside stb_image on the same 4096 x 4096 files, made
// here in the temp folder: every depth, 8-bit run-length data (which
// stb_image refuses) and 16- and 32-bit bit fields. bench_dib [ROUNDS]
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include <stb_image.h>

#include "bench/image/decode_table.h"
#include "image/image.h"
#include "toolkit/tk.h"

namespace {

constexpr int kSide = 4096;
using Bytes = std::vector<unsigned char>;

void Put(Bytes &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

struct Form {
    const char *name;
    int bitCount;
    uint32_t compression;
    int colours;
    std::vector<uint32_t> masks;
};

Bytes Headers(const Form &form, size_t dataBytes)
{
    Bytes out{'B', 'M'};
    uint32_t offset = uint32_t(14 + 40 + 4 * form.colours + 4 * form.masks.size());
    Put(out, uint32_t(offset + dataBytes), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    for (uint32_t field : {40, kSide, kSide})
        Put(out, field, 4);
    Put(out, 1, 2);
    Put(out, uint32_t(form.bitCount), 2);
    for (uint32_t field : {form.compression, uint32_t(dataBytes), 2835u, 2835u, uint32_t(form.colours), 0u})
        Put(out, field, 4);
    for (uint32_t mask : form.masks)
        Put(out, mask, 4);
    for (int i = 0; i < form.colours; ++i)
        Put(out, uint32_t(i * 0x010101) ^ 0x003F00, 4);
    return out;
}

// A smooth picture with noise: runs for the run-length file, no help for the rest.
uint8_t Sample(int x, int y, std::mt19937 &random) { return uint8_t((x / 7 + y / 5) + (random() % 8 == 0 ? random() : 0)); }

Bytes MakePacked(const Form &form)
{
    std::mt19937 random(uint32_t(form.bitCount));
    const int rowBytes = kSide * form.bitCount / 8;
    Bytes file = Headers(form, size_t(rowBytes) * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < rowBytes; ++x)
            file.push_back(Sample(x, y, random));
    return file;
}

Bytes MakeRle8(const Form &form)
{
    std::mt19937 random(3);
    Bytes data;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide;) {
            int run = 1 + int(random() % 40);
            run = run > kSide - x ? kSide - x : run;
            if (run >= 3 && random() % 4 == 0) { // an absolute run
                data.push_back(0);
                data.push_back(uint8_t(run));
                for (int k = 0; k < run; ++k)
                    data.push_back(Sample(x + k, y, random));
                if (run % 2)
                    data.push_back(0);
            } else {
                data.push_back(uint8_t(run));
                data.push_back(Sample(x, y, random));
            }
            x += run;
        }
        data.push_back(0);
        data.push_back(y + 1 < kSide ? 0 : 1);
    }
    Bytes file = Headers(form, data.size());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

bool OurReader(const char *path)
{
    PixelImage *image = LoadDibImageA(path);
    if (!image)
        return false;
    free(image->pixels);
    free(image);
    return true;
}

bool StbImage(const char *path)
{
    int width, height, channels;
    unsigned char *pixels = stbi_load(path, &width, &height, &channels, 3);
    stbi_image_free(pixels);
    return pixels != nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    tkShowErrorBoxes(0);
    const Decoder ours{"ours", OurReader}, peer{"stb_image", StbImage};
    if (MeasureIfAsked(argc, argv, ours, peer))
        return 0;
    const Form forms[] = {
        {"24-bit", 24, 0, 0, {}},
        {"8-bit", 8, 0, 256, {}},
        {"8-bit RLE", 8, 1, 256, {}},
        {"4-bit", 4, 0, 16, {}},
        {"1-bit", 1, 0, 2, {}},
        {"16-bit bit-field 565", 16, 3, 0, {0xF800, 0x07E0, 0x001F}},
        {"32-bit bit-field", 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}},
    };
    std::vector<DecodeForm> files;
    for (const Form &form : forms) {
        Bytes bytes = form.compression == 1 ? MakeRle8(form) : MakePacked(form);
        std::string name = std::to_string(form.bitCount) + "_" + std::to_string(form.compression) + ".bmp";
        files.push_back({form.name, WriteBenchFile(name, bytes), uint64_t(kSide) * kSide * 3});
    }
    PrintDecodeTable("Bitmaps 4096 x 4096", files, ours, peer,
                     argc > 1 ? atoi(argv[1]) : 9);
    for (const DecodeForm &file : files)
        remove(file.path.c_str());
    return 0;
}
