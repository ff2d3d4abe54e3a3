// System colours: the user's scheme to start with, changed by SetSysColors
// for the whole desktop, which every top-level window hears of through
// WM_SYSCOLORCHANGE.
#include <mutex>

#include "advapi32/colour_scheme.h"
#include "user32/system_colours.h"
#include "user32/message_queue.h"

namespace {

struct Colours {
    std::mutex lock;
    COLORREF current[kSystemColourCount];
};

Colours &TheColours()
{
    static auto *colours = [] {
        auto *made = new Colours;
        for (int i = 0; i < kSystemColourCount; ++i)
            made->current[i] = PortableStandardColour(i);
        return made;
    }();
    return *colours;
}

bool IsElement(int element)
{
    return element >= 0 && element < kSystemColourCount;
}

DWORD WINAPI PortableGetSysColor(int element)
{
    if (!IsElement(element))
        return 0;
    std::lock_guard<std::mutex> hold(TheColours().lock);
    return TheColours().current[element];
}

// Values are kept as given, palette-relative ones included; unknown
// elements are passed over.
BOOL WINAPI PortableSetSysColors(int count, const INT *elements, const COLORREF *colours)
{
    if (count < 0 || (count > 0 && (!elements || !colours)))
        return FALSE;
    {
        std::lock_guard<std::mutex> hold(TheColours().lock);
        for (int i = 0; i < count; ++i)
            if (IsElement(elements[i]))
                TheColours().current[elements[i]] = colours[i];
    }
    PortableSendToTopLevelWindows(WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

} // namespace

void PortableFillSystemColours(PlatformTable *t)
{
    t->GetSysColor = PortableGetSysColor;
    t->SetSysColors = PortableSetSysColors;
}
