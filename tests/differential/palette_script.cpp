// A fixed sequence of palette, system-colour and colour-scheme calls that
// prints every result as "key = value", one per line, and the system palette
// after every realisation. The Windows build runs it against real GDI, the
// native build against the portable model; compare_outputs.sh diffs the two.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

int sysColorChanges[2]; // WM_SYSCOLORCHANGE seen by each of the two windows
HWND windows[2];

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < 2; ++i)
        if (message == WM_SYSCOLORCHANGE && window == windows[i])
            ++sysColorChanges[i];
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

void Print(const char *key, const std::string &value)
{
    printf("%s = %s\n", key, value.c_str());
}

void Print(const char *key, long long value)
{
    printf("%s = %lld\n", key, value);
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
        if (withFlags) {
            snprintf(one, sizeof one, "/%x", entries[i].peFlags);
            text += one;
        }
    }
    return text;
}

// The names the script gives its palettes, so results print the same on
// both builds whatever the handle numbers.
struct Names {
    HPALETTE stock, a, b, c;
    std::string Of(HPALETTE handle) const
    {
        if (!handle)
            return "null";
        if (handle == stock)
            return "stock";
        if (handle == a)
            return "A";
        if (handle == b)
            return "B";
        if (handle == c)
            return "C";
        return "other";
    }
} names;

// The system palette, 16 entries a line.
void DumpSystemPalette(HDC dc, const char *after)
{
    PALETTEENTRY entries[256];
    memset(entries, 0xEE, sizeof entries);
    const UINT got = platform.GetSystemPaletteEntries(dc, 0, 256, entries);
    char key[96];
    snprintf(key, sizeof key, "syspal[%s].count", after);
    Print(key, got);
    for (unsigned row = 0; row < 256 && got == 256; row += 16) {
        snprintf(key, sizeof key, "syspal[%s].%03u", after, row);
        Print(key, Entries(entries + row, 16, false));
    }
}

void Realize(HDC dc, const char *label)
{
    char key[96];
    snprintf(key, sizeof key, "realize[%s]", label);
    Print(key, static_cast<int>(platform.RealizePalette(dc)));
    DumpSystemPalette(dc, label);
}

void Select(HDC dc, HPALETTE palette, BOOL background, const char *label)
{
    char key[96];
    snprintf(key, sizeof key, "select[%s]", label);
    Print(key, names.Of(platform.SelectPalette(dc, palette, background)));
}

std::vector<unsigned char> PaletteBlock(unsigned count, WORD version = 0x300)
{
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + (count ? count : 1) * sizeof(PALETTEENTRY), 0);
    auto *palette = reinterpret_cast<LOGPALETTE *>(block.data());
    palette->palVersion = version;
    palette->palNumEntries = static_cast<WORD>(count);
    return block;
}

LOGPALETTE *AsPalette(std::vector<unsigned char> &block)
{
    return reinterpret_cast<LOGPALETTE *>(block.data());
}

HPALETTE MakePalette(const std::vector<PALETTEENTRY> &entries)
{
    auto block = PaletteBlock(static_cast<unsigned>(entries.size()));
    std::copy(entries.begin(), entries.end(), AsPalette(block)->palPalEntry);
    return platform.CreatePalette(AsPalette(block));
}

void DeviceAndStockPalette(HDC dc)
{
    Print("caps.rastercaps.palette", (platform.GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) ? 1 : 0);
    Print("caps.sizepalette", platform.GetDeviceCaps(dc, SIZEPALETTE));
    Print("caps.numreserved", platform.GetDeviceCaps(dc, NUMRESERVED));
    Print("caps.bitspixel", platform.GetDeviceCaps(dc, BITSPIXEL));
    Print("caps.colorres", platform.GetDeviceCaps(dc, COLORRES));
    Print("syspal.use.initial", platform.GetSystemPaletteUse(dc));
    Print("syspal.size", platform.GetSystemPaletteEntries(dc, 0, 0, nullptr));

    PALETTEENTRY entries[32];
    Print("stock.count", platform.GetPaletteEntries(names.stock, 0, 0, nullptr));
    const UINT got = platform.GetPaletteEntries(names.stock, 0, 20, entries);
    Print("stock.read", got);
    Print("stock.entries", Entries(entries, got <= 20 ? got : 0));
    Print("stock.read.clipped", platform.GetPaletteEntries(names.stock, 18, 5, entries));
    Print("stock.read.past", platform.GetPaletteEntries(names.stock, 20, 1, entries));
    Print("stock.delete", platform.DeleteObject(names.stock));
    Print("stock.count.after.delete", platform.GetPaletteEntries(names.stock, 0, 0, nullptr));
}

void CreationRules()
{
    auto badVersion = PaletteBlock(4, 0x200);
    auto empty = PaletteBlock(0);
    auto one = PaletteBlock(1);
    struct Case {
        const char *key;
        LOGPALETTE *block;
    } cases[] = {{"create.version.0x200", AsPalette(badVersion)},
                 {"create.count.0", AsPalette(empty)},
                 {"create.count.1", AsPalette(one)},
                 {"create.null", nullptr}};
    for (const Case &c : cases) {
        HPALETTE made = platform.CreatePalette(c.block);
        Print(c.key, made ? "made" : "null");
        if (made)
            platform.DeleteObject(made);
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
    Print("A.count", platform.GetPaletteEntries(names.a, 0, 0, nullptr));
    const UINT got = platform.GetPaletteEntries(names.a, 0, 16, entries);
    Print("A.entries", Entries(entries, got <= 16 ? got : 0));
    const PALETTEENTRY changed[4] = {{7, 7, 7, 0}, {8, 8, 8, PC_NOCOLLAPSE}, {9, 9, 9, PC_RESERVED}, {10, 10, 10, 0}};
    Print("A.set.inside", platform.SetPaletteEntries(names.a, 11, 2, changed));
    Print("A.set.clipped", platform.SetPaletteEntries(names.a, 14, 4, changed));
    Print("A.set.past", platform.SetPaletteEntries(names.a, 16, 1, changed));
    Print("A.get.clipped", platform.GetPaletteEntries(names.a, 10, 10, entries));
    Print("A.get.clipped.entries", Entries(entries, 6));
    Print("A.get.past", platform.GetPaletteEntries(names.a, 16, 1, entries));
    Print("A.unrealize", platform.UnrealizeObject(names.a));
    Print("stock.unrealize", platform.UnrealizeObject(names.stock));
    Print("stock.set", platform.SetPaletteEntries(names.stock, 0, 1, changed));
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
    Select(dc, names.b, FALSE, "B.front");
    Realize(dc, "B.front.first");
    Realize(dc, "B.front.again");

    Select(dc, names.a, TRUE, "A.back");
    Realize(dc, "A.back");

    Print("syspal.use.set.nostatic", platform.SetSystemPaletteUse(dc, SYSPAL_NOSTATIC));
    Print("syspal.use.now", platform.GetSystemPaletteUse(dc));
    Print("B.unrealize", platform.UnrealizeObject(names.b));
    Select(dc, names.b, FALSE, "B.front.nostatic");
    Realize(dc, "B.front.nostatic");

    Print("syspal.use.set.nostatic256", platform.SetSystemPaletteUse(dc, SYSPAL_NOSTATIC256));
    Print("syspal.use.set.bad", platform.SetSystemPaletteUse(dc, 7));
    Print("syspal.use.set.static", platform.SetSystemPaletteUse(dc, SYSPAL_STATIC));
    Print("syspal.use.now.static", platform.GetSystemPaletteUse(dc));
    Print("B.unrealize.static", platform.UnrealizeObject(names.b));
    Realize(dc, "B.front.static");

    Select(dc, names.stock, FALSE, "stock.front");
    Realize(dc, "stock.front");

    Print("A.unrealize.again", platform.UnrealizeObject(names.a));
    Select(dc, names.a, FALSE, "A.front");
    Realize(dc, "A.front");

    // Behind A: a plain entry like A's PC_RESERVED one may not share its
    // slot; one like A's plain entry does; a PC_NOCOLLAPSE one takes a slot.
    names.c = MakePalette({{90, 90, 90, 0}, {12, 34, 56, 0}, {99, 98, 97, PC_NOCOLLAPSE}});
    Select(dc, names.c, TRUE, "C.back");
    Realize(dc, "C.back");
    Realize(dc, "C.back.again");
    Select(dc, names.stock, FALSE, "stock.back.in");
    Print("C.delete", platform.DeleteObject(names.c));
}

void Deletion()
{
    Print("A.delete", platform.DeleteObject(names.a));
    Print("A.delete.again", platform.DeleteObject(names.a));
    Print("A.count.after.delete", platform.GetPaletteEntries(names.a, 0, 0, nullptr));
    Print("B.delete", platform.DeleteObject(names.b));
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
    Print("syscolor.set.sent", std::to_string(sysColorChanges[0]) + " " + std::to_string(sysColorChanges[1]));
    Print("syscolor.window.after.set", Hex(platform.GetSysColor(COLOR_WINDOW)));
    Print("syscolor.btnface.after.set", Hex(platform.GetSysColor(COLOR_BTNFACE)));
    const COLORREF saved[2] = {before[COLOR_WINDOW], before[COLOR_BTNFACE]};
    Print("syscolor.restore", platform.SetSysColors(2, elements, saved));
    Print("syscolor.window.restored", Hex(platform.GetSysColor(COLOR_WINDOW)));
    Pump();

    sysColorChanges[0] = sysColorChanges[1] = 0;
    Print("broadcast.post", platform.PostMessageA(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0));
    Pump();
    Print("broadcast.received", std::to_string(sysColorChanges[0]) + " " + std::to_string(sysColorChanges[1]));
}

void QueryValue(HKEY opened, const char *label, const char *name, DWORD bufferSize, bool withData)
{
    char data[64];
    memset(data, 'x', sizeof data);
    DWORD type = 99, size = bufferSize;
    const LSTATUS status =
        platform.RegQueryValueExA(opened, name, nullptr, &type, withData ? reinterpret_cast<LPBYTE>(data) : nullptr, &size);
    std::string text = std::to_string(status) + " type " + std::to_string(type) + " size " + std::to_string(size);
    if (withData && status == ERROR_SUCCESS)
        text += " \"" + std::string(data, strnlen(data, sizeof data)) + "\"";
    char key[96];
    snprintf(key, sizeof key, "reg.query[%s]", label);
    Print(key, text);
}

void ColourScheme()
{
    static const char *const valueNames[25] = {
        "Scrollbar",    "Background", "ActiveTitle",  "InactiveTitle",  "Menu",         "Window",
        "WindowFrame",  "MenuText",   "WindowText",   "TitleText",      "ActiveBorder", "InactiveBorder",
        "AppWorkspace", "Hilight",    "HilightText",  "ButtonFace",     "ButtonShadow", "GrayText",
        "ButtonText",   "InactiveTitleText", "ButtonHilight", "ButtonDkShadow", "ButtonLight", "InfoText",
        "InfoWindow"};
    struct Path {
        const char *label, *path;
    } paths[] = {{"exact", "Control Panel\\Colors"},     {"case", "control panel\\COLORS"},
                 {"slash", "Control Panel/Colors"},      {"trailing", "Control Panel\\Colors\\"},
                 {"leading", "\\Control Panel\\Colors"}, {"double", "Control Panel\\\\Colors"}, {"missing", "Control Panel\\Colours"},
                 {"parent", "Control Panel"}};
    char key[96];
    for (const Path &p : paths) {
        HKEY opened = nullptr;
        const LSTATUS status = platform.RegOpenKeyExA(HKEY_CURRENT_USER, p.path, 0, KEY_QUERY_VALUE, &opened);
        snprintf(key, sizeof key, "reg.open[%s]", p.label);
        Print(key, status);
        if (status == ERROR_SUCCESS)
            platform.RegCloseKey(opened);
    }
    HKEY colours = nullptr;
    if (platform.RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_QUERY_VALUE, &colours) !=
        ERROR_SUCCESS)
        return;
    for (const char *name : valueNames) {
        snprintf(key, sizeof key, "%s", name);
        QueryValue(colours, key, name, 64, true);
    }
    QueryValue(colours, "lowercase", "window", 64, true);
    QueryValue(colours, "size only", "Window", 0, false);
    QueryValue(colours, "short buffer", "Window", 4, true);
    QueryValue(colours, "missing", "NoSuchColour", 64, true);
    Print("reg.close", platform.RegCloseKey(colours));
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
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = platform.GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OvPaletteScript";
    if (!platform.RegisterClassA(&windowClass))
        return 2;
    windows[1] = OpenWindow("Palette script, behind");
    windows[0] = OpenWindow("Palette script");
    if (!windows[0] || !windows[1])
        return 2;
    platform.SetForegroundWindow(windows[0]);
    Pump();
    HDC dc = platform.GetDC(windows[0]);

    names.stock = static_cast<HPALETTE>(platform.GetStockObject(DEFAULT_PALETTE));
    DeviceAndStockPalette(dc);
    CreationRules();
    names.a = MakePaletteA();
    names.b = MakePaletteB();
    Print("A.made", names.a ? 1 : 0);
    Print("B.made", names.b ? 1 : 0);
    EntryRules();
    Realisations(dc);
    Deletion();
    SystemColours();
    ColourScheme();

    platform.ReleaseDC(windows[0], dc);
    platform.DestroyWindow(windows[0]);
    platform.DestroyWindow(windows[1]);
    return 0;
}
