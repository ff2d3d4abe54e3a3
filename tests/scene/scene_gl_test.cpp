// What the scene hands to a real OpenGL implementation, read back in
// feedback mode, and what a frame costs in allocations.
#include "scene/scene.h"

#include <stdint.h>
#include <string.h>

#include <utility>
#include <vector>

// Before GL/gl.h, which leaves an existing APIENTRY alone.
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/scene/allocation_counter.h"
#include "tests/scene/plain_scene.h"

namespace {

PointList scenePoints; // what the program keeps in PointSet

struct WindowVertex {
    float x, y, z;
    bool operator==(const WindowVertex &o) const { return x == o.x && y == o.y && z == o.z; }
};

// One frame as the GL saw it: every vertex in window coordinates.
struct Feedback {
    std::vector<float> raw;
    std::vector<WindowVertex> points;
    std::vector<std::pair<WindowVertex, WindowVertex>> lines;
    bool complete = false; // buffer large enough and every token understood
};

WindowVertex ReadVertex(const std::vector<float> &raw, size_t at)
{
    return WindowVertex{raw[at], raw[at + 1], raw[at + 2]};
}

bool ParseFeedback(Feedback &frame)
{
    const std::vector<float> &raw = frame.raw;
    size_t at = 0;
    while (at < raw.size()) {
        const GLenum token = static_cast<GLenum>(raw[at++]);
        if (token == GL_POINT_TOKEN && at + 3 <= raw.size()) {
            frame.points.push_back(ReadVertex(raw, at));
            at += 3;
        } else if ((token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) && at + 6 <= raw.size()) {
            frame.lines.emplace_back(ReadVertex(raw, at), ReadVertex(raw, at + 3));
            at += 6;
        } else {
            return false;
        }
    }
    return true;
}

template <typename Draw> Feedback RecordFeedback(Draw draw)
{
    static std::vector<GLfloat> buffer(1 << 16);
    Feedback frame;
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    if (used < 0)
        return frame;
    frame.raw.assign(buffer.begin(), buffer.begin() + used);
    frame.complete = ParseFeedback(frame);
    return frame;
}

// Maps each line end back to the point drawn at the same window position.
std::vector<PlainLine> LinesAsIndices(const Feedback &frame)
{
    auto indexOf = [&frame](const WindowVertex &v) {
        for (size_t k = 0; k < frame.points.size(); ++k)
            if (frame.points[k] == v)
                return k;
        return SIZE_MAX;
    };
    std::vector<PlainLine> lines;
    for (const auto &line : frame.lines)
        lines.push_back(PlainLine{indexOf(line.first), indexOf(line.second)});
    return lines;
}

bool SameBits(const PointList &a, const PointList &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const float left[3] = {a[i].x, a[i].y, a[i].z};
        const float right[3] = {b[i].x, b[i].y, b[i].z};
        if (memcmp(left, right, sizeof(left)) != 0)
            return false;
    }
    return true;
}

class SceneGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() { contextOpen = context.Open(); }
    static void TearDownTestSuite() { context.Close(); }

    void SetUp() override
    {
        ASSERT_TRUE(contextOpen) << "no GL context: " << context.Failure();
        sceneAngle = 0.0f;
        ASSERT_TRUE(StartScene(scenePoints));
    }

    static TestGLContext context;
    static bool contextOpen;
};

TestGLContext SceneGL::context;
bool SceneGL::contextOpen = false;

TEST_F(SceneGL, FirstFrameDrawsEveryPointAndTheStartSetsLines)
{
    const PointList start = scenePoints;
    const Feedback frame = RecordFeedback([] { StepScene(scenePoints); });
    ASSERT_TRUE(frame.complete);
    EXPECT_EQ(frame.points.size(), 100u);
    EXPECT_EQ(frame.lines.size(), 201u);

    const std::vector<PlainLine> drawn = LinesAsIndices(frame);
    EXPECT_EQ(drawn, PlainNeighbourLines(start));
    std::vector<bool> hasLine(start.size(), false);
    for (const PlainLine &line : drawn) {
        ASSERT_LT(line.from, start.size());
        ASSERT_LT(line.to, start.size());
        EXPECT_NE(line.from, line.to);
        hasLine[line.from] = true;
    }
    for (size_t i = 0; i < hasLine.size(); ++i)
        EXPECT_TRUE(hasLine[i]) << "point " << i << " has no line to its nearest neighbour";
}

// Sets the start never makes: each point drawn, and only the lines below
// the ratio (from point 0 of the last set the nearest is 2 away and point 2
// exactly 3, so no line joins them).
TEST_F(SceneGL, SmallSetsDrawEachPointAndOnlyLinesBelowTheRatio)
{
    const struct {
        PointList points;
        std::vector<PlainLine> lines;
    } cases[] = {
        {{}, {}},
        {{Vector3(0.0f, 0.0f, 5.0f)}, {}},
        {{Vector3(0.0f, 0.0f, 0.0f), Vector3(2.0f, 0.0f, 0.0f), Vector3(-3.0f, 0.0f, 0.0f)}, {{0, 1}, {1, 0}, {2, 0}}},
    };
    for (const auto &c : cases) {
        scenePoints = c.points;
        const Feedback frame = RecordFeedback([] { StepScene(scenePoints); });
        ASSERT_TRUE(frame.complete);
        EXPECT_EQ(frame.points.size(), c.points.size());
        EXPECT_EQ(LinesAsIndices(frame), c.lines) << c.points.size() << " points";
    }
}

TEST_F(SceneGL, FrameSetsItsOwnDrawingState)
{
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glPointSize(1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    glViewport(0, 0, 10, 10);
    StepScene(scenePoints);

    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat pointSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 5.0f);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneGL, AngleStepIsAddedInDouble)
{
    sceneAngle = 0x1.013556p-11f;
    StepScene(scenePoints);
    EXPECT_EQ(sceneAngle, 0x1.9a9acep-3f); // float arithmetic gives 0x1.9a9adp-3
}

TEST_F(SceneGL, AngleStopsGrowingAtTwoToTheTwentySecond)
{
    sceneAngle = 4194303.5f;
    StepScene(scenePoints);
    EXPECT_EQ(sceneAngle, 4194303.75f); // 0.2 rounds to the float spacing of 0.25
    StepScene(scenePoints);
    EXPECT_EQ(sceneAngle, 4194304.0f);
    StepScene(scenePoints);
    EXPECT_EQ(sceneAngle, 4194304.0f);
}

TEST_F(SceneGL, MatchesThePlainFrameForAThousandFrames)
{
    PointList plainPoints = scenePoints;
    float plainAngle = sceneAngle;
    for (int frame = 1; frame <= 1000; ++frame) {
        const Feedback scene = RecordFeedback([] { StepScene(scenePoints); });
        const Feedback plain = RecordFeedback([&] { PlainStepScene(plainPoints, plainAngle); });
        ASSERT_TRUE(scene.complete && plain.complete) << "frame " << frame;
        ASSERT_EQ(scene.raw, plain.raw) << "frame " << frame;
        ASSERT_TRUE(SameBits(scenePoints, plainPoints)) << "frame " << frame;
        ASSERT_EQ(sceneAngle, plainAngle) << "frame " << frame;
    }
}

TEST_F(SceneGL, FrameAllocatesNothing)
{
    StepScene(scenePoints);
    glFinish();
    const long before = AllocationCount();
    for (int frame = 0; frame < 10; ++frame)
        StepScene(scenePoints);
    glFinish();
    EXPECT_EQ(AllocationCount() - before, 0);

    scenePoints.resize(50, Vector3(0.0f, 0.0f, 5.0f)); // a new count sizes the table once
    StepScene(scenePoints);
    const long resized = AllocationCount();
    StepScene(scenePoints);
    EXPECT_EQ(AllocationCount() - resized, 0);
}

} // namespace
