// The file, mapping and local-heap operations as the readers rely on them.
// The same checks run against Windows itself, so the portable build's
// versions are held to its behaviour.
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/image/rgb_test_files.h"

namespace {

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 70000; ++i)
            content_.push_back(uint8_t(i * 7 + (i >> 8)));
        path_ = WriteTempFile("platform_files.bin", content_);
    }
    void TearDown() override { remove(path_.c_str()); }

    HANDLE Open(const std::string &path)
    {
        return platform.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    Bytes content_;
    std::string path_;
};

TEST_F(PlatformFiles, OpenRefusesWhatIsNotAnExistingFile)
{
    EXPECT_EQ(Open(path_ + ".missing"), INVALID_HANDLE_VALUE);
    std::string folder = path_.substr(0, path_.find_last_of("/\\"));
    EXPECT_EQ(Open(folder), INVALID_HANDLE_VALUE);
}

TEST_F(PlatformFiles, SeekAndReadStayWithinTheFile)
{
    HANDLE file = Open(path_);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform.GetFileSize(file, nullptr), DWORD(content_.size()));
    LONG high = 0;
    EXPECT_EQ(platform.SetFilePointer(file, 0, &high, FILE_END), DWORD(content_.size()));
    EXPECT_EQ(high, 0);

    unsigned char buffer[100];
    memset(buffer, 0xAA, sizeof buffer);
    DWORD got = 1;
    EXPECT_EQ(platform.SetFilePointer(file, LONG(content_.size() - 10), nullptr, FILE_BEGIN),
              DWORD(content_.size() - 10));
    EXPECT_TRUE(platform.ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(0, memcmp(buffer, &content_[content_.size() - 10], 10));
    EXPECT_EQ(buffer[10], 0xAA); // the rest of the buffer stays as it was
    EXPECT_TRUE(platform.ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 0u); // at the end: success with nothing

    EXPECT_EQ(platform.SetFilePointer(file, -5, nullptr, FILE_CURRENT), DWORD(content_.size() - 5));
    EXPECT_EQ(platform.SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    high = 1; // 4 GiB + 3: past the end is allowed, reading there gives nothing
    EXPECT_EQ(platform.SetFilePointer(file, 3, &high, FILE_BEGIN), 3u);
    EXPECT_EQ(high, 1);
    EXPECT_TRUE(platform.ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(platform.CloseHandle(file));
}

TEST_F(PlatformFiles, ViewsOutliveTheirHandles)
{
    HANDLE file = Open(path_);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE mapping = platform.CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(platform.CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, DWORD(content_.size() + 1), nullptr),
              nullptr); // a read-only mapping cannot grow the file
    const void *whole = platform.MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    const unsigned char *tail = static_cast<const unsigned char *>(platform.MapViewOfFile(mapping, FILE_MAP_READ, 0, 65536, 0));
    EXPECT_EQ(platform.MapViewOfFile(mapping, FILE_MAP_READ, 0, 100, 0), nullptr); // not on the granularity
    EXPECT_TRUE(platform.CloseHandle(mapping));
    EXPECT_TRUE(platform.CloseHandle(file));
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(0, memcmp(whole, content_.data(), content_.size()));
    EXPECT_EQ(0, memcmp(tail, &content_[65536], content_.size() - 65536));
    EXPECT_TRUE(platform.UnmapViewOfFile(whole));
    EXPECT_TRUE(platform.UnmapViewOfFile(tail));
}

TEST_F(PlatformFiles, EmptyFilesCannotBeMapped)
{
    std::string empty = WriteTempFile("platform_empty.bin", {});
    HANDLE file = Open(empty);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform.CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_TRUE(platform.CloseHandle(file));
    remove(empty.c_str());
}

TEST_F(PlatformFiles, WideNamesOpenTheSameFile)
{
    std::basic_string<WCHAR> wide(path_.begin(), path_.end());
    HANDLE file = platform.CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    unsigned char first[4] = {};
    DWORD got = 0;
    EXPECT_TRUE(platform.ReadFile(file, first, 4, &got, nullptr));
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(0, memcmp(first, content_.data(), 4));
    EXPECT_TRUE(platform.CloseHandle(file));
}

TEST(LocalHeap, ZeroedBlocksAreZeroAndBothKindsGoBack)
{
    unsigned char *dirty = static_cast<unsigned char *>(platform.LocalAlloc(LMEM_FIXED, 4096));
    ASSERT_NE(dirty, nullptr);
    memset(dirty, 0x5A, 4096);
    platform.LocalFree(dirty);
    unsigned char *zeroed = static_cast<unsigned char *>(platform.LocalAlloc(LMEM_ZEROINIT, 4096));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(zeroed[i], 0) << i;
    EXPECT_EQ(platform.LocalFree(zeroed), nullptr);
}

} // namespace
