// The frame's passes, each reported per pair of points (4,950 per frame).
// Drawing goes to a real context in selection mode: vertices are transformed
// and clipped but not rasterised, so the numbers measure the scene's own work
// and the vertex submission rather than the rasteriser.
#include <stdio.h>

#include <benchmark/benchmark.h>

// Before GL/gl.h, which leaves an existing APIENTRY alone.
#include "tests/support/gl_context.h"

#include <GL/gl.h>

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
    StartScene();
    return PointSet;
}

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

void BM_NeighbourLines(benchmark::State &state)
{
    const PointList points = StartSet();
    for (auto _ : state)
        DrawNeighbourLines(points);
    CountPerPair(state);
}
BENCHMARK(BM_NeighbourLines);

void BM_PlainNeighbourLines(benchmark::State &state)
{
    const PointList points = StartSet();
    for (auto _ : state)
        PlainDrawNeighbourLines(points);
    CountPerPair(state);
}
BENCHMARK(BM_PlainNeighbourLines);

void BM_StepScene(benchmark::State &state)
{
    StartScene();
    for (auto _ : state)
        StepScene();
    CountPerPair(state);
}
BENCHMARK(BM_StepScene);

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
