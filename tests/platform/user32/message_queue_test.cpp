// Threads, events, thread message queues and the waits on them, through the
// table; natively also how a thread that owns a window waits.
#include <atomic>
#include <functional>

#include "tests/platform/window_fixture.h"
#include "tests/support/gl_context.h"
#include "tests/support/real_input.h"

#ifndef _WIN32
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>
#endif

namespace {

const UINT kFirst = WM_USER + 1, kSecond = WM_USER + 2;

DWORD Wait(HANDLE object, DWORD milliseconds)
{
    return platform.WaitForSingleObject(object, milliseconds);
}

DWORD MessageWait(HANDLE object, DWORD milliseconds)
{
    return platform.MsgWaitForMultipleObjects(1, &object, FALSE, milliseconds, QS_ALLINPUT);
}

DWORD ExitCode(HANDLE thread)
{
    DWORD code = 0;
    return platform.GetExitCodeThread(thread, &code) ? code : 0xDEAD;
}

using Body = std::function<DWORD()>;

DWORD WINAPI RunBody(LPVOID body)
{
    return (*static_cast<Body *>(body))();
}

// Runs body, which must outlive the thread, on a thread of its own.
HANDLE Start(Body &body, DWORD *id = nullptr)
{
    return platform.CreateThread(nullptr, 0, RunBody, &body, 0, id);
}

using MessageQueue = WindowTest;

// Posted messages in order, then the quit request, which passes any filter
// and stays until removed.
TEST_F(MessageQueue, FiltersTakeTheirRangeAndTheQuitRequestComesLast)
{
    ASSERT_TRUE(platform.PostMessageA(nullptr, kFirst, 1, 0));
    platform.PostQuitMessage(5);
    ASSERT_TRUE(platform.PostThreadMessageA(platform.GetCurrentThreadId(), kSecond, 2, 0));
    const struct Step {
        UINT first, last, flags, message; // message 0: none taken
        WPARAM wParam;
    } steps[] = {
        {0, 0, PM_NOREMOVE, kFirst, 1},            {0, 0, PM_NOREMOVE, kFirst, 1},
        {kSecond, kSecond, PM_REMOVE, kSecond, 2}, {kSecond, kSecond + 9, PM_NOREMOVE, WM_QUIT, 5},
        {0, 0, PM_REMOVE, kFirst, 1},              {0, 0, PM_REMOVE, WM_QUIT, 5},
        {0, 0, PM_REMOVE, 0, 0},
    };
    for (const Step &step : steps) {
        MSG message{};
        EXPECT_EQ(platform.PeekMessageA(&message, nullptr, step.first, step.last, step.flags) != FALSE,
                  step.message != 0);
        EXPECT_EQ(std::make_pair(message.message, message.wParam), std::make_pair(step.message, step.wParam))
            << "step " << &step - steps;
    }
}

#ifndef _WIN32
long ContextSwitches(long linuxThread)
{
    std::ifstream status("/proc/self/task/" + std::to_string(linuxThread) + "/status");
    long total = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.find("ctxt_switches:") != std::string::npos)
            total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

#endif

// Waits time out no earlier than asked; an auto-reset event lets one
// through, a manual one all. A thread runs at once under the id it was
// given. A message posted to it arrives there, not here, and ends its
// GetMessageA loop at WM_QUIT; this thread's message wait wakes for the
// answer it posts back, and then for its end, with its exit code. Natively
// the thread also has a window: it sleeps in GetMessageA until something
// arrives, and wakes at once when the display sends input.
TEST_F(MessageQueue, MessagesGoToTheirThreadAndWakeItsWait)
{
    using Clock = std::chrono::steady_clock;
    const DWORD self = platform.GetCurrentThreadId();
    HANDLE ready = platform.CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE once = platform.CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(Wait(once, 0), WAIT_OBJECT_0);
    for (auto wait : {Wait, MessageWait}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(wait(once, 120), WAIT_TIMEOUT);
        EXPECT_GE(MillisecondsSince(start), 120 - kTimerSlackMs);
    }
    std::vector<MSG> received;
    BOOL lastResult = TRUE;
    DWORD seenId = 0;
    HWND window = nullptr;
    [[maybe_unused]] long linuxThread = 0;
    std::atomic<bool> moved{false};
    Clock::time_point movedAt;
    Body body = [&] {
        seenId = platform.GetCurrentThreadId();
#ifndef _WIN32
        window = platform.CreateWindowExA(0, kClassName, "sleeper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                                          160, nullptr, nullptr, instance_, nullptr);
        PumpFor(300); // mapped and focused meanwhile
        linuxThread = syscall(SYS_gettid);
#endif
        MSG message;
        platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // Win32 makes the queue on first use
        platform.SetEvent(ready);
        while ((lastResult = platform.GetMessageA(&message, nullptr, 0, 0)) > 0) {
            if (message.message == WM_MOUSEMOVE && !moved) {
                movedAt = Clock::now();
                moved = true;
            }
            if (message.hwnd) { // the window's
                platform.DispatchMessageA(&message);
                continue;
            }
            received.push_back(message);
            platform.Sleep(60);
            platform.PostThreadMessageA(self, kSecond, 7, 0);
        }
        platform.Sleep(60);
        platform.DestroyWindow(window);
        return DWORD(message.wParam);
    };
    DWORD workerId = 0;
    HANDLE thread = Start(body, &workerId);
    ASSERT_EQ(Wait(ready, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(Wait(ready, 0), WAIT_OBJECT_0); // a manual reset stays set
    EXPECT_EQ(seenId, workerId);
    EXPECT_EQ(ExitCode(thread), STILL_ACTIVE);
#ifndef _WIN32
    if (RealInputReady()) {
        MovePointerTo(0, 0); // away, so that coming back is a move
        platform.Sleep(100);
        const long before = ContextSwitches(linuxThread);
        platform.Sleep(500);
        EXPECT_LE(ContextSwitches(linuxThread) - before, 2); // a 5 ms poll would make about 100
        RECT outer{};
        platform.GetWindowRect(window, &outer);
        const Clock::time_point sent = Clock::now();
        MovePointerTo((outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2);
        while (!moved && Clock::now() - sent < std::chrono::seconds(2))
            platform.Sleep(1);
        EXPECT_TRUE(moved);
        EXPECT_LT(movedAt - sent, std::chrono::milliseconds(50));
    }
#endif
    MSG message;
    for (const auto &[posted, woken] : {std::make_pair(kFirst, WAIT_OBJECT_0 + 1), {WM_QUIT, WAIT_OBJECT_0}}) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(platform.PostThreadMessageA(workerId, posted, posted == WM_QUIT ? 3 : 99, 0));
        EXPECT_EQ(MessageWait(thread, posted == WM_QUIT ? INFINITE : 5000), woken);
        EXPECT_GE(MillisecondsSince(start), 60 - kTimerSlackMs);
        const bool answered = platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
        EXPECT_EQ(answered ? message.message : 0u, posted == kFirst ? kSecond : 0u);
    }
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(std::make_pair(received[0].message, received[0].wParam), std::make_pair(kFirst, WPARAM(99)));
    EXPECT_EQ(lastResult, 0); // GetMessageA is 0 for WM_QUIT
    EXPECT_EQ(ExitCode(thread), 3u);
    EXPECT_TRUE(platform.CloseHandle(thread));
    EXPECT_FALSE(platform.CloseHandle(thread));
    platform.CloseHandle(ready);
    platform.CloseHandle(once);
}

// A window on each of two threads, each thread with its own message loop.
// What the other thread does to a window, it records about it; the window's
// procedure records what it got, and whether on its own thread.
struct Side {
    HWND window = nullptr;
    DWORD thread = 0;
    HANDLE ready = nullptr, done = nullptr;
    std::atomic<int> clicks{0}, posts{0}, keys{0};
    std::atomic<bool> restored{false};
    bool elsewhere = false; // a message of its window handled on another thread
    std::vector<UINT> sizes;
    HGLRC context = nullptr; // current on the window's thread
    BOOL destroyedByOther = TRUE, contextDeletedByOther = TRUE;
    Side *other = nullptr;
};

const UINT kCounted = WM_USER + 7, kShowAndSize = WM_USER + 8, kPostBurst = WM_USER + 9;
constexpr int kBurst = 200, kClicks = 5;

LRESULT CALLBACK SideProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *side = reinterpret_cast<Side *>(platform.GetWindowLongPtrA(window, GWLP_USERDATA));
    if (side) {
        side->elsewhere |= platform.GetCurrentThreadId() != side->thread;
        side->clicks += message == WM_LBUTTONUP;
        side->keys += message == WM_KEYDOWN && wParam == WPARAM('A' + (side > side->other));
        side->posts += message == kCounted && int(wParam) == side->posts;
        if (message == WM_SIZE) {
            side->sizes.push_back(UINT(wParam));
            side->restored = side->restored || (wParam == SIZE_RESTORED && side->sizes.size() > 1);
        }
    }
    if (message == WM_DESTROY)
        platform.PostQuitMessage(0);
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

// Meanwhile what other threads ask of this one's windows is done (a peek does it).
bool WaitUntil(const std::function<bool()> &met)
{
    MSG message;
    for (int i = 0; i < 500 && !met(); ++i) {
        platform.PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        platform.Sleep(10);
    }
    return met();
}

// The other thread's window: shown, sized and activated from here, never
// destroyed from here; then posted to and looked at while input arrives.
void ActOnOther(Side &side, UINT what)
{
    const HWND other = side.other->window;
    if (what == kShowAndSize) {
        platform.ShowWindow(other, SW_MINIMIZE);
        WaitUntil([&] { return platform.IsIconic(other) != FALSE; });
        platform.Sleep(300); // iconified by the window manager too
        platform.ShowWindow(other, SW_RESTORE);
        platform.SetForegroundWindow(other);
        side.other->destroyedByOther = platform.DestroyWindow(other);
        side.other->contextDeletedByOther = platform.wglDeleteContext(side.other->context);
    }
    for (int i = 0; what == kPostBurst && i < kBurst; ++i) {
        RECT rect;
        platform.PostMessageA(other, kCounted, i, 0);
        platform.GetClientRect(other, &rect);
        platform.GetWindowRect(other, &rect);
        platform.IsIconic(other);
    }
    platform.SetEvent(side.done);
}

DWORD RunSide(Side &side, int x)
{
    side.thread = platform.GetCurrentThreadId();
    side.window = platform.CreateWindowExA(0, "OvTwoThreads", "side", WS_OVERLAPPEDWINDOW, x, 120, 260, 180, nullptr,
                                           nullptr, platform.GetModuleHandleA(nullptr), nullptr);
    platform.SetWindowLongPtrA(side.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&side));
    platform.ShowWindow(side.window, SW_SHOW);
    const HDC dc = platform.GetDC(side.window);
    const PIXELFORMATDESCRIPTOR format = DoubleBufferedRgbaFormat(24);
    platform.SetPixelFormat(dc, platform.ChoosePixelFormat(dc, &format), &format);
    side.context = platform.wglCreateContext(dc);
    platform.wglMakeCurrent(dc, side.context);
    platform.SetEvent(side.ready);
    MSG message;
    while (platform.GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!message.hwnd) {
            ActOnOther(side, message.message);
            continue;
        }
        platform.TranslateMessage(&message);
        platform.DispatchMessageA(&message);
    }
    platform.wglMakeCurrent(nullptr, nullptr);
    return platform.wglDeleteContext(side.context) ? 0 : 1;
}

// Real input reaches each window on its own thread while the other thread
// shows, sizes, tries to destroy, posts to and looks at it: nothing is lost
// and nothing handled on the wrong thread. Nor can the other thread delete a
// context current on the window's thread.
TEST_F(MessageQueue, WindowsOnTwoThreadsEachGetTheirOwnMessages)
{
    const WNDCLASSA windowClass{0, SideProc, 0, 0, instance_, nullptr, nullptr, nullptr, nullptr, "OvTwoThreads"};
    ASSERT_NE(platform.RegisterClassA(&windowClass), 0);
    Side *sides = new Side[2]; // left to a thread that does not end
    Body bodies[2] = {[&] { return RunSide(sides[0], 60); }, [&] { return RunSide(sides[1], 420); }};
    HANDLE threads[2];
    for (int i = 0; i < 2; ++i) {
        sides[i].other = &sides[1 - i];
        sides[i].ready = platform.CreateEventA(nullptr, FALSE, FALSE, nullptr);
        sides[i].done = platform.CreateEventA(nullptr, FALSE, FALSE, nullptr);
        threads[i] = Start(bodies[i]);
        ASSERT_EQ(Wait(sides[i].ready, 5000), WAIT_OBJECT_0);
    }
    for (UINT phase : {kShowAndSize, kPostBurst}) {
        for (int i = 0; i < 2; ++i)
            platform.PostThreadMessageA(sides[i].thread, phase, 0, 0);
        for (int i = 0; phase == kPostBurst && RealInputReady() && i < 2; ++i) {
            RECT outer{}, insets{0, 0, 0, 0};
            platform.GetWindowRect(sides[i].window, &outer);
            platform.AdjustWindowRectEx(&insets, WS_OVERLAPPEDWINDOW, FALSE, 0);
            MovePointerTo(outer.left - insets.left + 100, outer.top - insets.top + 60);
            for (int click = 0; click < kClicks; ++click) {
                PressButton(VK_LBUTTON);
                PressButton(VK_LBUTTON, false);
                platform.Sleep(30);
            }
            EXPECT_TRUE(WaitUntil([&] { return sides[i].clicks == kClicks; })) << i;
            PressKey(BYTE('A' + i));
            PressKey(BYTE('A' + i), false);
        }
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(Wait(sides[i].done, 10000), WAIT_OBJECT_0);
        EXPECT_TRUE(WaitUntil([&] { return sides[0].restored && sides[1].restored; }));
        PumpFor(300); // settled with the window manager
    }
    EXPECT_TRUE(!RealInputReady() || WaitUntil([&] { return sides[0].keys == 1 && sides[1].keys == 1; }));
    bool ended = true;
    for (int i = 0; i < 2; ++i) {
        platform.PostMessageA(sides[i].window, WM_CLOSE, 0, 0);
        ended = ended && Wait(threads[i], 5000) == WAIT_OBJECT_0;
    }
    ASSERT_TRUE(ended);
    for (int i = 0; i < 2; ++i) {
        RECT gone;
        EXPECT_FALSE(platform.GetClientRect(sides[i].window, &gone));
        EXPECT_FALSE(sides[i].elsewhere);
        EXPECT_FALSE(sides[i].destroyedByOther || sides[i].contextDeletedByOther);
        EXPECT_EQ(ExitCode(threads[i]), 0u); // its context was still there to delete
        EXPECT_EQ(std::vector<UINT>(sides[i].sizes.begin() + 1, sides[i].sizes.begin() + 3),
                  (std::vector<UINT>{SIZE_MINIMIZED, SIZE_RESTORED}));
        EXPECT_EQ(sides[i].posts, kBurst);
        EXPECT_EQ(sides[i].clicks, RealInputReady() ? kClicks : 0);
        platform.CloseHandle(threads[i]);
    }
    delete[] sides;
    platform.UnregisterClassA("OvTwoThreads", instance_);
}

} // namespace
