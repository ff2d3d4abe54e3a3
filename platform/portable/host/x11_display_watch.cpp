// The watcher polls the X connection only while a thread that reads the
// display sleeps in a wait: a thread that is busy reads the events itself at
// its next peek, and polling then would wake the watcher (and every waiter)
// on each frame's GL traffic. When the connection turns readable it raises
// the news flag, wakes the waiters and polls no more until the events were
// read, so it never spins on data the thread owning the windows has not
// taken yet.
#include "host/x11_display_watch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <errno.h>
#include <poll.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "host/wait_signal.h"

namespace {

// Under HostLock().
bool watched = false;
bool news = false;
int readersWaiting = 0; // threads that read the display, asleep in a wait

// The watcher's own, so that waking it wakes no waiter and the other way round.
std::condition_variable &WatcherSignal()
{
    static auto *signal = new std::condition_variable; // the watcher still waits on it at exit
    return *signal;
}

void Watch(int descriptor)
{
    std::unique_lock<std::mutex> hold(HostLock());
    for (;;) {
        WatcherSignal().wait(hold, [] { return readersWaiting > 0 && !news; });
        hold.unlock();
        pollfd connection{descriptor, POLLIN, 0};
        const int polled = poll(&connection, 1, -1);
        hold.lock();
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0 || (connection.revents & (POLLERR | POLLHUP | POLLNVAL)))
            break;
        news = true;
        if (readersWaiting > 0)
            HostSignal().notify_all();
    }
    // The connection is gone: waits go back to looking at SDL now and then.
    watched = false;
    HostSignal().notify_all();
}

Display *DisplayOf(SDL_Window *window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return info.info.x11.display;
}

// The connection watched, for a look at it from any thread.
std::atomic<Display *> watchedDisplay{nullptr};

} // namespace

void HostWatchDisplayOf(SDL_Window *window)
{
    static std::once_flag started;
    std::call_once(started, [window] {
        Display *display = DisplayOf(window);
        if (!display)
            return;
        const int descriptor = ConnectionNumber(display);
        watchedDisplay = display;
        {
            std::lock_guard<std::mutex> hold(HostLock());
            watched = true;
        }
        std::thread(Watch, descriptor).detach();
    });
}

bool HostDisplayQuiet()
{
    Display *display = watchedDisplay;
    if (!display)
        return false;
    XLockDisplay(display); // SDL makes Xlib safe for threads
    const bool queued = XQLength(display) > 0;
    XUnlockDisplay(display);
    if (queued)
        return false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    return poll(&connection, 1, 0) == 0;
}

bool HostDisplayWatched()
{
    return watched;
}

bool HostDisplayHasNews()
{
    return news;
}

void HostDisplayRead()
{
    std::lock_guard<std::mutex> hold(HostLock());
    if (news && readersWaiting > 0) // another reader still sleeps: poll for it again
        WatcherSignal().notify_one();
    news = false;
}

void HostDisplayWaitBegins()
{
    if (readersWaiting++ == 0)
        WatcherSignal().notify_one();
}

void HostDisplayWaitEnds()
{
    --readersWaiting;
}
