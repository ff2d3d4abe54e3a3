#include "user32/window_dc.h"

#include <new>
#include <unordered_map>

#include "gdi32/gdi_objects.h"
#include "user32/window_registry.h"

namespace {

// Each window's one device context; PortableGdiLock() held.
std::unordered_map<HWND, HDC> &WindowContexts()
{
    static auto *contexts = new std::unordered_map<HWND, HDC>;
    return *contexts;
}

HDC WINAPI PortableGetDC(HWND window)
{
    return PortableWindowDC(window);
}

int WINAPI PortableReleaseDC(HWND window, HDC dc)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const PortableDeviceContext *found = PortableFindDeviceContext(dc);
    return found && found->kind == PortableGdiKind::WindowDC && found->window == window ? 1 : 0;
}

} // namespace

HDC PortableWindowDC(HWND window)
{
    if (!window || PortableWindowOwner(window) == 0)
        return nullptr;
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    auto found = WindowContexts().find(window);
    if (found != WindowContexts().end())
        return found->second;
    std::unique_ptr<PortableDeviceContext> made(new (std::nothrow)
                                                    PortableDeviceContext(PortableGdiKind::WindowDC, window));
    const HDC dc = made ? static_cast<HDC>(PortableAddGdiObject(std::move(made))) : nullptr;
    if (dc)
        WindowContexts()[window] = dc;
    return dc;
}

void PortableForgetWindowDC(HWND window)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    auto found = WindowContexts().find(window);
    if (found == WindowContexts().end())
        return;
    PortableRemoveGdiObject(found->second);
    WindowContexts().erase(found);
}

void PortableFillWindowDC(PlatformTable *t)
{
    t->GetDC = PortableGetDC;
    t->ReleaseDC = PortableReleaseDC;
}
