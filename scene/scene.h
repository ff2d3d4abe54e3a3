// The sphere point scene: 100 seeded points relaxing on a sphere of radius 5,
// drawn with their near-neighbour lines and turning about the vertical axis.
// Runs on the thread whose OpenGL context is current.
#ifndef SCENE_SCENE_H
#define SCENE_SCENE_H

#include <stdint.h>
#include <vector>

#include "scene/vector3.h"

using PointList = std::vector<Vector3>;

// Process-wide; defined beside mainWindow so that the two are built and torn
// down in a fixed order.
extern PointList PointSet;

extern float sceneAngle;
extern float ForceScale;

// The start set's generator: a 32-bit linear congruential state.
struct SceneRng {
    uint32_t state;
    void Seed(uint32_t seed) { state = seed; }
    int Draw()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

// Replaces PointSet with the seeded start set and sets the projection.
bool StartScene();
// Draws PointSet as it stands, then relaxes it once.
bool StepScene();

// The frame's passes, callable one by one so that each can be measured.
// Projection, camera, the next rotation and the drawing state.
void PrepareFrame();
void DrawPoints(const PointList &points);
// Joins each point to every point less than 1.5 times as far as its nearest.
void DrawNeighbourLines(const PointList &points);
// One pass of pairwise repulsion; both points go back on the sphere at once.
void RelaxPoints(PointList &points);

#endif
