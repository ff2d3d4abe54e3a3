// The real entry, render thread, window and scene, run in this process with
// the platform table wrapped only to act as the user and to count frames.
#include <gtest/gtest.h>

#include <string.h>

#include "app/process_entry.h"
#include "app/process_objects.h"
#include "tests/support/platform_script.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

enum class Act { MinimiseThenClose, QuitToEntry, NoWindow } act;
DWORD entryThread;
int frames, polls, framesWhileMinimised;
float angleAtFirstFrame;

void PressCloseBox()
{
    platform.PostMessageA(mainWindow.hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

BOOL WINAPI CountingSwapBuffers(HDC dc)
{
    if (++frames == 1)
        angleAtFirstFrame = sceneAngle;
    if (frames == 3 && act == Act::QuitToEntry)
        platform.PostThreadMessageA(entryThread, WM_QUIT, 7, 0);
    if (frames == 3 && act == Act::MinimiseThenClose)
        mainWindow.active = false;
    if (frames == 1000) // the loop ignored the minimised window: end the run all the same
        PressCloseBox();
    return realPlatform.SwapBuffers(dc);
}

// The frame loop polls once per pass, drawn or not. While the test holds the
// window minimised, what the window manager sends does not restore it: how a
// minimise reaches `active` is the window procedure's part, tested with it.
BOOL WINAPI WatchingPeekMessage(LPMSG message, HWND window, UINT first, UINT last, UINT remove)
{
    const BOOL got = realPlatform.PeekMessageA(message, window, first, last, remove);
    if (platform.GetCurrentThreadId() == entryThread || act != Act::MinimiseThenClose || frames < 3 || polls == 100)
        return got;
    mainWindow.active = false;
    if (++polls == 100) {
        framesWhileMinimised = frames - 3;
        mainWindow.active = true;
        PressCloseBox();
    }
    return got;
}

HWND WINAPI RefusedCreateWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    return nullptr;
}

int RunApplication(Act what)
{
    act = what;
    frames = polls = 0;
    framesWhileMinimised = -1;
    keepRunning = true;
    renderFinished = false;
    mainWindow.active = true;
    ScopedPlatform scoped;
    platform.SwapBuffers = CountingSwapBuffers;
    platform.PeekMessageA = WatchingPeekMessage;
    if (what == Act::NoWindow)
        platform.CreateWindowExA = RefusedCreateWindow;
    ResetScript();
    entryThread = platform.GetCurrentThreadId();
    return ProcessEntry(nullptr, nullptr, nullptr, 0);
}

TEST(Application, MinimisedWindowDrawsNothingAndTheCloseBoxEndsTheProgram)
{
    EXPECT_EQ(RunApplication(Act::MinimiseThenClose), 0);
    EXPECT_EQ(framesWhileMinimised, 0);
    EXPECT_GT(frames, 3) << "drawing resumes after restore";
    EXPECT_NEAR(sceneAngle - angleAtFirstFrame, 0.2 * (frames - 1), 0.01) << "one scene step per frame drawn";
    EXPECT_EQ(mainWindow.hWnd, nullptr) << "the render thread closes the window";
    EXPECT_TRUE(messageBoxes.empty());
}

TEST(Application, QuitMessageToTheEntryThreadEndsWithItsCode)
{
    EXPECT_EQ(RunApplication(Act::QuitToEntry), 7);
    EXPECT_LT(frames, 1000) << "the render thread ended by keepRunning, not by the close box";
    EXPECT_EQ(mainWindow.hWnd, nullptr);
    EXPECT_TRUE(messageBoxes.empty());
}

// A program that could not open its window has failed, whoever reads the code.
TEST(Application, WindowThatCannotBeOpenedEndsTheProgramWithAFailureCode)
{
    EXPECT_EQ(RunApplication(Act::NoWindow), 1);
    EXPECT_EQ(frames, 0);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Window Creation Error.");
}

#ifndef _WIN32
// Each process-wide object registers its destructor when it is constructed,
// and exit runs them in reverse: PointSet must go first.
char registered[64];

TEST(Application, ProcessObjectsAreBuiltMainWindowFirst)
{
    EXPECT_STREQ(registered, "mainWindow PointSet ");
}
#endif

} // namespace

#ifndef _WIN32
extern "C" int __cxa_atexit(void (*destructor)(void *), void *object, void *dso)
{
    using Real = int (*)(void (*)(void *), void *, void *);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "__cxa_atexit"));
    if (object == &mainWindow)
        strcat(registered, "mainWindow ");
    if (object == &PointSet)
        strcat(registered, "PointSet ");
    return real(destructor, object, dso);
}
#endif
