#include "advapi32/colour_scheme.h"

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

} // namespace

COLORREF PortableStandardColour(int element)
{
    return element >= 0 && element < kSystemColourCount ? kStandardScheme[element] : 0;
}
