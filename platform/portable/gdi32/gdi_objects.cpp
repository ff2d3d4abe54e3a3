// GDI objects: the registry, the stock objects, and the two calls that work
// on any kind, SelectObject and DeleteObject.
#include "gdi32/gdi_objects.h"

#include "handle_map.h"

const PALETTEENTRY kStaticColours[kStaticColourCount] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},   {128, 128, 0, 0}, {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};

namespace {

// Stock numbers past the last GetStockObject index, for objects only the
// platform hands out.
constexpr int kStockBitmapIndex = 64;

using GdiObjects = PortableHandleMap<HGDIOBJ, std::unique_ptr<PortableGdiObject>>;

HGDIOBJ StockHandle(int index)
{
    return reinterpret_cast<HGDIOBJ>(kStockObjectBase + 4 * static_cast<uintptr_t>(index));
}

void AddStock(GdiObjects &objects, int index, PortableGdiKind kind)
{
    objects.Insert(StockHandle(index), std::make_unique<PortableGdiObject>(kind, true));
}

GdiObjects &Objects()
{
    static GdiObjects *objects = [] {
        auto *made = new GdiObjects;
        for (int brush = WHITE_BRUSH; brush <= NULL_BRUSH; ++brush)
            AddStock(*made, brush, PortableGdiKind::Brush);
        for (int pen = WHITE_PEN; pen <= NULL_PEN; ++pen)
            AddStock(*made, pen, PortableGdiKind::Pen);
        made->Insert(StockHandle(DEFAULT_PALETTE),
                     std::make_unique<PortablePalette>(
                         std::vector<PALETTEENTRY>(kStaticColours, kStaticColours + kStaticColourCount), true));
        AddStock(*made, kStockBitmapIndex, PortableGdiKind::Bitmap);
        return made;
    }();
    return *objects;
}

PortableGdiObject *Find(HGDIOBJ handle)
{
    std::unique_ptr<PortableGdiObject> *found = Objects().FindLocked(handle);
    return found ? found->get() : nullptr;
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
    return Objects().Lock();
}

HGDIOBJ PortableAddGdiObject(std::unique_ptr<PortableGdiObject> object)
{
    return Objects().AddLocked(std::move(object));
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

PortablePalette *PortableFindPalette(HGDIOBJ handle)
{
    return static_cast<PortablePalette *>(PortableFindGdiObject(handle, PortableGdiKind::Palette));
}

void PortableRemoveGdiObject(HGDIOBJ handle)
{
    const PortableGdiObject *found = Find(handle);
    if (found && !found->stock)
        Objects().EraseLocked(handle);
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

HWND PortableWindowOfDC(HDC dc)
{
    std::lock_guard<std::mutex> hold(PortableGdiLock());
    const auto *found = static_cast<const PortableDeviceContext *>(PortableFindGdiObject(dc, PortableGdiKind::WindowDC));
    return found ? found->window : nullptr;
}

void PortableFillGdiObjects(PlatformTable *t)
{
    t->GetStockObject = PortableGetStockObject;
    t->SelectObject = PortableSelectObject;
    t->DeleteObject = PortableDeleteObject;
}
