#include "tests/scene/plain_scene.h"

#include <math.h>

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>

namespace {

float PlainDistance(const Vector3 &a, const Vector3 &b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return static_cast<float>(sqrt((static_cast<double>(dx) * dx + static_cast<double>(dy) * dy) +
                                   static_cast<double>(dz) * dz));
}

void PlainPutOnSphere(Vector3 &p)
{
    const float length = PlainDistance(p, Vector3(0.0f, 0.0f, 0.0f));
    p.x = 5.0f * (p.x / length);
    p.y = 5.0f * (p.y / length);
    p.z = 5.0f * (p.z / length);
}

float PlainNearest(const PointList &points, size_t i)
{
    float nearest = 1000000.0f;
    for (size_t j = 0; j < points.size(); ++j) {
        if (j == i)
            continue;
        const float d = PlainDistance(points[i], points[j]);
        if (d < nearest)
            nearest = d;
    }
    return nearest;
}

} // namespace

std::vector<PlainLine> PlainNeighbourLines(const PointList &points)
{
    std::vector<PlainLine> lines;
    for (size_t i = 0; i < points.size(); ++i) {
        const float nearest = PlainNearest(points, i);
        for (size_t j = 0; j < points.size(); ++j) {
            if (j == i)
                continue;
            const float d = PlainDistance(points[i], points[j]);
            if (static_cast<double>(d) / nearest < 1.5)
                lines.push_back(PlainLine{i, j});
        }
    }
    return lines;
}

void PlainDrawNeighbourLines(const PointList &points)
{
    glBegin(GL_LINES);
    for (size_t i = 0; i < points.size(); ++i) {
        const float nearest = PlainNearest(points, i);
        for (size_t j = 0; j < points.size(); ++j) {
            if (j == i)
                continue;
            const float d = PlainDistance(points[i], points[j]);
            if (static_cast<double>(d) / nearest < 1.5) {
                glVertex3f(points[i].x, points[i].y, points[i].z);
                glVertex3f(points[j].x, points[j].y, points[j].z);
            }
        }
    }
    glEnd();
}

void PlainRelaxPoints(PointList &points)
{
    for (size_t i = 0; i < points.size(); ++i) {
        for (size_t j = i + 1; j < points.size(); ++j) {
            Vector3 &a = points[i];
            Vector3 &b = points[j];
            float fx = a.x - b.x;
            float fy = a.y - b.y;
            float fz = a.z - b.z;
            const float d = PlainDistance(a, b);
            fx /= d;
            fy /= d;
            fz /= d;
            const float scale = static_cast<float>(1.0 / (static_cast<double>(d) * d));
            fx = 0.1f * (scale * fx);
            fy = 0.1f * (scale * fy);
            fz = 0.1f * (scale * fz);
            a.x += fx;
            a.y += fy;
            a.z += fz;
            b.x -= fx;
            b.y -= fy;
            b.z -= fz;
            PlainPutOnSphere(a);
            PlainPutOnSphere(b);
        }
    }
}

void PlainStepScene(PointList &points, float &angle)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, 800, 600);
    gluPerspective(45.0, 800.0 / 600.0, 0.1, 600.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 20.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    angle = static_cast<float>(static_cast<double>(angle) + 0.2);
    glRotatef(angle, 0.0f, 1.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPointSize(5.0f);
    glBegin(GL_POINTS);
    for (const Vector3 &p : points)
        glVertex3f(p.x, p.y, p.z);
    glEnd();
    PlainDrawNeighbourLines(points);
    PlainRelaxPoints(points);
}
