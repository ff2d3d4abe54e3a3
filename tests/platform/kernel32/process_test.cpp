// The process: the version it reports and its end, on both builds.
#include <stdio.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/gl_context.h"

namespace {

TEST(Process, TheVersionRecordIsFilledOnlyForAKnownSize)
{
    for (DWORD size : {DWORD(sizeof(OSVERSIONINFOA)), DWORD(sizeof(OSVERSIONINFOA) + 8), DWORD(0),
                       DWORD(sizeof(OSVERSIONINFOA) - 4)}) {
        SCOPED_TRACE(size);
        BYTE record[sizeof(OSVERSIONINFOA) + 8] = {};
        OSVERSIONINFOA *version = reinterpret_cast<OSVERSIONINFOA *>(record);
        version->dwOSVersionInfoSize = size;
        const bool filled = size >= sizeof(OSVERSIONINFOA);
        EXPECT_EQ(platform.GetVersionExA(version) != FALSE, filled);
        EXPECT_EQ(version->dwPlatformId, filled ? DWORD(VER_PLATFORM_WIN32_NT) : 0u);
        EXPECT_GE(version->dwMajorVersion, filled ? 5u : 0u); // never the 3.5 that knows fewer system colours
    }
}

// Ends at once with its code, after writing out what was buffered, even
// with a window and a current GL context about.
TEST(Process, ExitProcessEndsAtOnceAndFlushes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static char buffer[256];
            setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
            static TestGLContext gl;
            fprintf(stderr, "context %s, leaving", gl.Open() ? "current" : gl.Failure());
            platform.ExitProcess(7);
        },
        ::testing::ExitedWithCode(7), "context current, leaving");
}

} // namespace
