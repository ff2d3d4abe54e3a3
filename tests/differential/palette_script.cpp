// A fixed sequence of palette, system-colour and colour-scheme calls that
// prints every result as "key = value", one per line, and the system palette
// after every realisation; then the toolkit's window with the static-colour
// takeover and a plain window taking turns to be active. The Windows build
// runs it against real GDI, the native build against the portable model;
// compare_outputs.sh diffs the two.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "toolkit/tk.h"
#include "toolkit_state.h"

namespace {

int sysColorChanges[2]; // WM_SYSCOLORCHANGE seen by each of the two windows
HWND windows[2];
HPALETTE stock, a, b, c;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < 2; ++i)
        sysColorChanges[i] += message == WM_SYSCOLORCHANGE && window == windows[i];
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

void Print(const std::string &key, const std::string &value)
{
    printf("%s = %s\n", key.c_str(), value.c_str());
}

void Print(const std::string &key, long long value)
{
    Print(key, std::to_string(value));
}

std::string Hex(unsigned value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// "rrggbb/f" per entry; without the flags for the system palette, whose
// flags GDI keeps for itself.
std::string Entries(const PALETTEENTRY *entries, unsigned count, bool withFlags = true)
{
    std::string text;
    char one[16];
    for (unsigned i = 0; i < count; ++i) {
        snprintf(one, sizeof one, "%s%02x%02x%02x", i ? " " : "", entries[i].peRed, entries[i].peGreen,
                 entries[i].peBlue);
        text += one;
        if (withFlags)
            text += "/" + std::to_string(entries[i].peFlags);
    }
    return text;
}

// The script's own names, so results print the same whatever the handles.
std::string NameOf(HPALETTE handle)
{
    const std::map<HPALETTE, const char *> names{{nullptr, "null"}, {stock, "stock"}, {a, "A"}, {b, "B"}, {c, "C"}};
    return names.count(handle) ? names.at(handle) : "other";
}

// The result, then the system palette 16 entries a line.
void Realize(HDC dc, const std::string &label)
{
    Print("realize[" + label + "]", static_cast<int>(platform.RealizePalette(dc)));
    PALETTEENTRY entries[256];
    memset(entries, 0xEE, sizeof entries);
    const UINT got = platform.GetSystemPaletteEntries(dc, 0, 256, entries);
    Print("syspal[" + label + "].count", got);
    char row[8];
    for (unsigned first = 0; first < 256 && got == 256; first += 16) {
        snprintf(row, sizeof row, ".%03u", first);
        Print("syspal[" + label + "]" + row, Entries(entries + first, 16, false));
    }
}

void Select(HDC dc, HPALETTE palette, BOOL background, const std::string &label)
{
    Print("select[" + label + "]", NameOf(platform.SelectPalette(dc, palette, background)));
}

HPALETTE MakePalette(const std::vector<PALETTEENTRY> &entries, WORD version = 0x300)
{
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto *palette = reinterpret_cast<LOGPALETTE *>(block.data());
    palette->palVersion = version;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), palette->palPalEntry);
    return platform.CreatePalette(palette);
}

void DeviceAndStockPalette(HDC dc)
{
    Print("caps.rastercaps.palette", (platform.GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) ? 1 : 0);
    for (const auto &[key, index] : {std::make_pair("caps.sizepalette", SIZEPALETTE), {"caps.numreserved", NUMRESERVED},
                                     {"caps.bitspixel", BITSPIXEL}, {"caps.colorres", COLORRES}})
        Print(key, platform.GetDeviceCaps(dc, index));
    Print("syspal.use.initial", platform.GetSystemPaletteUse(dc));
    Print("syspal.size", platform.GetSystemPaletteEntries(dc, 0, 0, nullptr));

    PALETTEENTRY entries[32];
    Print("stock.count", platform.GetPaletteEntries(stock, 0, 0, nullptr));
    const UINT got = platform.GetPaletteEntries(stock, 0, 20, entries);
    Print("stock.read", got);
    Print("stock.entries", Entries(entries, got <= 20 ? got : 0));
    Print("stock.read.clipped", platform.GetPaletteEntries(stock, 18, 5, entries));
    Print("stock.read.past", platform.GetPaletteEntries(stock, 20, 1, entries));
    Print("stock.delete", platform.DeleteObject(stock));
    Print("stock.count.after.delete", platform.GetPaletteEntries(stock, 0, 0, nullptr));
}

// Any version and any count; the entries a palette has.
void CreationRules()
{
    const std::pair<const char *, HPALETTE> made[] = {
        {"create.version.0x200", MakePalette(std::vector<PALETTEENTRY>(4), 0x200)},
        {"create.count.0", MakePalette({})},
        {"create.count.1", MakePalette({{1, 2, 3, 0}})},
        {"create.null", platform.CreatePalette(nullptr)}};
    for (const auto &[key, palette] : made) {
        Print(key, palette ? "made, " + std::to_string(platform.GetPaletteEntries(palette, 0, 0, nullptr)) : "null");
        if (palette)
            platform.DeleteObject(palette);
    }
}

// Palette A: 16 entries, a group for each flag, then a ramp.
HPALETTE MakePaletteA()
{
    return MakePalette({{255, 0, 0, 0}, {12, 34, 56, 0}, {12, 34, 56, 0}, {200, 100, 50, 0},
                        {255, 0, 0, PC_NOCOLLAPSE}, {12, 34, 56, PC_NOCOLLAPSE}, {1, 2, 3, PC_NOCOLLAPSE},
                        {90, 90, 90, PC_RESERVED}, {91, 91, 91, PC_RESERVED}, {3, 0, 0, PC_EXPLICIT},
                        {250, 0, 0, PC_EXPLICIT}, {176, 0, 79, 0}, {192, 0, 63, 0}, {208, 0, 47, 0},
                        {224, 0, 31, 0}, {240, 0, 15, 0}});
}

void EntryRules()
{
    PALETTEENTRY entries[20];
    Print("A.count", platform.GetPaletteEntries(a, 0, 0, nullptr));
    const UINT got = platform.GetPaletteEntries(a, 0, 16, entries);
    Print("A.entries", Entries(entries, got <= 16 ? got : 0));
    const PALETTEENTRY changed[4] = {{7, 7, 7, 0}, {8, 8, 8, PC_NOCOLLAPSE}, {9, 9, 9, PC_RESERVED}, {10, 10, 10, 0}};
    Print("A.set.inside", platform.SetPaletteEntries(a, 11, 2, changed));
    Print("A.set.clipped", platform.SetPaletteEntries(a, 14, 4, changed));
    Print("A.set.past", platform.SetPaletteEntries(a, 16, 1, changed));
    Print("A.get.clipped", platform.GetPaletteEntries(a, 10, 10, entries));
    Print("A.get.clipped.entries", Entries(entries, 6));
    Print("A.get.past", platform.GetPaletteEntries(a, 16, 1, entries));
    Print("A.unrealize", platform.UnrealizeObject(a));
    Print("stock.unrealize", platform.UnrealizeObject(stock));
    Print("stock.set", platform.SetPaletteEntries(stock, 0, 1, changed));
}

// Palette B: 256 entries, black and white at the ends, the rest a 3-3-2
// ramp that asks for entries of its own.
HPALETTE MakePaletteB()
{
    static const BYTE three[8] = {0, 36, 73, 109, 146, 182, 219, 255};
    static const BYTE two[4] = {0, 85, 170, 255};
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; ++i)
        entries[i] = {three[i & 7], three[(i >> 3) & 7], two[i >> 6], PC_NOCOLLAPSE};
    entries[0] = {0, 0, 0, 0};
    entries[255] = {255, 255, 255, 0};
    return MakePalette(entries);
}

void Realisations(HDC dc)
{
    Select(dc, b, FALSE, "B.front");
    Realize(dc, "B.front.first");
    Realize(dc, "B.front.again");

    Select(dc, a, TRUE, "A.back");
    Realize(dc, "A.back");

    Print("syspal.use.set.nostatic", platform.SetSystemPaletteUse(dc, SYSPAL_NOSTATIC));
    Print("syspal.use.now", platform.GetSystemPaletteUse(dc));
    Print("B.unrealize", platform.UnrealizeObject(b));
    Select(dc, b, FALSE, "B.front.nostatic");
    Realize(dc, "B.front.nostatic");

    Print("syspal.use.set.nostatic256", platform.SetSystemPaletteUse(dc, SYSPAL_NOSTATIC256));
    Print("syspal.use.set.bad", platform.SetSystemPaletteUse(dc, 7));
    Print("syspal.use.set.static", platform.SetSystemPaletteUse(dc, SYSPAL_STATIC));
    Print("syspal.use.now.static", platform.GetSystemPaletteUse(dc));
    Print("B.unrealize.static", platform.UnrealizeObject(b));
    Realize(dc, "B.front.static");

    Select(dc, stock, FALSE, "stock.front");
    Realize(dc, "stock.front");

    Print("A.unrealize.again", platform.UnrealizeObject(a));
    Select(dc, a, FALSE, "A.front");
    Realize(dc, "A.front");

    // Behind A: a plain entry like A's PC_RESERVED one may not share its
    // slot; one like A's plain entry does; a PC_NOCOLLAPSE one takes a slot.
    c = MakePalette({{90, 90, 90, 0}, {12, 34, 56, 0}, {99, 98, 97, PC_NOCOLLAPSE}});
    Select(dc, c, TRUE, "C.back");
    Realize(dc, "C.back");
    Realize(dc, "C.back.again");
    Select(dc, stock, FALSE, "stock.back.in");
    Print("C.delete", platform.DeleteObject(c));

    Print("A.delete", platform.DeleteObject(a));
    Print("A.delete.again", platform.DeleteObject(a));
    Print("A.count.after.delete", platform.GetPaletteEntries(a, 0, 0, nullptr));
    Print("B.delete", platform.DeleteObject(b));
}

void Pump()
{
    MSG message;
    for (int round = 0; round < 20; ++round) {
        while (platform.PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            platform.DispatchMessageA(&message);
        platform.Sleep(10);
    }
}

std::string ChangesSeen()
{
    return std::to_string(sysColorChanges[0]) + " " + std::to_string(sysColorChanges[1]);
}

void SystemColours()
{
    COLORREF before[25];
    std::string scheme;
    for (int i = 0; i < 25; ++i) {
        before[i] = platform.GetSysColor(i);
        scheme += (i ? " " : "") + Hex(before[i]);
    }
    Print("syscolor.all", scheme);
    Print("syscolor.past.last", Hex(platform.GetSysColor(40)));

    const INT elements[2] = {COLOR_WINDOW, COLOR_BTNFACE};
    const COLORREF colours[2] = {RGB(1, 2, 3), 0x02FFFFFF};
    sysColorChanges[0] = sysColorChanges[1] = 0;
    Print("syscolor.set", platform.SetSysColors(2, elements, colours));
    Print("syscolor.set.sent", ChangesSeen());
    Print("syscolor.window.after.set", Hex(platform.GetSysColor(COLOR_WINDOW)));
    Print("syscolor.btnface.after.set", Hex(platform.GetSysColor(COLOR_BTNFACE)));
    const COLORREF saved[2] = {before[COLOR_WINDOW], before[COLOR_BTNFACE]};
    Print("syscolor.restore", platform.SetSysColors(2, elements, saved));
    Print("syscolor.window.restored", Hex(platform.GetSysColor(COLOR_WINDOW)));
    Pump();

    sysColorChanges[0] = sysColorChanges[1] = 0;
    Print("broadcast.post", platform.PostMessageA(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0));
    Pump();
    Print("broadcast.received", ChangesSeen());
}

// Status, type, size, the text when there is one, and whether anything was
// written past the buffer offered.
void QueryValue(HKEY opened, const std::string &label, const char *name, DWORD offered, bool withData = true)
{
    char data[64];
    memset(data, 'x', sizeof data);
    DWORD type = 99, size = offered;
    const LSTATUS status = platform.RegQueryValueExA(opened, name, nullptr, &type,
                                                     withData ? reinterpret_cast<LPBYTE>(data) : nullptr, &size);
    std::string text = std::to_string(status) + " type " + std::to_string(type) + " size " + std::to_string(size);
    if (withData && status == ERROR_SUCCESS)
        text += " \"" + std::string(data, strnlen(data, sizeof data)) + "\"";
    if (offered < sizeof data && data[offered] != 'x')
        text += " written past the buffer";
    Print("reg.query[" + label + "]", text);
}

LSTATUS Open(HKEY base, const char *path, HKEY *opened)
{
    return platform.RegOpenKeyExA(base, path, 0, KEY_QUERY_VALUE, opened);
}

void ColourScheme()
{
    static const char *const valueNames[25] = {
        "Scrollbar",    "Background",        "ActiveTitle",   "InactiveTitle",  "Menu",        "Window",
        "WindowFrame",  "MenuText",          "WindowText",    "TitleText",      "ActiveBorder", "InactiveBorder",
        "AppWorkspace", "Hilight",           "HilightText",   "ButtonFace",     "ButtonShadow", "GrayText",
        "ButtonText",   "InactiveTitleText", "ButtonHilight", "ButtonDkShadow", "ButtonLight", "InfoText",
        "InfoWindow"};
    const std::pair<const char *, const char *> paths[] = {
        {"exact", "Control Panel\\Colors"},   {"case", "control panel\\COLORS"},
        {"slash", "Control Panel/Colors"},    {"trailing", "Control Panel\\Colors\\"},
        {"leading", "\\Control Panel\\Colors"}, {"double", "Control Panel\\\\Colors"},
        {"missing", "Control Panel\\Colours"}, {"parent", "Control Panel"}};
    HKEY opened = nullptr, colours = nullptr;
    for (const auto &[label, path] : paths) {
        const LSTATUS status = Open(HKEY_CURRENT_USER, path, &opened);
        Print("reg.open[" + std::string(label) + "]", status);
        if (status == ERROR_SUCCESS)
            platform.RegCloseKey(opened);
    }
    // Keys are handles of their own: one opened below another outlives it.
    Print("reg.open.parent", Open(HKEY_CURRENT_USER, "Control Panel", &opened));
    Print("reg.open.below", Open(opened, "colors", &colours));
    Print("reg.close.parent", platform.RegCloseKey(opened));
    Print("reg.close.parent.again", platform.RegCloseKey(opened));
    Print("reg.open.below.closed", Open(opened, "Colors", &opened));
    for (const char *name : valueNames)
        QueryValue(colours, name, name, 64);
    QueryValue(colours, "lowercase", "window", 64);
    QueryValue(colours, "exact size", "Background", 11);
    QueryValue(colours, "size only", "Window", 0, false);
    QueryValue(colours, "short buffer", "Background", 10);
    QueryValue(colours, "missing", "NoSuchColour", 64);
    Print("reg.close", platform.RegCloseKey(colours));
    DWORD size = 64;
    Print("reg.query.closed", platform.RegQueryValueExA(colours, "Window", nullptr, nullptr, nullptr, &size));
}

// The toolkit's window gets a 3-3-2 RGBA format that needs a palette: the
// pixel-format and context calls are scripted, since an 8-bit display offers
// GL no format; every palette and colour call is the system's.
int formatSet = 0;
int WINAPI ChooseFormat(HDC, const PIXELFORMATDESCRIPTOR *) { return 1; }
BOOL WINAPI SetFormat(HDC, int number, const PIXELFORMATDESCRIPTOR *) { return formatSet = number; }
int WINAPI GetFormat(HDC) { return formatSet; }
int WINAPI DescribeFormat(HDC, int number, UINT, PIXELFORMATDESCRIPTOR *out)
{
    *out = {};
    out->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_NEED_PALETTE;
    out->cColorBits = 8;
    out->cRedBits = out->cGreenBits = out->cGreenShift = 3;
    out->cBlueBits = 2;
    out->cBlueShift = 6;
    return number == 1;
}
HGLRC WINAPI CreateContext(HDC) { return reinterpret_cast<HGLRC>(1); }
BOOL WINAPI MakeCurrent(HDC, HGLRC) { return TRUE; }
BOOL WINAPI DeleteContext(HGLRC) { return TRUE; }

// What the toolkit selected and realised during a step.
std::string selections, realisations;
PlatformTable system;
HPALETTE WINAPI LoggedSelect(HDC dc, HPALETTE palette, BOOL background)
{
    selections += background ? " back" : " front";
    return system.SelectPalette(dc, palette, background);
}
UINT WINAPI LoggedRealize(HDC dc)
{
    const UINT realised = system.RealizePalette(dc);
    realisations += " " + std::to_string(static_cast<int>(realised));
    return realised;
}

void ActivationStep(HDC dc, const std::string &label)
{
    Pump();
    const std::string key = "activation[" + label + "]";
    Print(key + ".toolkit.active", toolkitState.windowActive);
    Print(key + ".colours.held", toolkitState.staticSaved);
    Print(key + ".syspal.use", platform.GetSystemPaletteUse(dc));
    std::string colours;
    for (int i = 0; i < 25; ++i)
        colours += (i ? " " : "") + Hex(platform.GetSysColor(i));
    Print(key + ".syscolors", colours);
    Print(key + ".selections", selections.empty() ? "none" : selections.substr(1));
    Print(key + ".realisations", realisations.empty() ? "none" : realisations.substr(1));
    selections.clear();
    realisations.clear();
}

// Opened in front, the toolkit takes the static colours; each time the
// plain window is activated it gives them back and realises behind, and it
// takes them again when activated; shut, it gives them back.
void ActivationSequence(HDC dc)
{
    system = platform;
    platform.ChoosePixelFormat = ChooseFormat;
    platform.SetPixelFormat = SetFormat;
    platform.GetPixelFormat = GetFormat;
    platform.DescribePixelFormat = DescribeFormat;
    platform.wglCreateContext = CreateContext;
    platform.wglMakeCurrent = MakeCurrent;
    platform.wglDeleteContext = DeleteContext;
    platform.SelectPalette = LoggedSelect;
    platform.RealizePalette = LoggedRealize;
    tkShowErrorBoxes(0);
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER | TKMODE_TAKE_STATIC_COLORS);
    tkPlaceWindow(40, 40, 200, 150);
    Print("activation.open", tkOpenWindow("Palette script, toolkit"));
    const HWND toolkit = toolkitState.window;
    ActivationStep(dc, "open");
    for (const char *round : {"", ".again"}) {
        platform.SetForegroundWindow(windows[1]);
        ActivationStep(dc, std::string("plain") + round);
        platform.SetForegroundWindow(toolkit);
        ActivationStep(dc, std::string("toolkit") + round);
    }
    tkShutWindow();
    ActivationStep(dc, "shut");
    platform = system;
}

HWND OpenWindow(const char *title)
{
    HWND window = platform.CreateWindowExA(0, "OvPaletteScript", title, WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr,
                                           nullptr, platform.GetModuleHandleA(nullptr), nullptr);
    if (window)
        platform.ShowWindow(window, SW_SHOW);
    return window;
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const WNDCLASSA windowClass{CS_OWNDC, CountingProc, 0, 0, platform.GetModuleHandleA(nullptr), nullptr, nullptr,
                                nullptr, nullptr, "OvPaletteScript"};
    if (!platform.RegisterClassA(&windowClass))
        return 2;
    windows[1] = OpenWindow("Palette script, behind");
    windows[0] = OpenWindow("Palette script");
    if (!windows[0] || !windows[1])
        return 2;
    platform.SetForegroundWindow(windows[0]);
    Pump();
    HDC dc = platform.GetDC(windows[0]);

    stock = static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE));
    DeviceAndStockPalette(dc);
    CreationRules();
    a = MakePaletteA();
    b = MakePaletteB();
    EntryRules();
    Realisations(dc);
    SystemColours();
    ColourScheme();
    ActivationSequence(dc);

    platform.ReleaseDC(windows[0], dc);
    platform.DestroyWindow(windows[0]);
    platform.DestroyWindow(windows[1]);
    return 0;
}
