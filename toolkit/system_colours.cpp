// While the toolkit's palette holds the system palette's static entries the
// desktop's system colours are black and white; giving the entries back
// restores the user's scheme, read afresh from the registry.
#include "system_colours.h"

#include <stdio.h>
#include <string.h>

#include "platform/platform.h"
#include "toolkit_state.h"

namespace {

const char *const schemeValueNames[kSchemeRows] = {
    "Scrollbar",    "Background",     "ActiveTitle",  "InactiveTitle",     "Menu",
    "Window",       "WindowFrame",    "MenuText",     "WindowText",        "TitleText",
    "ActiveBorder", "InactiveBorder", "AppWorkspace", "Hilight",           "HilightText",
    "ButtonFace",   "ButtonShadow",   "GrayText",     "ButtonText",        "InactiveTitleText",
    "ButtonHilight", "ButtonDkShadow", "ButtonLight", "InfoText",          "InfoWindow",
};

// Row i is system-colour element i.
const INT schemeElements[kSchemeRows] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                         13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

constexpr COLORREF kWhite = PALETTERGB(255, 255, 255);
constexpr COLORREF kBlack = PALETTERGB(0, 0, 0);
const COLORREF takeoverColors[kSchemeRows] = {
    kWhite, kBlack, kBlack, kWhite, kWhite, kWhite, kBlack, kBlack, kBlack, kWhite, kWhite, kWhite, kWhite,
    kBlack, kWhite, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite, kBlack, kWhite,
};

COLORREF savedColors[kSchemeRows];
bool changingColours = false;

constexpr DWORD kValueBufferBytes = 64;

int SchemeRowsInUse()
{
    const int count = toolkitState.sysColorCount;
    return count < 0 ? 0 : count > kSchemeRows ? kSchemeRows : count;
}

// A value may fill the buffer without a terminating zero: the parse stops at
// the bytes the registry delivered.
bool ParseSchemeColour(const char *text, DWORD length, COLORREF *colour)
{
    char terminated[kValueBufferBytes + 1];
    memcpy(terminated, text, length);
    terminated[length] = '\0';
    long red = 0, green = 0, blue = 0;
    if (sscanf(terminated, "%ld %ld %ld", &red, &green, &blue) != 3)
        return false;
    *colour = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    return true;
}

void BroadcastColourChange()
{
    platform.PostMessageA(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0);
}

// SetSysColors sends WM_SYSCOLORCHANGE to the toolkit window before it returns.
void SetColours(int rows, const COLORREF *colours)
{
    changingColours = true;
    platform.SetSysColors(rows, schemeElements, colours);
    changingColours = false;
}

} // namespace

bool ReadSchemeColors(COLORREF *colours, int count)
{
    HKEY key = nullptr;
    if (platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    for (int i = 0; i < count && i < kSchemeRows; ++i) {
        char text[kValueBufferBytes];
        DWORD type = REG_NONE;
        DWORD length = sizeof text;
        if (platform.RegQueryValueExA(key, schemeValueNames[i], nullptr, &type, reinterpret_cast<LPBYTE>(text),
                                      &length) == ERROR_SUCCESS &&
            type == REG_SZ && length <= sizeof text)
            ParseSchemeColour(text, length, &colours[i]);
    }
    platform.RegCloseKey(key);
    return true;
}

bool TakeStaticColors(HDC dc)
{
    if (toolkitState.staticSaved)
        return true;
    const UINT previous = platform.SetSystemPaletteUse(dc, SYSPAL_NOSTATIC);
    if (previous != SYSPAL_STATIC) {
        // Another program holding the static entries may let them go, so try
        // again later; a device without a system palette never will.
        if (previous != SYSPAL_ERROR) {
            platform.Sleep(0);
            QueuePaletteRealize();
        }
        return false;
    }
    const int rows = SchemeRowsInUse();
    for (int i = 0; i < rows; ++i)
        savedColors[i] = platform.GetSysColor(i);
    SetColours(rows, takeoverColors);
    toolkitState.staticSaved = 1;
    BroadcastColourChange();
    return true;
}

bool ReturnStaticColors(HDC dc)
{
    if (!toolkitState.staticSaved)
        return false;
    const int rows = SchemeRowsInUse();
    ReadSchemeColors(savedColors, rows);
    SetColours(rows, savedColors);
    platform.SetSystemPaletteUse(dc, SYSPAL_STATIC);
    BroadcastColourChange();
    toolkitState.staticSaved = 0;
    return true;
}

bool ChangingSystemColours()
{
    return changingColours;
}

void QueuePaletteRealize()
{
    MSG pending;
    if (platform.PeekMessageA(&pending, toolkitState.window, kRealizePaletteRequest, kRealizePaletteRequest,
                              PM_NOREMOVE))
        return;
    platform.PostMessageA(toolkitState.window, kRealizePaletteRequest, 0, 0);
}
