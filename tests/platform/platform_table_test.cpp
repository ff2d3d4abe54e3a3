// The installed table, on both builds.
#include <string.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

// A member left null would be a call through null on first use.
TEST(PlatformTable, EveryMemberIsFilled)
{
    using Member = void (*)();
    static_assert(sizeof(PlatformTable) % sizeof(Member) == 0, "the table holds function pointers only");
    Member members[sizeof(PlatformTable) / sizeof(Member)];
    const PlatformTable table = PlatformSystemTable();
    memcpy(members, &table, sizeof table);
    for (size_t i = 0; i < std::size(members); ++i)
        EXPECT_NE(members[i], nullptr) << "member " << i << " of platform.h";
}

} // namespace
