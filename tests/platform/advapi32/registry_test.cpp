// The registry's colour scheme, on both builds.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

// A colour-scheme value fits a buffer of exactly its size, terminator
// included, and no smaller one.
TEST(Registry, AValueFitsABufferOfItsOwnSize)
{
    HKEY colours = nullptr;
    ASSERT_EQ(platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &colours),
              ERROR_SUCCESS);
    DWORD needed = 0;
    ASSERT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, nullptr, &needed), ERROR_SUCCESS);
    char text[64];
    for (const DWORD offered : {needed, needed - 1}) {
        DWORD size = offered;
        EXPECT_EQ(platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size),
                  offered == needed ? ERROR_SUCCESS : ERROR_MORE_DATA);
        EXPECT_EQ(size, needed);
    }
    platform.RegCloseKey(colours);
}

} // namespace
