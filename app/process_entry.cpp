#include "app/process_entry.h"

#include <GL/gl.h>

#include "app/gl_window.h"
#include "app/process_objects.h"
#include "scene/scene.h"

std::atomic<bool> keepRunning{true};
std::atomic<bool> renderFinished{false};

namespace {

// The render thread's result when the window or the scene could not be made:
// the process then ends with a failure code instead of the usual 0.
constexpr DWORD kRenderStartFailed = 2;

// Signalled whenever renderFinished is set, so the entry thread can sleep
// until then instead of polling its queue.
HANDLE renderFinishedEvent = nullptr;

void SetRenderFinished()
{
    renderFinished = true;
    if (renderFinishedEvent)
        platform.SetEvent(renderFinishedEvent);
}

void DeliverMessage(const MSG &message)
{
    platform.TranslateMessage(&message);
    platform.DispatchMessageA(&message);
}

} // namespace

bool FilterMessage(MSG)
{
    return false;
}

bool OnShutdown()
{
    return true;
}

DWORD WINAPI RenderThreadMain(LPVOID)
{
    if (!mainWindow.Open("Open Voskar", 800, 600, 16, false)) {
        SetRenderFinished();
        return kRenderStartFailed;
    }
    if (!StartScene(PointSet)) {
        mainWindow.Close();
        SetRenderFinished();
        return kRenderStartFailed;
    }

    MSG message;
    while (keepRunning) {
        if (mainWindow.active) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            if (StepScene(PointSet))
                mainWindow.Swap();
            else
                SetRenderFinished(); // the entry thread ends the loop through keepRunning
        }
        if (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                SetRenderFinished();
                break;
            }
            if (!FilterMessage(message))
                DeliverMessage(message);
        }
    }

    mainWindow.Close();
    SetRenderFinished();
    return 1;
}

int ProcessEntry(HINSTANCE, HINSTANCE, LPSTR, int)
{
    bool quitReceived = false;
    WPARAM quitCode = 0;

    renderFinishedEvent = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!renderFinishedEvent)
        return 1;

    HANDLE renderThread = platform.CreateThread(nullptr, 0, RenderThreadMain, nullptr, 0, nullptr);
    if (!renderThread) {
        platform.CloseHandle(renderFinishedEvent);
        renderFinishedEvent = nullptr;
        return 1;
    }

    // Block until the render thread reports its end or a message arrives;
    // the event stays set, so a flag set between the check and the wait is
    // never missed.
    MSG message;
    while (!quitReceived && !renderFinished) {
        if (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitReceived = true;
                quitCode = message.wParam;
            } else {
                DeliverMessage(message);
            }
            continue;
        }
        if (!renderFinished)
            platform.MsgWaitForMultipleObjects(1, &renderFinishedEvent, FALSE, INFINITE, QS_ALLINPUT);
    }

    keepRunning = false;
    platform.WaitForSingleObject(renderThread, INFINITE);
    DWORD renderResult = 1;
    platform.GetExitCodeThread(renderThread, &renderResult);
    platform.CloseHandle(renderThread);
    platform.CloseHandle(renderFinishedEvent);
    renderFinishedEvent = nullptr;

    OnShutdown();
    if (quitReceived)
        return static_cast<int>(quitCode);
    return renderResult == kRenderStartFailed ? 1 : 0;
}
