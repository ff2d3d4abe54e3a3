// The scene's arithmetic, which needs no GL context: the start set, the
// relaxation and the neighbour lines, against the plain transcription.
// StartScene's projection calls go nowhere without a context.
#include "scene/scene.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "scene/neighbour_lines.h"
#include "scene/point_lanes.h"
#include "scene/relaxation.h"
#include "scene/wave_relaxation.h"
#include "tests/scene/allocation_counter.h"
#include "tests/scene/plain_scene.h"

namespace {

PointList scenePoints; // what the program keeps in PointSet

bool SameBits(const Vector3 &a, const Vector3 &b)
{
    const float left[3] = {a.x, a.y, a.z};
    const float right[3] = {b.x, b.y, b.z};
    return memcmp(left, right, sizeof(left)) == 0;
}

std::vector<PlainLine> FoundLines(const NeighbourLines &lines)
{
    std::vector<PlainLine> found;
    lines.ForEach([&found](size_t i, size_t j) { found.push_back(PlainLine{i, j}); });
    return found;
}

TEST(SceneRng, SeededDrawsFollowTheLinearCongruence)
{
    SceneRng rng;
    rng.Seed(123);
    EXPECT_EQ(rng.Draw(), 440);
    EXPECT_EQ(rng.Draw(), 19053);
    EXPECT_EQ(rng.Draw(), 23075);
}

// The first point comes from the draws in z, y, x order; all lie on the
// sphere, no two alike, and a second start makes the same set again.
TEST(StartScene, MakesAHundredDistinctPointsOnTheSphere)
{
    ASSERT_TRUE(StartScene(scenePoints));
    ASSERT_EQ(scenePoints.size(), 100u);
    // Made from (15, -7, -20) and put on the sphere.
    EXPECT_NEAR(scenePoints[0].x, 2.888892f, 1e-6f);
    EXPECT_NEAR(scenePoints[0].y, -1.348150f, 1e-6f);
    EXPECT_NEAR(scenePoints[0].z, -3.851856f, 1e-6f);
    for (size_t i = 0; i < scenePoints.size(); ++i) {
        EXPECT_NEAR(scenePoints[i].Length(), 5.0f, 2e-6f) << "point " << i;
        for (size_t j = i + 1; j < scenePoints.size(); ++j)
            EXPECT_FALSE(SameBits(scenePoints[i], scenePoints[j])) << "points " << i << " and " << j;
    }
    // A second start replaces the set rather than adding to it.
    const PointList first = scenePoints;
    scenePoints.push_back(Vector3(1.0f, 2.0f, 3.0f));
    ASSERT_TRUE(StartScene(scenePoints));
    ASSERT_EQ(scenePoints.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(SameBits(scenePoints[i], first[i])) << "point " << i;
}

TEST(RelaxPoints, FirstPassMovesTheFirstPointAsExpected)
{
    ASSERT_TRUE(StartScene(scenePoints));
    RelaxPoints(scenePoints);
    EXPECT_NEAR(scenePoints[0].x, 2.97935f, 1e-5f);
    EXPECT_NEAR(scenePoints[0].y, -1.30132f, 1e-5f);
    EXPECT_NEAR(scenePoints[0].z, -3.79869f, 1e-5f);
}

// Counts that leave lanes of the last block of a wave, tiles of the distance
// table and words of line bits partly used; 32 columns fill one word.
const size_t kCounts[] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 17, 31, 32, 33, 64, 100};

PointList FirstStartPoints(size_t count)
{
    StartScene(scenePoints);
    return PointList(scenePoints.begin(), scenePoints.begin() + count);
}

struct InstructionSet {
    const char *name;
    RelaxInWavesFunction relax;
    bool present;
};

TEST(WaveRelaxation, EachInstructionSetMatchesThePlainPass)
{
    const InstructionSet sets[] = {{"SSE2", RelaxInWavesSse2, true},
                                   {"AVX", RelaxInWavesAvx, __builtin_cpu_supports("avx") != 0}};
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

TEST(NeighbourLines, MatchThePlainLinesForEveryCount)
{
    NeighbourLines lines; // one table through every change of count
    for (size_t count : kCounts) {
        PointList points = FirstStartPoints(count);
        for (int pass = 0; pass < 3; ++pass) {
            lines.Find(points);
            EXPECT_EQ(FoundLines(lines), PlainNeighbourLines(points)) << count << " points, pass " << pass;
            PlainRelaxPoints(points);
        }
    }
}

// 1.5 times the nearest distance falls between two floats: a distance just
// below it is joined, the float above it is not. Ties of the rounding to
// float go down for the first nearest distance and up for the second.
TEST(NeighbourLines, LimitBetweenTwoFloatsIsRoundedUp)
{
    struct Case {
        float nearest, farther;
        bool joined;
    };
    const Case cases[] = {
        {1.0f + 0x1p-23f, 1.5f + 0x1p-23f, true},
        {1.0f + 0x1p-23f, 1.5f + 0x1p-22f, false},
        {1.0f + 0x3p-23f, 1.5f + 0x4p-23f, true},
        {1.0f + 0x3p-23f, 1.5f + 0x5p-23f, false},
    };
    NeighbourLines lines;
    for (const Case &c : cases) {
        const PointList points = {Vector3(0.0f, 0.0f, 0.0f), Vector3(c.nearest, 0.0f, 0.0f),
                                  Vector3(-c.farther, 0.0f, 0.0f)};
        lines.Find(points);
        const std::vector<PlainLine> found = FoundLines(lines);
        EXPECT_EQ(found, PlainNeighbourLines(points)) << c.farther;
        const bool joined = std::find(found.begin(), found.end(), PlainLine{0, 2}) != found.end();
        EXPECT_EQ(joined, c.joined) << c.farther;
    }
}

TEST(StartScene, SizesEverythingTheFramesUse)
{
    ASSERT_TRUE(StartScene(scenePoints));
    const long before = AllocationCount();
    StepScene(scenePoints); // its GL calls go nowhere
    EXPECT_EQ(AllocationCount() - before, 0);
}

// The frame's arithmetic as the demo runs it: the lines and points of every
// frame against the plain transcription's, bit for bit.
TEST(SceneArithmetic, MatchesThePlainTranscriptionForTenThousandFrames)
{
    ASSERT_TRUE(StartScene(scenePoints));
    PointList plain = scenePoints;
    NeighbourLines lines;
    for (int frame = 1; frame <= 10000; ++frame) {
        lines.Find(scenePoints);
        ASSERT_EQ(FoundLines(lines), PlainNeighbourLines(plain)) << "frame " << frame;
        RelaxPoints(scenePoints);
        PlainRelaxPoints(plain);
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_TRUE(SameBits(scenePoints[i], plain[i])) << "frame " << frame << ", point " << i;
    }
    for (const Vector3 &point : scenePoints)
        EXPECT_NEAR(point.Length(), 5.0f, 2e-6f);
}

} // namespace
