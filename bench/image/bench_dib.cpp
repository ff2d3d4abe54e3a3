// Decoding speed of the bitmap reader beside stb_image on the same files, in
// bytes of decoded picture per second. The files are made here, in the temp
// folder: 4096 x 4096 at 24 bits and at 8 bits, and an 8-bit run-length file
// of the same size (stb_image does not read run-length bitmaps).
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

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

Bytes Headers(int bitCount, uint32_t compression, size_t dataBytes, int colours)
{
    Bytes out{'B', 'M'};
    uint32_t offset = 14 + 40 + 4 * colours;
    Put(out, uint32_t(offset + dataBytes), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, kSide, 4);
    Put(out, kSide, 4);
    Put(out, 1, 2);
    Put(out, uint32_t(bitCount), 2);
    Put(out, compression, 4);
    Put(out, uint32_t(dataBytes), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, uint32_t(colours), 4);
    Put(out, 0, 4);
    for (int i = 0; i < colours; ++i)
        Put(out, uint32_t(i * 0x010101) ^ 0x003F00, 4);
    return out;
}

// A smooth picture with noise: runs for the run-length file, no help for the rest.
uint8_t Sample(int x, int y, std::mt19937 &random) { return uint8_t((x / 7 + y / 5) + (random() % 8 == 0 ? random() : 0)); }

Bytes Make24()
{
    std::mt19937 random(1);
    Bytes data;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide * 3; ++x)
            data.push_back(Sample(x, y, random));
    Bytes file = Headers(24, 0, data.size(), 0);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes Make8()
{
    std::mt19937 random(2);
    Bytes data;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            data.push_back(Sample(x, y, random));
    Bytes file = Headers(8, 0, data.size(), 256);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes MakeRle8()
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
    Bytes file = Headers(8, 1, data.size(), 256);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

std::string WriteTemp(const char *name, const Bytes &bytes)
{
    const char *folder = getenv("TMPDIR");
    std::string path = std::string(folder ? folder : "/tmp") + "/" + name;
    FILE *file = fopen(path.c_str(), "wb");
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

const std::string &FileFor(int kind)
{
    static std::string paths[3];
    if (paths[kind].empty()) {
        const char *names[3] = {"ov_bench_24.bmp", "ov_bench_8.bmp", "ov_bench_rle8.bmp"};
        paths[kind] = WriteTemp(names[kind], kind == 0 ? Make24() : kind == 1 ? Make8() : MakeRle8());
    }
    return paths[kind];
}

const char *const kKinds[3] = {"24-bit", "8-bit", "8-bit RLE"};

void OurReader(benchmark::State &state)
{
    tkShowErrorBoxes(0);
    const std::string &path = FileFor(int(state.range(0)));
    state.SetLabel(kKinds[state.range(0)]);
    for (auto _ : state) {
        PixelImage *image = LoadDibImageA(path.c_str());
        if (!image) {
            state.SkipWithError("the reader refused the file");
            break;
        }
        benchmark::DoNotOptimize(image->pixels[0]);
        free(image->pixels);
        free(image);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}

void StbImage(benchmark::State &state)
{
    const std::string &path = FileFor(int(state.range(0)));
    state.SetLabel(kKinds[state.range(0)]);
    for (auto _ : state) {
        int width, height, channels;
        unsigned char *pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels[0]);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}

} // namespace

BENCHMARK(OurReader)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(StbImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
