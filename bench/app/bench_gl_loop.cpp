// The frame's GL work and nothing else, as the limit the demo is measured
// against: the demo's window and pixel format, then per frame the clear, the
// projection, camera, rotation and drawing state, the 100 points and their
// neighbour lines, and the swap. The geometry is the demo's own, frame by
// frame, recorded before the loop starts: what a frame draws costs the
// rasteriser more or less (201 lines at the start, about 590 later), so the
// loop replays the frames the demo draws rather than one of them.
//
// Either of the demo's two costs beside its GL work can be put back, to see
// how much of the gap each one is: "peek" takes at most one message after the
// swap, as the frame loop does; "arithmetic" finds the neighbour lines and
// relaxes the points, as the scene does.
//   bench_gl_loop [seconds [peek] [arithmetic]]
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <vector>

#include <GL/gl.h>

#include "app/gl_window.h"
#include "app/process_objects.h"
#include "platform/platform.h"
#include "scene/neighbour_lines.h"
#include "scene/relaxation.h"
#include "scene/scene.h"

namespace {

using Clock = std::chrono::steady_clock;

// Beyond any frame rate seen here, so the loop never runs out of frames.
const double kRecordedFramesPerSecond = 2000.0;

struct Vertex {
    GLfloat x, y, z;
};

// Frame f draws points[f * pointCount ...] and the lines whose ends are
// lineEnds[firstEnd[f] ... firstEnd[f + 1]), as point indices.
struct RecordedFrames {
    size_t pointCount = 0;
    std::vector<Vertex> points;
    std::vector<uint8_t> lineEnds;
    std::vector<size_t> firstEnd;
};

RecordedFrames RecordDemoFrames(size_t frames)
{
    RecordedFrames recorded;
    NeighbourLines lines;
    StartScene(PointSet);
    recorded.pointCount = PointSet.size();
    recorded.firstEnd.push_back(0);
    for (size_t frame = 0; frame < frames; ++frame) {
        for (const Vector3 &point : PointSet)
            recorded.points.push_back(Vertex{point.x, point.y, point.z});
        lines.Find(PointSet);
        lines.ForEach([&recorded](size_t i, size_t j) {
            recorded.lineEnds.push_back(static_cast<uint8_t>(i));
            recorded.lineEnds.push_back(static_cast<uint8_t>(j));
        });
        recorded.firstEnd.push_back(recorded.lineEnds.size());
        RelaxPoints(PointSet);
    }
    return recorded;
}

void DrawRecordedFrame(const RecordedFrames &recorded, size_t frame)
{
    const Vertex *const points = &recorded.points[frame * recorded.pointCount];
    glBegin(GL_POINTS);
    for (size_t k = 0; k < recorded.pointCount; ++k)
        glVertex3f(points[k].x, points[k].y, points[k].z);
    glEnd();
    glBegin(GL_LINES);
    for (size_t end = recorded.firstEnd[frame]; end < recorded.firstEnd[frame + 1]; ++end) {
        const Vertex &point = points[recorded.lineEnds[end]];
        glVertex3f(point.x, point.y, point.z);
    }
    glEnd();
}

bool Asked(int argc, char **argv, const char *cost)
{
    for (int k = 2; k < argc; ++k)
        if (strcmp(argv[k], cost) == 0)
            return true;
    return false;
}

void TakeOneMessage()
{
    MSG message;
    if (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        platform.TranslateMessage(&message);
        platform.DispatchMessageA(&message);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? strtod(argv[1], nullptr) : 5.0;
    const bool peek = Asked(argc, argv, "peek");
    const bool arithmetic = Asked(argc, argv, "arithmetic");
    const RecordedFrames recorded = RecordDemoFrames(static_cast<size_t>(seconds * kRecordedFramesPerSecond) + 1);
    const size_t recordedFrames = recorded.firstEnd.size() - 1;

    // As the demo opens its window.
    GLWindow window;
    if (!window.Open("Open Voskar", 800, 600, 16, false)) {
        fprintf(stderr, "bench_gl_loop: no window\n");
        return 1;
    }
    StartScene(PointSet); // as the demo does once its window is open
    NeighbourLines lines;
    lines.Reserve(PointSet.size());

    size_t frames = 0;
    Clock::time_point first, last;
    const auto duration = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    do {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        PrepareFrame();
        DrawRecordedFrame(recorded, frames);
        if (arithmetic) {
            lines.Find(PointSet);
            RelaxPoints(PointSet);
        }
        window.Swap();
        if (peek)
            TakeOneMessage();
        last = Clock::now();
        if (frames++ == 0)
            first = last;
    } while (last - first < duration && frames < recordedFrames);
    window.Close();

    const double drawing = std::chrono::duration<double>(last - first).count();
    if (frames == recordedFrames)
        printf("ran out of recorded frames: the rate below is for %zu frames\n", frames);
    printf("frames               %zu in %.2f s: %.1f frames per second\n", frames, drawing,
           drawing > 0 ? (frames - 1) / drawing : 0.0);
    return 0;
}
