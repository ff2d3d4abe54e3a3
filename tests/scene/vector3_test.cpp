#include "scene/vector3.h"

#include <gtest/gtest.h>

namespace {

TEST(Vector3Length, PythagoreanTripleIsExact)
{
    EXPECT_EQ(Vector3(3.0f, 4.0f, 0.0f).Length(), 5.0f);
    EXPECT_EQ(Vector3(-3.0f, 0.0f, -4.0f).Length(), 5.0f);
}

TEST(Vector3Length, FormedInDoubleAndRoundedOnce)
{
    // Float-only arithmetic rounds the sum of squares (past 2^24) and gives
    // 0x1.003c3ap+12 here.
    EXPECT_EQ(Vector3(2366.0f, 2367.0f, 2368.0f).Length(), 0x1.003c3cp+12f);
    // Float squares of these overflow to infinity.
    EXPECT_EQ(Vector3(0x1.8p+70f, 0x1p+71f, 0.0f).Length(), 0x1.4p+71f);
    // ...and these underflow to zero.
    EXPECT_EQ(Vector3(0x1.8p-80f, 0x1p-79f, 0.0f).Length(), 0x1.4p-79f);
}

TEST(Vector3Normalize, UsesTheLengthTakenBeforeAnyComponentChanges)
{
    Vector3 v(3.0f, 4.0f, 0.0f);
    v.Normalize();
    EXPECT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.8f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(Vector3Normalize, AxisVectorBecomesExactUnit)
{
    Vector3 v(0.0f, 0.0f, -7.0f);
    v.Normalize();
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, -1.0f);
}

} // namespace
