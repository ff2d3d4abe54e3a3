// Decoding a 4096 x 4096 run-length SGI file, in bytes of record per second.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include <benchmark/benchmark.h>

#include "image/image.h"
#include "tests/image/rgb_test_files.h"
#include "toolkit/tk.h"

namespace {

constexpr uint16_t kSide = 4096;

// Photograph-like rows: runs of equal samples mixed with literal stretches.
const std::string &RunLengthFile()
{
    static const std::string path = [] {
        SgiPicture picture = RandomPicture(kSide, kSide, 3, 1, 2024);
        return WriteTempFile("bench_4096.sgi", EncodeRunLength(picture, 1));
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
