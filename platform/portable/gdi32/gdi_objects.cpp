// GDI objects: the registry, the stock objects, and the two calls that work
// on any kind, SelectObject and DeleteObject.
#include "gdi32/gdi_objects.h"

#include <unordered_map>

#include "fill_table.h"
#include "gdi32/palettes.h"
#include "handle_numbers.h"

namespace {

// Stock numbers past the last GetStockObject index, for objects only the
// platform hands out.
constexpr int kStockBitmapIndex = 64;

struct GdiObjects {
    std::mutex lock;
    std::unordered_map<HGDIOBJ, std::unique_ptr<PortableGdiObject>> live;
};

HGDIOBJ StockHandle(int index)
{
    return reinterpret_cast<HGDIOBJ>(kStockObjectBase + 4 * static_cast<uintptr_t>(index));
}

void AddStock(GdiObjects &objects, int index, PortableGdiKind kind)
{
    objects.live.emplace(StockHandle(index), std::make_unique<PortableGdiObject>(kind, true));
}

GdiObjects &Objects()
{
    static GdiObjects *objects = [] {
        auto *made = new GdiObjects; // outlives windows destroyed at exit
        for (int brush = WHITE_BRUSH; brush <= NULL_BRUSH; ++brush)
            AddStock(*made, brush, PortableGdiKind::Brush);
        for (int pen = WHITE_PEN; pen <= NULL_PEN; ++pen)
            AddStock(*made, pen, PortableGdiKind::Pen);
        made->live.emplace(StockHandle(DEFAULT_PALETTE), PortableMakeStockPalette());
        AddStock(*made, kStockBitmapIndex, PortableGdiKind::Bitmap);
        return made;
    }();
    return *objects;
}

PortableGdiObject *Find(HGDIOBJ handle)
{
    auto found = Objects().live.find(handle);
    return found == Objects().live.end() ? nullptr : found->second.get();
}

HGDIOBJ WINAPI PortableGetStockObject(int index)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    return index != kStockBitmapIndex && Find(StockHandle(index)) ? StockHandle(index) : nullptr;
}

// The slot of the context that an object of this kind goes into, or null for
// a kind SelectObject does not take (palettes go through SelectPalette).
HGDIOBJ *SlotFor(PortableDeviceContext &context, const PortableGdiObject &object)
{
    switch (object.kind) {
    case PortableGdiKind::Bitmap: return context.kind == PortableGdiKind::MemoryDC ? &context.bitmap : nullptr;
    case PortableGdiKind::Brush: return &context.brush;
    case PortableGdiKind::Pen: return &context.pen;
    default: return nullptr;
    }
}

HGDIOBJ WINAPI PortableSelectObject(HDC dc, HGDIOBJ handle)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    PortableDeviceContext *context = PortableFindDeviceContext(dc);
    PortableGdiObject *object = Find(handle);
    HGDIOBJ *slot = context && object ? SlotFor(*context, *object) : nullptr;
    if (!slot)
        return nullptr;
    const bool isBitmap = object->kind == PortableGdiKind::Bitmap;
    if (isBitmap && !object->stock && object->selectedInto && object->selectedInto != dc)
        return nullptr;
    const HGDIOBJ previous = *slot;
    if (isBitmap) {
        if (PortableGdiObject *old = Find(previous))
            old->selectedInto = nullptr;
        object->selectedInto = dc;
    }
    *slot = handle;
    return previous;
}

// A bitmap still selected into a context is not deleted, as with GDI. A
// memory context is, as by DeleteDC; a window's goes back through ReleaseDC.
BOOL WINAPI PortableDeleteObject(HGDIOBJ handle)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    PortableGdiObject *object = Find(handle);
    if (object && object->kind == PortableGdiKind::MemoryDC)
        return PortableDeleteMemoryContext(static_cast<HDC>(handle));
    if (!object || object->kind == PortableGdiKind::WindowDC)
        return FALSE;
    if (object->stock)
        return TRUE;
    if (object->selectedInto)
        return FALSE;
    PortableRemoveGdiObject(handle);
    return TRUE;
}

} // namespace

PortableDeviceContext::PortableDeviceContext(PortableGdiKind what, HWND owner)
    : PortableGdiObject(what, false), window(owner), bitmap(what == PortableGdiKind::MemoryDC ? PortableStockBitmap() : nullptr),
      brush(StockHandle(WHITE_BRUSH)), pen(StockHandle(BLACK_PEN)), palette(StockHandle(DEFAULT_PALETTE))
{
}

std::mutex &PortableGdiLock()
{
    return Objects().lock;
}

HGDIOBJ PortableAddGdiObject(std::unique_ptr<PortableGdiObject> object)
{
    const HGDIOBJ handle = PortableNewHandle<HGDIOBJ>();
    try {
        Objects().live.emplace(handle, std::move(object));
    } catch (...) {
        return nullptr;
    }
    return handle;
}

PortableGdiObject *PortableFindGdiObject(HGDIOBJ handle, PortableGdiKind kind)
{
    PortableGdiObject *object = Find(handle);
    return object && object->kind == kind ? object : nullptr;
}

PortableDeviceContext *PortableFindDeviceContext(HDC handle)
{
    PortableGdiObject *object = Find(handle);
    if (!object || (object->kind != PortableGdiKind::WindowDC && object->kind != PortableGdiKind::MemoryDC))
        return nullptr;
    return static_cast<PortableDeviceContext *>(object);
}

void PortableRemoveGdiObject(HGDIOBJ handle)
{
    auto found = Objects().live.find(handle);
    if (found != Objects().live.end() && !found->second->stock)
        Objects().live.erase(found);
}

bool PortableDeleteMemoryContext(HDC handle)
{
    auto *context = static_cast<PortableDeviceContext *>(PortableFindGdiObject(handle, PortableGdiKind::MemoryDC));
    if (context == nullptr)
        return false;
    if (PortableGdiObject *bitmap = Find(context->bitmap))
        bitmap->selectedInto = nullptr;
    PortableRemoveGdiObject(handle);
    return true;
}

HGDIOBJ PortableStockBitmap()
{
    return StockHandle(kStockBitmapIndex);
}

void PortableFillGdiObjects(PlatformTable *t)
{
    t->GetStockObject = PortableGetStockObject;
    t->SelectObject = PortableSelectObject;
    t->DeleteObject = PortableDeleteObject;
}
