// The frame's GL work and nothing else, as the limit the demo is measured
// against: the demo's window and pixel format, then per frame the clear, the
// projection, camera, rotation and drawing state, the 100 points and their
// neighbour lines, and the swap. The geometry is the demo's after 1,000
// frames, fixed, so no frame computes anything.
//   bench_gl_loop [seconds]
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <vector>

#include <GL/gl.h>

#include "app/gl_window.h"
#include "app/process_objects.h"
#include "scene/neighbour_lines.h"
#include "scene/scene.h"

namespace {

using Clock = std::chrono::steady_clock;

const int kSettlingFrames = 1000;

std::vector<Vector3> SettledLineEnds()
{
    NeighbourLines lines;
    lines.Find(PointSet);
    std::vector<Vector3> ends;
    lines.ForEach([&ends](size_t i, size_t j) {
        ends.push_back(PointSet[i]);
        ends.push_back(PointSet[j]);
    });
    return ends;
}

void DrawLines(const std::vector<Vector3> &ends)
{
    glBegin(GL_LINES);
    for (const Vector3 &end : ends)
        glVertex3f(end.x, end.y, end.z);
    glEnd();
}

} // namespace

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? strtod(argv[1], nullptr) : 5.0;
    GLWindow window;
    if (!window.Open("Open Voskar", 800, 600, 16, false)) {
        fprintf(stderr, "bench_gl_loop: no window\n");
        return 1;
    }
    StartScene();
    for (int frame = 0; frame < kSettlingFrames; ++frame)
        RelaxPoints(PointSet);
    const std::vector<Vector3> lineEnds = SettledLineEnds();

    long frames = 0;
    Clock::time_point first, last;
    const auto duration = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    do {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        PrepareFrame();
        DrawPoints(PointSet);
        DrawLines(lineEnds);
        window.Swap();
        last = Clock::now();
        if (frames++ == 0)
            first = last;
    } while (last - first < duration);
    window.Close();

    const double drawing = std::chrono::duration<double>(last - first).count();
    printf("line segments        %zu\n", lineEnds.size() / 2);
    printf("frames               %ld in %.2f s: %.1f frames per second\n", frames, drawing,
           drawing > 0 ? (frames - 1) / drawing : 0.0);
    return 0;
}
