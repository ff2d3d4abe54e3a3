// The readers' inner loops once for each instruction set: every path gives
// the bytes of the plain transcription here, for widths around each block
// size and rows in exact-size buffers (where the sanitizers see overruns).
#include <random>

#include <gtest/gtest.h>

#include "image/dib_repack.h"
#include "tests/image/image_files.h"

namespace {

const int32_t kWidths[] = {1, 2, 3, 4, 5, 6, 7, 11, 15, 16, 17, 21, 22, 31, 32, 33, 47, 48, 49, 100};

template <class Function> struct Path {
    const char *name;
    Function function;
    bool present;
};

Bytes RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (unsigned char &byte : bytes)
        byte = uint8_t(random());
    return bytes;
}

TEST(PixelPaths, RepackingGivesRedGreenBlueRowsWithoutPadding)
{
    const Path<RepackFunction> paths[] = {{"portable", RepackRowsPortable, true},
                                          {"SSSE3", RepackRowsSsse3, __builtin_cpu_supports("ssse3") != 0}};
    for (int32_t width : kWidths)
        for (int32_t rows : {1, 2, 3}) {
            const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
            const Bytes surface = RandomBytes(stride * size_t(rows), uint32_t(width * 4 + rows));
            Bytes expected;
            for (int32_t y = 0; y < rows; ++y)
                for (int32_t x = 0; x < width; ++x)
                    for (int channel : {2, 1, 0})
                        expected.push_back(surface[size_t(y) * stride + size_t(x) * 3 + size_t(channel)]);
            for (const auto &path : paths) {
                if (!path.present)
                    continue;
                Bytes out(expected.size());
                path.function(surface.data(), out.data(), width, rows);
                ASSERT_TRUE(out == expected) << path.name << ", width " << width << ", " << rows << " rows";
            }
        }
}

} // namespace
