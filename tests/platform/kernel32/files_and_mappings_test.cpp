// The file operations as the image readers rely on them, checked on both
// builds so that the portable one is held to what Windows does.
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/temp_files.h"

namespace {

HANDLE Open(const std::string &path)
{
    return platform.CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The SGI reader measures the file, seeks to offsets taken from it and reads
// what is there.
TEST(FilesAndMappings, OpenSeekAndReadBehaveAsOnWindows)
{
    Bytes content(70000);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = uint8_t(i * 7 + (i >> 8));
    std::string path = WriteTempFile("platform_files.bin", content);
    EXPECT_EQ(Open(path + ".missing"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(path.substr(0, path.find_last_of("/\\"))), INVALID_HANDLE_VALUE); // a folder
    HANDLE file = Open(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD size = DWORD(content.size());
    DWORD sizeHigh = 1;
    EXPECT_EQ(platform.GetFileSize(file, &sizeHigh), size);
    EXPECT_EQ(sizeHigh, 0u);
    LONG high = -1; // with the low part, -10 from the end; the new high part comes back
    EXPECT_EQ(platform.SetFilePointer(file, -10, &high, FILE_END), size - 10);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(platform.SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    unsigned char buffer[100];
    memset(buffer, 0xAA, sizeof buffer);
    DWORD got = 1;
    EXPECT_EQ(platform.SetFilePointer(file, LONG(size - 10), nullptr, FILE_BEGIN), size - 10);
    EXPECT_TRUE(platform.ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(0, memcmp(buffer, &content[size - 10], 10));
    EXPECT_EQ(buffer[10], 0xAA); // the rest of the buffer stays as it was
    // A read goes on where the one before it ended, and moves the pointer.
    EXPECT_EQ(platform.SetFilePointer(file, 100, nullptr, FILE_BEGIN), 100u);
    EXPECT_TRUE(platform.ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_TRUE(platform.ReadFile(file, buffer + 4, 4, &got, nullptr));
    EXPECT_EQ(0, memcmp(buffer, &content[100], 8));
    EXPECT_EQ(platform.SetFilePointer(file, -2, nullptr, FILE_CURRENT), 106u);
    high = 1; // 4 GiB + 3: allowed, and reading there succeeds with nothing
    EXPECT_EQ(platform.SetFilePointer(file, 3, &high, FILE_BEGIN), 3u);
    EXPECT_EQ(high, 1);
    EXPECT_TRUE(platform.ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(platform.CloseHandle(file));
    remove(path.c_str());
}

} // namespace
