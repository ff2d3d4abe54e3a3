// The scene's arithmetic, which needs no GL context: the start set and the
// relaxation. StartScene's projection calls go nowhere without a context.
#include "scene/scene.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <gtest/gtest.h>

#include "scene/point_lanes.h"
#include "scene/relaxation.h"
#include "scene/wave_relaxation.h"
#include "tests/scene/plain_scene.h"

namespace {

bool SameBits(const Vector3 &a, const Vector3 &b)
{
    const float left[3] = {a.x, a.y, a.z};
    const float right[3] = {b.x, b.y, b.z};
    return memcmp(left, right, sizeof(left)) == 0;
}

TEST(SceneRng, SeededDrawsFollowTheLinearCongruence)
{
    SceneRng rng;
    rng.Seed(123);
    EXPECT_EQ(rng.Draw(), 440);
    EXPECT_EQ(rng.Draw(), 19053);
    EXPECT_EQ(rng.Draw(), 23075);
}

TEST(StartScene, FirstPointComesFromDrawsInZYXOrder)
{
    ASSERT_TRUE(StartScene());
    ASSERT_EQ(PointSet.size(), 100u);
    // Made from (15, -7, -20) and put on the sphere.
    EXPECT_NEAR(PointSet[0].x, 2.888892f, 1e-6f);
    EXPECT_NEAR(PointSet[0].y, -1.348150f, 1e-6f);
    EXPECT_NEAR(PointSet[0].z, -3.851856f, 1e-6f);
}

TEST(StartScene, PointsLieOnTheSphereAndAreDistinct)
{
    ASSERT_TRUE(StartScene());
    for (size_t i = 0; i < PointSet.size(); ++i) {
        EXPECT_NEAR(PointSet[i].Length(), 5.0f, 2e-6f) << "point " << i;
        for (size_t j = i + 1; j < PointSet.size(); ++j)
            EXPECT_FALSE(SameBits(PointSet[i], PointSet[j])) << "points " << i << " and " << j;
    }
}

TEST(StartScene, ReplacesAnEarlierSet)
{
    ASSERT_TRUE(StartScene());
    const PointList first = PointSet;
    PointSet.push_back(Vector3(1.0f, 2.0f, 3.0f));
    ASSERT_TRUE(StartScene());
    ASSERT_EQ(PointSet.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(SameBits(PointSet[i], first[i])) << "point " << i;
}

TEST(RelaxPoints, FirstPassMovesTheFirstPointAsExpected)
{
    ASSERT_TRUE(StartScene());
    RelaxPoints(PointSet);
    EXPECT_NEAR(PointSet[0].x, 2.97935f, 1e-5f);
    EXPECT_NEAR(PointSet[0].y, -1.30132f, 1e-5f);
    EXPECT_NEAR(PointSet[0].z, -3.79869f, 1e-5f);
}

TEST(RelaxPoints, MatchesThePlainTranscriptionBitForBitOverAThousandPasses)
{
    ASSERT_TRUE(StartScene());
    PointList plain = PointSet;
    for (int pass = 1; pass <= 1000; ++pass) {
        RelaxPoints(PointSet);
        PlainRelaxPoints(plain);
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_TRUE(SameBits(PointSet[i], plain[i])) << "pass " << pass << ", point " << i;
    }
    for (const Vector3 &point : PointSet)
        EXPECT_NEAR(point.Length(), 5.0f, 2e-6f);
}

// Counts that leave lanes of the last block of a wave partly used.
const size_t kCounts[] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 17, 31, 32, 33, 64, 100};

PointList FirstStartPoints(size_t count)
{
    StartScene();
    return PointList(PointSet.begin(), PointSet.begin() + count);
}

struct InstructionSet {
    const char *name;
    RelaxInWavesFunction relax;
    bool present;
};

TEST(WaveRelaxation, EachInstructionSetMatchesThePlainPass)
{
    const InstructionSet sets[] = {{"SSE2", RelaxInWavesSse2, true}};
    for (const InstructionSet &set : sets) {
        if (!set.present) {
            printf("no %s here: its relaxation is not tried\n", set.name);
            continue;
        }
        for (size_t count : kCounts) {
            PointList points = FirstStartPoints(count);
            PointList plain = points;
            PointLanes lanes;
            for (int pass = 1; pass <= 20; ++pass) {
                lanes.Load(points);
                set.relax({lanes.X(), lanes.Y(), lanes.Z()}, static_cast<ptrdiff_t>(count), ForceScale);
                lanes.StoreTo(points);
                PlainRelaxPoints(plain);
                for (size_t i = 0; i < count; ++i)
                    ASSERT_TRUE(SameBits(points[i], plain[i]))
                        << set.name << ", " << count << " points, pass " << pass << ", point " << i;
            }
        }
    }
}

} // namespace
