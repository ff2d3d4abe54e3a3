// The watcher sleeps in poll() on the X connection. When the connection turns
// readable it raises the news flag, wakes every waiter and then waits until
// the events were read before polling again, so it never spins on data that
// the thread owning the windows has not taken yet.
#include "user32/display_watch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <errno.h>
#include <poll.h>

#include <mutex>
#include <thread>

#include "kernel32/waits.h"

namespace {

// Under PortableLock().
bool watched = false;
bool news = false;

void Watch(int descriptor)
{
    for (;;) {
        pollfd connection{descriptor, POLLIN, 0};
        if (poll(&connection, 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (connection.revents & (POLLERR | POLLHUP | POLLNVAL))
            break;
        std::unique_lock<std::mutex> hold(PortableLock());
        news = true;
        PortableSignal().notify_all();
        PortableSignal().wait(hold, [] { return !news; });
    }
    // The connection is gone: waits go back to looking at SDL now and then.
    std::lock_guard<std::mutex> hold(PortableLock());
    watched = false;
}

int ConnectionOf(SDL_Window *window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return -1;
    return ConnectionNumber(info.info.x11.display);
}

} // namespace

void PortableWatchDisplayOf(SDL_Window *window)
{
    static std::once_flag started;
    std::call_once(started, [window] {
        const int descriptor = ConnectionOf(window);
        if (descriptor < 0)
            return;
        {
            std::lock_guard<std::mutex> hold(PortableLock());
            watched = true;
        }
        std::thread(Watch, descriptor).detach();
    });
}

bool PortableDisplayWatched()
{
    return watched;
}

bool PortableDisplayHasNews()
{
    return news;
}

void PortableDisplayRead()
{
    {
        std::lock_guard<std::mutex> hold(PortableLock());
        if (!news)
            return;
        news = false;
    }
    PortableSignal().notify_all();
}
