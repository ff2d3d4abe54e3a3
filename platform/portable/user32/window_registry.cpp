#include "user32/window_registry.h"

#include <utility>

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

bool PortableAddWindow(std::unique_ptr<PortableWindow> window)
{
    const HWND handle = window->handle;
    if (!LiveWindows().Insert(handle, std::move(window)))
        return false;
    ++ownedWindows;
    return true;
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

bool PortableThreadOwnsWindows()
{
    return ownedWindows > 0;
}

void PortableFillWindowRegistry(PlatformTable *t)
{
    t->SetWindowLongPtrA = PortableSetWindowLongPtrA;
    t->GetWindowLongPtrA = PortableGetWindowLongPtrA;
}
