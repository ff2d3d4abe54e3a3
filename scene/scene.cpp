#include "scene/scene.h"

#include <stddef.h>

#include "scene/sphere.h"

#include "platform/win32_types.h" // GL/gl.h relies on its calling-convention macros on Windows
#include <GL/gl.h>
#include <GL/glu.h>

float sceneAngle = 0.0f;
float ForceScale = 0.1f;

namespace {

const int kPointCount = 100;
const uint32_t kSeed = 123;
const double kRotationStep = 0.2;
const float kInitialNearest = 1000000.0f;
const double kLineRatio = 1.5;

SceneRng sceneRng;

// Every pair distance of the frame, computed once: row i holds the distances
// from point i. A pair difference and its negation have the same length, so
// one value serves both ends. Resized only when the point count changes, so
// a frame allocates nothing.
class NeighbourTable {
public:
    void Resize(size_t count)
    {
        if (count == count_)
            return;
        count_ = count;
        distances_.assign(count * count, 0.0f);
        nearest_.assign(count, kInitialNearest);
    }

    // Nearest distances are gathered in the same j order as a per-point scan.
    void Fill(const PointList &points)
    {
        float *const distances = distances_.data();
        float *const nearest = nearest_.data();
        for (size_t i = 0; i < count_; ++i)
            nearest[i] = kInitialNearest;
        for (size_t i = 0; i < count_; ++i) {
            float nearestToI = nearest[i];
            for (size_t j = i + 1; j < count_; ++j) {
                Vector3 difference = points[i];
                difference -= points[j];
                const float distance = difference.Length();
                distances[i * count_ + j] = distance;
                distances[j * count_ + i] = distance;
                // Branch-free: early rows change their minimum unpredictably.
                nearestToI = distance < nearestToI ? distance : nearestToI;
                nearest[j] = distance < nearest[j] ? distance : nearest[j];
            }
            nearest[i] = nearestToI;
        }
    }

    const float *Row(size_t i) const { return distances_.data() + i * count_; }

    // Comparing d with 1.5 * nearest decides as d / nearest < 1.5 in double
    // does, without a division: the product of a float and 1.5 is exact in
    // double, and the quotient of two floats is either exactly 1.5 or further
    // from it than the division's rounding can carry it.
    double LineLimit(size_t i) const { return kLineRatio * nearest_[i]; }

private:
    size_t count_ = 0;
    std::vector<float> distances_;
    std::vector<float> nearest_;
};

NeighbourTable neighbours;

void SetProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, 800, 600);
    gluPerspective(45.0, 4.0 / 3.0, 0.1, 600.0);
}

void SetCamera()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 20.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

// Never reduced modulo 360: the sum stops changing once float spacing
// reaches 0.5 degrees.
void AdvanceRotation()
{
    sceneAngle = static_cast<float>(static_cast<double>(sceneAngle) + kRotationStep);
    glRotatef(sceneAngle, 0.0f, 1.0f, 0.0f);
}

void SetDrawingState()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPointSize(5.0f);
}

void EmitVertex(const Vector3 &point)
{
    glVertex3f(point.x, point.y, point.z);
}

void PutOnSphere(Vector3 &point)
{
    point.Normalize();
    point *= kSphereRadius;
}

float StartCoordinate(SceneRng &rng)
{
    return static_cast<float>(rng.Draw() % 40 - 20);
}

} // namespace

void DrawPoints(const PointList &points)
{
    glBegin(GL_POINTS);
    for (const Vector3 &point : points)
        EmitVertex(point);
    glEnd();
}

void DrawNeighbourLines(const PointList &points)
{
    const size_t count = points.size();
    neighbours.Resize(count);
    neighbours.Fill(points);
    glBegin(GL_LINES);
    for (size_t i = 0; i < count; ++i) {
        const float *const distances = neighbours.Row(i);
        const double limit = neighbours.LineLimit(i);
        for (size_t j = 0; j < count; ++j) {
            if (j != i && distances[j] < limit) {
                EmitVertex(points[i]);
                EmitVertex(points[j]);
            }
        }
    }
    glEnd();
}

bool StartScene()
{
    SetProjection();
    sceneRng.Seed(kSeed);
    PointSet.clear();
    for (int n = 0; n < kPointCount; ++n) {
        // Draw order is z, y, x.
        const float z = StartCoordinate(sceneRng);
        const float y = StartCoordinate(sceneRng);
        const float x = StartCoordinate(sceneRng);
        PointSet.push_back(Vector3(x, y, z));
        PutOnSphere(PointSet.back());
    }
    neighbours.Resize(PointSet.size());
    return true;
}

bool StepScene()
{
    SetProjection();
    SetCamera();
    AdvanceRotation();
    SetDrawingState();
    DrawPoints(PointSet);
    DrawNeighbourLines(PointSet);
    RelaxPoints(PointSet);
    return true;
}
