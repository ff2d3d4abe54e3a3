// The relaxation pass once for each instruction set, on the points' axes
// (see wave_relaxation.h). Both give the same bits; RelaxPoints runs the
// widest the processor has.
#ifndef SCENE_RELAXATION_H
#define SCENE_RELAXATION_H

#include <stddef.h>

#include "scene/scene.h"

struct PointAxes;
using RelaxInWavesFunction = void (*)(const PointAxes &points, ptrdiff_t count, float forceScale);

// Sizes RelaxPoints' arrays ahead of its first pass over count points.
void ReserveRelaxation(size_t count);

void RelaxInWavesSse2(const PointAxes &points, ptrdiff_t count, float forceScale);
// Only where the processor has AVX.
void RelaxInWavesAvx(const PointAxes &points, ptrdiff_t count, float forceScale);

#endif
