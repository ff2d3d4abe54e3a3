#include "user32/window_registry.h"

#include <utility>

#include "fill_table.h"
#include "handle_map.h"
#include "kernel32/threads.h"

namespace {

using Windows = PortableHandleMap<HWND, std::unique_ptr<PortableWindow>>;

Windows &LiveWindows()
{
    static auto *windows = new Windows;
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
    if (!LiveWindows().Insert(handle, std::move(window)))
        return nullptr;
    ++ownedWindows;
    return handle;
}

std::unique_ptr<PortableWindow> PortableRemoveWindow(HWND handle)
{
    std::unique_ptr<PortableWindow> gone;
    if (LiveWindows().Release(handle, &gone))
        --ownedWindows;
    return gone;
}

bool PortableVisitWindow(HWND handle, const std::function<void(PortableWindow &)> &visit)
{
    return LiveWindows().Visit(handle, [&](std::unique_ptr<PortableWindow> &found) { visit(*found); });
}

void PortableVisitWindows(const std::function<void(PortableWindow &)> &visit)
{
    LiveWindows().VisitAll([&](HWND, std::unique_ptr<PortableWindow> &each) { visit(*each); });
}

PortableWindowLock::PortableWindowLock()
{
    LiveWindows().Lock().lock();
}

PortableWindowLock::~PortableWindowLock()
{
    LiveWindows().Lock().unlock();
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
