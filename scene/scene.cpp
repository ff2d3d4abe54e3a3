#include "scene/scene.h"

#include <stddef.h>

#include "scene/neighbour_lines.h"
#include "scene/relaxation.h"
#include "scene/sphere.h"

#include "platform/win32_types.h" // GL/gl.h relies on its calling-convention macros on Windows
#include <GL/gl.h>
#include <GL/glu.h>

float sceneAngle = 0.0f;

namespace {

const int kPointCount = 100;
const uint32_t kSeed = 123;
const double kRotationStep = 0.2;

SceneRng sceneRng;
NeighbourLines neighbourLines;

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
    neighbourLines.Find(points);
    glBegin(GL_LINES);
    neighbourLines.ForEach([&points](size_t i, size_t j) {
        EmitVertex(points[i]);
        EmitVertex(points[j]);
    });
    glEnd();
}

bool StartScene(PointList &points)
{
    SetProjection();
    sceneRng.Seed(kSeed);
    points.clear();
    for (int n = 0; n < kPointCount; ++n) {
        // Draw order is z, y, x.
        const float z = StartCoordinate(sceneRng);
        const float y = StartCoordinate(sceneRng);
        const float x = StartCoordinate(sceneRng);
        points.push_back(Vector3(x, y, z));
        PutOnSphere(points.back());
    }
    // So that not even the first frame allocates.
    neighbourLines.Reserve(points.size());
    ReserveRelaxation(points.size());
    return true;
}

void PrepareFrame()
{
    SetProjection();
    SetCamera();
    AdvanceRotation();
    SetDrawingState();
}

bool StepScene(PointList &points)
{
    PrepareFrame();
    DrawPoints(points);
    DrawNeighbourLines(points);
    RelaxPoints(points);
    return true;
}
