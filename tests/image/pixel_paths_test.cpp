// The readers' inner loops once for each instruction set: every path gives
// the bytes of the plain transcription here, for widths around each block
// size and rows in exact-size buffers (where the sanitizers see overruns).
#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "dib_repack.h"
#include "rgb_interleave.h"
#include "rgb_rows.h"
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

TEST(PixelPaths, InterleavingPutsEachChannelInItsPlace)
{
    const Path<InterleaveFunction> paths[] = {{"portable", InterleaveRgbPortable, true},
                                              {"SSSE3", InterleaveRgbSsse3, __builtin_cpu_supports("ssse3") != 0}};
    for (int32_t width : kWidths) {
        const Bytes channels[3] = {RandomBytes(size_t(width), 1), RandomBytes(size_t(width), 2),
                                   RandomBytes(size_t(width), 3)};
        Bytes expected;
        for (int32_t x = 0; x < width; ++x)
            for (const Bytes &channel : channels)
                expected.push_back(channel[size_t(x)]);
        for (const auto &path : paths)
            for (bool stream : {false, true})
                for (size_t offset : {0, 1, 5}) { // where the row starts against 16 bytes
                    if (!path.present)
                        continue;
                    Bytes out(offset + expected.size());
                    path.function(channels[0].data(), channels[1].data(), channels[2].data(), out.data() + offset,
                                  size_t(width), stream);
                    ASSERT_TRUE(Bytes(out.begin() + ptrdiff_t(offset), out.end()) == expected)
                        << path.name << (stream ? ", streamed" : "") << ", width " << width << ", at " << offset;
                }
    }
}

// One-byte packets packet by packet: counts cut to the row and to what was
// stored, a run without its value ending the row.
Bytes PlainPacketDecoding(const Bytes &packed, size_t width)
{
    Bytes out;
    for (size_t in = 0; in < packed.size() && out.size() < width;) {
        size_t count = std::min<size_t>(packed[in] & 0x7F, width - out.size());
        if (count == 0)
            break;
        if (packed[in++] & 0x80) {
            count = std::min(count, packed.size() - in);
            out.insert(out.end(), &packed[in], &packed[in] + count);
            in += count;
        } else if (in < packed.size()) {
            out.insert(out.end(), count, packed[in++]);
        } else {
            break;
        }
    }
    return out;
}

// Packets short and long, of both kinds, now and then the end of the row,
// in rows cut anywhere.
TEST(PixelPaths, PacketsDecodeAsOneByOne)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes packed;
        while (packed.size() < 400) {
            const unsigned count = random() % 50 == 0 ? 0 : 1 + random() % (random() % 4 == 0 ? 127 : 40);
            const bool literal = random() % 2;
            packed.push_back(uint8_t(count | (literal ? 0x80 : 0)));
            for (unsigned i = 0; i < (literal ? count : 1); ++i)
                packed.push_back(uint8_t(random()));
        }
        packed.resize(1 + random() % packed.size());
        const size_t width = 1 + random() % 600;
        const Bytes expected = PlainPacketDecoding(packed, width);
        Bytes out(width);
        const size_t written = DecodeRgbPackedRow(packed.data(), packed.size(), 1, true, out.data(), width);
        out.resize(written);
        ASSERT_TRUE(out == expected) << "trial " << trial;
    }
}

} // namespace
