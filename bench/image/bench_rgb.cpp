// Decoding a 4096 x 4096 run-length SGI file, in bytes of record per second.
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "image/image.h"
#include "tests/image/image_files.h"
#include "toolkit/tk.h"

namespace {

constexpr uint16_t kSide = 4096;

// Runs of three or more equal samples as run packets, the rest as literals.
Bytes PackRow(const unsigned char *row, size_t width)
{
    auto runStarts = [&](size_t x) { return x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2]; };
    Bytes out;
    for (size_t x = 0, count = 1; x < width; x += count, count = 1) {
        bool run = runStarts(x);
        while (x + count < width && count < 127 && (run ? row[x + count] == row[x] : !runStarts(x + count)))
            ++count;
        out.push_back(uint8_t(run ? count : 0x80 | count));
        out.insert(out.end(), row + x, row + x + (run ? 1 : count));
    }
    out.push_back(0);
    return out;
}

// Photograph-like rows: runs of equal samples mixed with literal stretches.
const std::string &RunLengthFile()
{
    static const std::string path = [] {
        std::mt19937 random(2024);
        Bytes samples(size_t(kSide) * kSide * 3);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = (random() % 3 == 0 || i == 0) ? uint8_t(random()) : samples[i - 1];
        std::vector<Bytes> rows;
        for (size_t at = 0; at < samples.size(); at += kSide)
            rows.push_back(PackRow(&samples[at], kSide));
        return WriteTempFile("bench_4096.sgi", MakeSgi(kSide, kSide, 3, true, rows));
    }();
    return path;
}

void DecodeRunLengthSgi(benchmark::State &state)
{
    tkShowErrorBoxes(0);
    const std::string &path = RunLengthFile();
    for (auto _ : state) {
        PixelImage *image = LoadRgbImageA(path.c_str());
        if (!image || !image->pixels) {
            state.SkipWithError("the reader refused the file");
            break;
        }
        benchmark::DoNotOptimize(image->pixels[0]);
        free(image->pixels);
        free(image);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 3);
}
BENCHMARK(DecodeRunLengthSgi)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    remove(RunLengthFile().c_str());
    return 0;
}
