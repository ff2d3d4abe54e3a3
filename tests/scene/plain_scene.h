// The frame written out literally, on bare floats: every distance computed
// where it is used (four times per pair in the line pass). The production
// scene must match it bit for bit; the benchmarks measure against it.
#ifndef TESTS_SCENE_PLAIN_SCENE_H
#define TESTS_SCENE_PLAIN_SCENE_H

#include <stddef.h>
#include <vector>

#include "scene/scene.h"

struct PlainLine {
    size_t from;
    size_t to;
    bool operator==(const PlainLine &other) const { return from == other.from && to == other.to; }
};

std::vector<PlainLine> PlainNeighbourLines(const PointList &points);
void PlainDrawNeighbourLines(const PointList &points);
void PlainRelaxPoints(PointList &points);
// A whole frame with its GL calls, on its own points and angle.
void PlainStepScene(PointList &points, float &angle);

#endif
