#include "scene/relaxation.h"

#include "scene/point_lanes.h"
#include "scene/sse2_lanes.h"
#include "scene/wave_relaxation.h"

float ForceScale = 0.1f;

void RelaxInWavesSse2(const PointAxes &points, ptrdiff_t count, float forceScale)
{
    RelaxInWaves<sse2::Floats, sse2::Floats>(points, count, forceScale);
}

namespace {

RelaxInWavesFunction ChooseRelaxInWaves()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") ? RelaxInWavesAvx : RelaxInWavesSse2;
}

PointLanes relaxationLanes;

} // namespace

void ReserveRelaxation(size_t count)
{
    relaxationLanes.Reserve(count);
}

void RelaxPoints(PointList &points)
{
    static const RelaxInWavesFunction relaxInWaves = ChooseRelaxInWaves();
    PointLanes &lanes = relaxationLanes;
    lanes.Load(points);
    relaxInWaves({lanes.X(), lanes.Y(), lanes.Z()}, static_cast<ptrdiff_t>(lanes.Count()), ForceScale);
    lanes.StoreTo(points);
}
