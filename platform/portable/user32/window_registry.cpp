#include "user32/window_registry.h"

#include <mutex>
#include <unordered_map>
#include <utility>

#include "fill_table.h"
#include "handle_numbers.h"
#include "kernel32/threads.h"

namespace {

struct Windows {
    std::mutex lock;
    std::unordered_map<HWND, std::unique_ptr<PortableWindow>> live;
};

Windows &LiveWindows()
{
    static auto *windows = new Windows; // outlives exiting threads
    return *windows;
}

thread_local int ownedWindows = 0;

LONG_PTR WINAPI PortableSetWindowLongPtrA(HWND handle, int index, LONG_PTR value)
{
    LONG_PTR previous = 0;
    if (index == GWLP_USERDATA)
        PortableVisitWindow(handle, [&](PortableWindow &window) { previous = std::exchange(window.userData, value); });
    return previous;
}

LONG_PTR WINAPI PortableGetWindowLongPtrA(HWND handle, int index)
{
    LONG_PTR value = 0;
    if (index == GWLP_USERDATA)
        PortableVisitWindow(handle, [&](PortableWindow &window) { value = window.userData; });
    return value;
}

} // namespace

HWND PortableAddWindow(std::unique_ptr<PortableWindow> window)
{
    const HWND handle = PortableNewHandle<HWND>();
    window->handle = handle;
    {
        std::lock_guard<std::mutex> hold(LiveWindows().lock);
        LiveWindows().live.emplace(handle, std::move(window));
    }
    ++ownedWindows;
    return handle;
}

std::unique_ptr<PortableWindow> PortableRemoveWindow(HWND handle)
{
    std::unique_ptr<PortableWindow> gone;
    {
        std::lock_guard<std::mutex> hold(LiveWindows().lock);
        auto found = LiveWindows().live.find(handle);
        if (found == LiveWindows().live.end())
            return nullptr;
        gone = std::move(found->second);
        LiveWindows().live.erase(found);
    }
    --ownedWindows;
    return gone;
}

bool PortableVisitWindow(HWND handle, const std::function<void(PortableWindow &)> &visit)
{
    std::lock_guard<std::mutex> hold(LiveWindows().lock);
    auto found = LiveWindows().live.find(handle);
    if (found == LiveWindows().live.end())
        return false;
    visit(*found->second);
    return true;
}

void PortableVisitWindows(const std::function<void(PortableWindow &)> &visit)
{
    std::lock_guard<std::mutex> hold(LiveWindows().lock);
    for (auto &entry : LiveWindows().live)
        visit(*entry.second);
}

PortableWindowLock::PortableWindowLock()
{
    LiveWindows().lock.lock();
}

PortableWindowLock::~PortableWindowLock()
{
    LiveWindows().lock.unlock();
}

PortableWindow *PortableFindOwnedWindow(HWND handle)
{
    const DWORD self = PortableCurrentThreadId();
    PortableWindow *window = nullptr;
    PortableVisitWindow(handle, [&](PortableWindow &found) { window = found.owner == self ? &found : nullptr; });
    return window; // only its owner destroys it: it stays valid for the caller
}

bool PortableWindowOfSdl(uint32_t sdlId, HWND *handle, DWORD *owner)
{
    bool found = false;
    PortableVisitWindows([&](PortableWindow &window) {
        if (sdlId != 0 && window.sdlId == sdlId) {
            *handle = window.handle;
            *owner = window.owner;
            found = true;
        }
    });
    return found;
}

DWORD PortableWindowOwner(HWND handle)
{
    DWORD owner = 0;
    PortableVisitWindow(handle, [&](PortableWindow &window) { owner = window.owner; });
    return owner;
}

WNDPROC PortableWindowProc(HWND handle)
{
    WNDPROC procedure = nullptr;
    PortableVisitWindow(handle, [&](PortableWindow &window) { procedure = window.windowClass.lpfnWndProc; });
    return procedure;
}

SDL_Window *PortableSdlWindow(HWND handle)
{
    SDL_Window *sdl = nullptr;
    PortableVisitWindow(handle, [&](PortableWindow &window) { sdl = window.sdl; });
    return sdl;
}

bool PortableThreadOwnsWindows()
{
    return ownedWindows > 0;
}

void PortableFillWindowRegistry(PlatformTable *t)
{
    t->SetWindowLongPtrA = PortableSetWindowLongPtrA;
    t->GetWindowLongPtrA = PortableGetWindowLongPtrA;
}
