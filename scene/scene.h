// The sphere point scene: 100 seeded points relaxing on a sphere of radius 5,
// drawn with their near-neighbour lines and turning about the vertical axis.
// Runs on the thread whose OpenGL context is current.
#ifndef SCENE_SCENE_H
#define SCENE_SCENE_H

#include <stdint.h>

#include "scene/point_list.h"

extern float sceneAngle;

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

// Replaces the points with the seeded start set and sets the projection.
bool StartScene(PointList &points);
// Draws the points as they stand, then relaxes them once.
bool StepScene(PointList &points);

// The frame's passes, callable one by one so that each can be measured.
// Projection, camera, the next rotation and the drawing state.
void PrepareFrame();
void DrawPoints(const PointList &points);
// Joins each point to every point less than 1.5 times as far as its nearest.
void DrawNeighbourLines(const PointList &points);

#endif
