// Built with AVX: nothing here may run before the processor is known to
// have it, and nothing shared with other translation units is defined here.
#include "scene/relaxation.h"

#include "scene/avx_lanes.h"
#include "scene/wave_relaxation.h"

void RelaxInWavesAvx(const PointAxes &points, ptrdiff_t count, float forceScale)
{
    RelaxInWaves<avx::Floats, avx::FourFloats>(points, count, forceScale);
}
