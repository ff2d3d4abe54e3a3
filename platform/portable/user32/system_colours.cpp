// System colours: the standard scheme to start with, changed by SetSysColors
// for the whole desktop, which every top-level window hears of through
// WM_SYSCOLORCHANGE.
#include "user32/system_colours.h"

#include <mutex>

#include "fill_table.h"
#include "user32/message_queue.h"

namespace {

// Wine's default scheme, element by element.
constexpr COLORREF kStandardScheme[kSystemColourCount] = {
    RGB(255, 255, 255), // COLOR_SCROLLBAR
    RGB(37, 111, 149),  // COLOR_BACKGROUND
    RGB(50, 150, 250),  // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(255, 255, 255), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(158, 158, 158), // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(0, 0, 0),       // COLOR_CAPTIONTEXT
    RGB(255, 255, 255), // COLOR_ACTIVEBORDER
    RGB(255, 255, 255), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(48, 150, 250),  // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(245, 245, 245), // COLOR_BTNFACE
    RGB(166, 166, 166), // COLOR_BTNSHADOW
    RGB(166, 166, 166), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(200, 200, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(106, 106, 106), // COLOR_3DDKSHADOW
    RGB(227, 227, 227), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 255), // COLOR_INFOBK
};

struct Colours {
    std::mutex lock;
    COLORREF current[kSystemColourCount];
};

Colours &TheColours()
{
    static auto *colours = [] {
        auto *made = new Colours;
        for (int i = 0; i < kSystemColourCount; ++i)
            made->current[i] = kStandardScheme[i];
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

COLORREF PortableStandardColour(int element)
{
    return IsElement(element) ? kStandardScheme[element] : 0;
}

void PortableFillSystemColours(PlatformTable *t)
{
    t->GetSysColor = PortableGetSysColor;
    t->SetSysColors = PortableSetSysColors;
}
