// The local heap and bringing memory in, as the image readers rely on them,
// on both builds.
#include <string.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/temp_files.h"

namespace {

// The bitmap reader's target header comes from LPTR and must start zeroed.
TEST(LocalHeap, ZeroedBlocksAreZero)
{
    unsigned char *dirty = static_cast<unsigned char *>(platform.LocalAlloc(LMEM_FIXED, 4096));
    ASSERT_NE(dirty, nullptr);
    memset(dirty, 0x5A, 4096);
    platform.LocalFree(dirty);
    unsigned char *zeroed = static_cast<unsigned char *>(platform.LocalAlloc(LPTR, 4096));
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(std::count(zeroed, zeroed + 4096, 0), 4096);
    EXPECT_EQ(platform.LocalFree(zeroed), nullptr);
}

// The readers bring their large output arrays in before writing them: that
// changes nothing in the range or around it.
TEST(VirtualMemory, PrefetchingKeepsEveryByte)
{
    Bytes block(size_t(5) << 20);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i * 13 + (i >> 12));
    const Bytes before = block;
    WIN32_MEMORY_RANGE_ENTRY range{block.data() + 3, block.size() - 7};
    EXPECT_TRUE(platform.PrefetchVirtualMemory(platform.GetCurrentProcess(), 1, &range, 0));
    EXPECT_TRUE(block == before);
}

} // namespace
