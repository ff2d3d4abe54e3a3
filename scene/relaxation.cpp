#include "scene/relaxation.h"

#include "scene/point_lanes.h"
#include "scene/sse2_lanes.h"
#include "scene/wave_relaxation.h"

void RelaxInWavesSse2(const PointAxes &points, ptrdiff_t count, float forceScale)
{
    RelaxInWaves<sse2::Floats>(points, count, forceScale);
}

namespace {
PointLanes relaxationLanes;
}

void ReserveRelaxation(size_t count)
{
    relaxationLanes.Reserve(count);
}

void RelaxPoints(PointList &points)
{
    PointLanes &lanes = relaxationLanes;
    lanes.Load(points);
    RelaxInWavesSse2({lanes.X(), lanes.Y(), lanes.Z()}, static_cast<ptrdiff_t>(lanes.Count()), ForceScale);
    lanes.StoreTo(points);
}
