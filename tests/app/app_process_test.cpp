// The whole application in a child process of this test: the real entry,
// render thread, window and scene, with the platform table wrapped only to
// act like a user (close box, minimise) and to watch what happens.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/process_entry.h"
#include "app/process_objects.h"
#include "tests/support/platform_script.h"

#ifdef _WIN32
#include <process.h>
#else
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

namespace {

const char *selfPath;
char reportPath[1024];
FILE *report;

void Report(const char *key, long long value)
{
    fprintf(report, "%s=%lld\n", key, value);
    fflush(report);
}

using Clock = std::chrono::steady_clock;

// What the wrappers see; all of it is touched on the render thread only.
int framesPresented;
DWORD entryThreadId;
enum class Act { CloseBox, QuitToEntry, Minimise } act;

struct MinimiseWatch {
    Clock::time_point firstFrame;
    bool requested = false;
    bool seen = false;
    bool restored = false;
    int attempts = 0;
    int framesAtMinimise = 0;
    float angleAtMinimise = 0;
    float xAtMinimise = 0;
    Clock::time_point attemptStart;
    Clock::time_point since;
} watch;

void PressCloseBox()
{
    // As the system delivers a click on the close box.
    platform.PostMessageA(mainWindow.hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

BOOL WINAPI CountingSwapBuffers(HDC dc)
{
    if (++framesPresented == 1)
        watch.firstFrame = Clock::now();
    if (act == Act::CloseBox && framesPresented == 3)
        PressCloseBox();
    if (act == Act::QuitToEntry && framesPresented >= 3)
        platform.PostThreadMessageA(entryThreadId, WM_QUIT, 7, 0);
    if (act == Act::Minimise && watch.restored && framesPresented == watch.framesAtMinimise + 3)
        PressCloseBox();
    return realPlatform.SwapBuffers(dc);
}

// Minimising reports itself only to an active window, and the window manager
// may hand the new window the focus a little late: ask again until it shows.
void RequestMinimise(Clock::time_point now)
{
    if (watch.requested)
        platform.ShowWindow(mainWindow.hWnd, SW_RESTORE);
    watch.requested = true;
    watch.attemptStart = now;
    ++watch.attempts;
    platform.ShowWindow(mainWindow.hWnd, SW_MINIMIZE);
}

// The frame loop polls once per pass, drawn or not: the place to watch a
// minimised window.
void WatchMinimise()
{
    const Clock::time_point now = Clock::now();
    if (!watch.requested) {
        if (framesPresented >= 3 && now - watch.firstFrame > std::chrono::milliseconds(500))
            RequestMinimise(now);
        return;
    }
    if (!watch.seen) {
        if (!mainWindow.active) {
            watch.seen = true;
            watch.since = now;
            watch.framesAtMinimise = framesPresented;
            watch.angleAtMinimise = sceneAngle;
            watch.xAtMinimise = PointSet[0].x;
        } else if (now - watch.attemptStart > std::chrono::seconds(2)) {
            if (watch.attempts < 5) {
                RequestMinimise(now);
            } else {
                Report("minimised_seen", 0);
                watch.restored = true;
                PressCloseBox();
            }
        }
        return;
    }
    if (now - watch.since > std::chrono::milliseconds(500)) {
        Report("minimised_seen", 1);
        Report("frames_while_minimised", framesPresented - watch.framesAtMinimise);
        Report("angle_unchanged", sceneAngle == watch.angleAtMinimise);
        Report("points_unchanged", PointSet[0].x == watch.xAtMinimise);
        watch.restored = true;
        platform.ShowWindow(mainWindow.hWnd, SW_RESTORE);
    }
}

BOOL WINAPI WatchingPeekMessage(LPMSG msg, HWND w, UINT lo, UINT hi, UINT remove)
{
    if (act == Act::Minimise && !watch.restored && platform.GetCurrentThreadId() != entryThreadId)
        WatchMinimise();
    return realPlatform.PeekMessageA(msg, w, lo, hi, remove);
}

#ifndef _WIN32
// Static destructors are registered here with the object's address; wrapping
// the registration shows the order in which the two objects go away.
// A plain array: a std::string here would itself be destroyed before the
// last handler reads it.
char destroyed[64];

struct Registration {
    void (*destructor)(void *);
    void *object;
};
Registration registrations[256];
int registrationCount;

void RunAndRecord(void *slot)
{
    Registration *r = static_cast<Registration *>(slot);
    if (r->object == &PointSet)
        strcat(destroyed, "PointSet ");
    if (r->object == &mainWindow)
        strcat(destroyed, "mainWindow ");
    r->destructor(r->object);
}

__attribute__((constructor(101))) void WriteOrderLast()
{
    // Registered before any object exists, so it runs after all are gone.
    atexit([] {
        if (reportPath[0]) {
            FILE *f = fopen(reportPath, "a");
            if (f) {
                fprintf(f, "destroyed=%s\n", destroyed);
                fclose(f);
            }
        }
    });
}
#endif

int RunChild(const char *mode)
{
    report = fopen(reportPath, "w");
    if (!report)
        return 98;
    if (strcmp(mode, "close") == 0)
        act = Act::CloseBox;
    else if (strcmp(mode, "quit") == 0)
        act = Act::QuitToEntry;
    else
        act = Act::Minimise;

    ScopedPlatform scoped;
    platform.SwapBuffers = CountingSwapBuffers;
    platform.PeekMessageA = WatchingPeekMessage;
    entryThreadId = platform.GetCurrentThreadId();

    int code = ProcessEntry(nullptr, nullptr, nullptr, 0);
    Report("frames", framesPresented);
    Report("boxes", static_cast<long long>(messageBoxes.size()));
    Report("window_left", mainWindow.hWnd != nullptr);
    fclose(report);
    return code;
}

std::map<std::string, std::string> RunApplication(const char *mode, int *exitCode)
{
    std::string path = std::string("app_process_") + mode + ".report";
#ifdef _WIN32
    *exitCode = static_cast<int>(_spawnl(_P_WAIT, selfPath, selfPath, "--child", mode, path.c_str(), nullptr));
#else
    pid_t pid;
    const char *args[] = {selfPath, "--child", mode, path.c_str(), nullptr};
    if (posix_spawn(&pid, selfPath, nullptr, nullptr, const_cast<char **>(args), environ) != 0) {
        *exitCode = -1;
        return {};
    }
    int status = 0;
    waitpid(pid, &status, 0);
    *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

TEST(Application, ClosingTheWindowEndsTheProcessWithCodeZero)
{
    int exitCode;
    auto values = RunApplication("close", &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(atoi(values["frames"].c_str()), 3);
    EXPECT_EQ(values["boxes"], "0");
    EXPECT_EQ(values["window_left"], "0") << "the render thread closes the window";
#ifndef _WIN32
    EXPECT_EQ(values["destroyed"], "PointSet mainWindow ");
#endif
}

TEST(Application, QuitMessageToTheEntryThreadEndsWithItsCode)
{
    int exitCode;
    auto values = RunApplication("quit", &exitCode);
    EXPECT_EQ(exitCode, 7);
    EXPECT_EQ(values["window_left"], "0");
    EXPECT_EQ(values["boxes"], "0");
}

TEST(Application, MinimisedWindowDrawsNothingAndTheSceneStandsStill)
{
    int exitCode;
    auto values = RunApplication("minimise", &exitCode);
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(values["minimised_seen"], "1") << "no WM_ACTIVATE with the minimised flag arrived";
    EXPECT_EQ(values["frames_while_minimised"], "0");
    EXPECT_EQ(values["angle_unchanged"], "1");
    EXPECT_EQ(values["points_unchanged"], "1");
    EXPECT_GT(atoi(values["frames"].c_str()), 5) << "drawing resumes after restore";
}

} // namespace

#ifndef _WIN32
extern "C" int __cxa_atexit(void (*destructor)(void *), void *object, void *dso)
{
    using Real = int (*)(void (*)(void *), void *, void *);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "__cxa_atexit"));
    if ((object == &PointSet || object == &mainWindow) && registrationCount < 256) {
        Registration *r = &registrations[registrationCount++];
        r->destructor = destructor;
        r->object = object;
        return real(RunAndRecord, r, dso);
    }
    return real(destructor, object, dso);
}
#endif

int main(int argc, char **argv)
{
    if (argc == 4 && strcmp(argv[1], "--child") == 0) {
        snprintf(reportPath, sizeof reportPath, "%s", argv[3]);
        return RunChild(argv[2]);
    }
    selfPath = argv[0];
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
