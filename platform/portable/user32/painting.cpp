// Update regions as unions of rectangles in client coordinates. Nothing is
// drawn by the system: GL owns the client area, so a repaint is a message to
// the program and an erase a message to its procedure.
#include "user32/painting.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "host/wait_signal.h"
#include "user32/window_dc.h"
#include "user32/window_registry.h"

namespace {

struct UpdateRegion {
    DWORD owner = 0;
    bool paintable = false;
    bool erase = false;
    std::vector<RECT> rects; // none overlaps another wholly
};

// HostLock() held.
std::unordered_map<HWND, UpdateRegion> &Regions()
{
    static auto *regions = new std::unordered_map<HWND, UpdateRegion>;
    return *regions;
}

bool Empty(const RECT &r) { return r.right <= r.left || r.bottom <= r.top; }

bool Contains(const RECT &outer, const RECT &inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

RECT Intersection(const RECT &a, const RECT &b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

RECT Bounds(const std::vector<RECT> &rects)
{
    RECT bounds{0, 0, 0, 0};
    for (const RECT &r : rects) {
        bounds = Empty(bounds) ? r
                               : RECT{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                                      std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    return bounds;
}

void Add(std::vector<RECT> &rects, const RECT &added)
{
    if (std::any_of(rects.begin(), rects.end(), [&](const RECT &r) { return Contains(r, added); }))
        return;
    rects.erase(std::remove_if(rects.begin(), rects.end(), [&](const RECT &r) { return Contains(added, r); }),
                rects.end());
    rects.push_back(added);
}

// The client rectangle as the owner last saw it; empty when minimised.
bool ClientOf(HWND window, RECT *client, DWORD *owner)
{
    return PortableVisitWindow(window, [&](PortableWindow &found) {
        *client = found.minimized ? RECT{0, 0, 0, 0} : RECT{0, 0, found.clientWidth, found.clientHeight};
        *owner = found.owner;
    });
}

// Takes the region away; the bounding rectangle and whether an erase was due.
bool Validate(HWND window, RECT *bounds, bool *erase)
{
    std::lock_guard<std::mutex> hold(HostLock());
    auto found = Regions().find(window);
    if (found == Regions().end())
        return false;
    *bounds = Bounds(found->second.rects);
    *erase = found->second.erase;
    found->second.rects.clear();
    found->second.erase = false;
    return true;
}

BOOL WINAPI PortableInvalidateRect(HWND window, const RECT *rect, BOOL erase)
{
    if (window)
        return PortableInvalidate(window, rect, erase != FALSE);
    // Null asks for every window to be repainted.
    std::vector<HWND> all;
    PortableVisitWindows([&](PortableWindow &each) { all.push_back(each.handle); });
    for (HWND each : all)
        PortableInvalidate(each, nullptr, erase != FALSE);
    return TRUE;
}

BOOL WINAPI PortableGetUpdateRect(HWND window, LPRECT rect, BOOL erase)
{
    RECT bounds{0, 0, 0, 0};
    bool erasePending = false;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        auto found = Regions().find(window);
        if (found != Regions().end()) {
            bounds = Bounds(found->second.rects);
            erasePending = found->second.erase && !Empty(bounds);
        }
    }
    if (rect)
        *rect = bounds;
    if (erase && erasePending)
        PortableEraseNow(window);
    return !Empty(bounds);
}

} // namespace

HDC WINAPI PortableBeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    if (!paint || !PortableFindOwnedWindow(window))
        return nullptr;
    RECT bounds{0, 0, 0, 0};
    bool erase = false;
    Validate(window, &bounds, &erase);
    *paint = PAINTSTRUCT{};
    paint->hdc = PortableWindowDC(window);
    paint->rcPaint = bounds;
    // fErase tells the program the background is still to be erased.
    if (erase) {
        WNDPROC procedure = PortableWindowProc(window);
        paint->fErase = !(procedure && procedure(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0));
    }
    return paint->hdc;
}

namespace {

BOOL WINAPI PortableEndPaint(HWND, const PAINTSTRUCT *)
{
    return TRUE;
}

} // namespace

bool PortableInvalidate(HWND window, const RECT *rect, bool erase)
{
    RECT client;
    DWORD owner = 0;
    if (!ClientOf(window, &client, &owner))
        return false;
    const RECT marked = rect ? Intersection(*rect, client) : client;
    if (Empty(marked))
        return true;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        UpdateRegion &region = Regions()[window];
        region.owner = owner;
        region.erase = region.erase || erase;
        Add(region.rects, marked);
    }
    HostSignal().notify_all();
    return true;
}

void PortableEraseNow(HWND window)
{
    WNDPROC procedure = PortableFindOwnedWindow(window) ? PortableWindowProc(window) : nullptr;
    if (!procedure)
        return;
    {
        std::lock_guard<std::mutex> hold(HostLock());
        auto found = Regions().find(window);
        if (found == Regions().end() || !found->second.erase || found->second.rects.empty())
            return;
        found->second.erase = false;
    }
    procedure(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(PortableWindowDC(window)), 0);
}

void PortableSetPaintable(HWND window, bool paintable)
{
    const DWORD owner = PortableWindowOwner(window);
    {
        std::lock_guard<std::mutex> hold(HostLock());
        UpdateRegion &region = Regions()[window];
        region.owner = owner;
        region.paintable = paintable;
    }
    HostSignal().notify_all();
}

void PortableInvalidateResized(HWND window, UINT classStyle, int oldWidth, int oldHeight, int newWidth,
                               int newHeight)
{
    if (((classStyle & CS_HREDRAW) && newWidth != oldWidth) || ((classStyle & CS_VREDRAW) && newHeight != oldHeight)) {
        PortableInvalidate(window, nullptr, true);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(HostLock());
        auto found = Regions().find(window);
        if (found != Regions().end()) {
            const RECT client{0, 0, newWidth, newHeight};
            std::vector<RECT> kept;
            for (const RECT &r : found->second.rects) {
                const RECT inside = Intersection(r, client);
                if (!Empty(inside))
                    Add(kept, inside);
            }
            found->second.rects = kept;
        }
    }
    const RECT right{oldWidth, 0, newWidth, newHeight};
    const RECT below{0, oldHeight, newWidth, newHeight};
    PortableInvalidate(window, &right, true);
    PortableInvalidate(window, &below, true);
}

HWND PortableFindPaint(DWORD thread, HWND window)
{
    for (const auto &entry : Regions()) {
        const UpdateRegion &region = entry.second;
        if (region.owner == thread && region.paintable && !region.rects.empty() && (!window || entry.first == window))
            return entry.first;
    }
    return nullptr;
}

void PortableForgetPaint(HWND window)
{
    std::lock_guard<std::mutex> hold(HostLock());
    Regions().erase(window);
}

void PortableFillPainting(PlatformTable *t)
{
    t->InvalidateRect = PortableInvalidateRect;
    t->GetUpdateRect = PortableGetUpdateRect;
    t->BeginPaint = PortableBeginPaint;
    t->EndPaint = PortableEndPaint;
}
