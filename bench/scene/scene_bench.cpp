// The frame's passes beside the plain transcription the tests hold as the
// reference, each reported per pair of points (4,950 per frame). The
// arithmetic runs without GL; whole frames draw to a real context in
// selection mode: vertices are transformed and clipped but not rasterised, so
// the numbers measure the scene's own work and the vertex submission rather
// than the rasteriser.
#include <stdio.h>

#include <benchmark/benchmark.h>

// Before GL/gl.h, which leaves an existing APIENTRY alone.
#include "tests/support/gl_context.h"

#include <GL/gl.h>

#include "scene/neighbour_lines.h"
#include "scene/point_lanes.h"
#include "scene/relaxation.h"
#include "scene/wave_relaxation.h"
#include "scene/scene.h"
#include "tests/scene/plain_scene.h"

namespace {

const double kPairsPerFrame = 100.0 * 99.0 / 2.0;

void CountPerPair(benchmark::State &state)
{
    state.counters["per_pair"] = benchmark::Counter(
        kPairsPerFrame, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

PointList StartSet()
{
    PointList points;
    StartScene(points);
    return points;
}

// The frame without GL: which lines to draw, then the relaxation.
void BM_Arithmetic(benchmark::State &state)
{
    PointList points = StartSet();
    NeighbourLines lines;
    for (auto _ : state) {
        lines.Find(points);
        RelaxPoints(points);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK(BM_Arithmetic);

void BM_PlainArithmetic(benchmark::State &state)
{
    PointList points = StartSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainNeighbourLines(points));
        PlainRelaxPoints(points);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK(BM_PlainArithmetic);

void BM_RelaxPoints(benchmark::State &state)
{
    PointList points = StartSet();
    for (auto _ : state) {
        RelaxPoints(points);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK(BM_RelaxPoints);

void BM_PlainRelaxPoints(benchmark::State &state)
{
    PointList points = StartSet();
    for (auto _ : state) {
        PlainRelaxPoints(points);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK(BM_PlainRelaxPoints);

// Each instruction set's relaxation, whichever RelaxPoints chooses.
template <void (*RelaxInWaves)(const PointAxes &, ptrdiff_t, float)> void BM_RelaxInWaves(benchmark::State &state)
{
    if (RelaxInWaves == RelaxInWavesAvx && !__builtin_cpu_supports("avx")) {
        state.SkipWithError("no AVX here");
        return;
    }
    PointLanes lanes;
    lanes.Load(StartSet());
    const PointAxes axes = {lanes.X(), lanes.Y(), lanes.Z()};
    for (auto _ : state) {
        RelaxInWaves(axes, static_cast<ptrdiff_t>(lanes.Count()), ForceScale);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK_TEMPLATE(BM_RelaxInWaves, RelaxInWavesSse2);
BENCHMARK_TEMPLATE(BM_RelaxInWaves, RelaxInWavesAvx);

void BM_FindNeighbourLines(benchmark::State &state)
{
    const PointList points = StartSet();
    NeighbourLines lines;
    for (auto _ : state) {
        lines.Find(points);
        benchmark::ClobberMemory();
    }
    CountPerPair(state);
}
BENCHMARK(BM_FindNeighbourLines);

void BM_PlainNeighbourLines(benchmark::State &state)
{
    const PointList points = StartSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainNeighbourLines(points));
    CountPerPair(state);
}
BENCHMARK(BM_PlainNeighbourLines);

void BM_StepScene(benchmark::State &state)
{
    PointList points = StartSet();
    for (auto _ : state)
        StepScene(points);
    CountPerPair(state);
}
BENCHMARK(BM_StepScene);

void BM_PlainStepScene(benchmark::State &state)
{
    PointList points = StartSet();
    float angle = 0.0f;
    for (auto _ : state)
        PlainStepScene(points, angle);
    CountPerPair(state);
}
BENCHMARK(BM_PlainStepScene);

} // namespace

int main(int argc, char **argv)
{
    TestGLContext context;
    if (!context.Open()) {
        fprintf(stderr, "bench_scene: no GL context: %s\n", context.Failure());
        return 1;
    }
    static GLuint selectBuffer[64];
    glSelectBuffer(64, selectBuffer);
    glRenderMode(GL_SELECT);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    glRenderMode(GL_RENDER);
    return 0;
}
