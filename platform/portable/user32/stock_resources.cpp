// The stock icons and cursors. The host never draws them; distinct non-null
// handles are all that callers need.
#include "user32/stock_resources.h"
#include "handle_numbers.h"

namespace {

// Resource numbers pass for names, as MAKEINTRESOURCE makes them.
bool IsResourceNumber(LPCSTR name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

bool IsStockResource(HINSTANCE instance, LPCSTR name, unsigned first, unsigned last)
{
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    return !instance && IsResourceNumber(name) && id >= first && id <= last;
}

HICON WINAPI PortableLoadIconA(HINSTANCE instance, LPCSTR name)
{
    if (!IsStockResource(instance, name, 32512, 32518)) // IDI_APPLICATION .. IDI_SHIELD
        return nullptr;
    return reinterpret_cast<HICON>(kStockIconBase + reinterpret_cast<uintptr_t>(name));
}

HCURSOR WINAPI PortableLoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (!IsStockResource(instance, name, 32512, 32651)) // IDC_ARROW .. IDC_HELP
        return nullptr;
    return reinterpret_cast<HCURSOR>(kStockCursorBase + reinterpret_cast<uintptr_t>(name));
}

} // namespace

void PortableFillStockResources(PlatformTable *t)
{
    t->LoadIconA = PortableLoadIconA;
    t->LoadCursorA = PortableLoadCursorA;
}
