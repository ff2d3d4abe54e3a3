// The relaxation pass once for each instruction set, on the points' axes
// (see wave_relaxation.h). Both give the same bits; RelaxPoints runs the
// widest the processor has.
#ifndef SCENE_RELAXATION_H
#define SCENE_RELAXATION_H

#include <stddef.h>

#include "scene/point_list.h"

struct PointAxes;
using RelaxInWavesFunction = void (*)(const PointAxes &points, ptrdiff_t count, float forceScale);

// What every pair's displacement is multiplied by: 0.1, never changed.
extern float ForceScale;

// One pass of pairwise repulsion; both points go back on the sphere at once.
void RelaxPoints(PointList &points);

// Sizes RelaxPoints' arrays ahead of its first pass over count points.
void ReserveRelaxation(size_t count);

void RelaxInWavesSse2(const PointAxes &points, ptrdiff_t count, float forceScale);
// Only where the processor has AVX.
void RelaxInWavesAvx(const PointAxes &points, ptrdiff_t count, float forceScale);

#endif
