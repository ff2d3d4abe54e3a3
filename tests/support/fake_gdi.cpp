#include "tests/support/fake_gdi.h"

#include <ctype.h>
#include <string.h>

#include "tests/support/platform_script.h"

namespace {

FakeGdi *fake = nullptr;
HKEY const kColoursKey = reinterpret_cast<HKEY>(0x7000);
constexpr uintptr_t kFirstPalette = 0x5000;
HPALETTE selected = nullptr;
int describeCalls = 0;

std::string Lower(std::string text)
{
    for (char &c : text)
        c = char(tolower(static_cast<unsigned char>(c)));
    return text;
}

int WINAPI GetPixelFormatFake(HDC) { return fake->setFormat; }

int WINAPI DescribeFake(HDC, int n, UINT size, PIXELFORMATDESCRIPTOR *out)
{
    LogCall("DescribePixelFormat");
    const int count = ++describeCalls > 1 && fake->shrinkTo >= 0 ? fake->shrinkTo : int(fake->formats.size());
    if (n < 1 || n > int(fake->formats.size()) || n == fake->failDescribeAt)
        return 0;
    if (out)
        memcpy(out, &fake->formats[size_t(n - 1)], size < sizeof *out ? size : sizeof *out);
    return count;
}

int WINAPI ChooseFake(HDC, const PIXELFORMATDESCRIPTOR *request)
{
    fake->lastRequest = *request;
    return fake->chooseAnswer;
}

BOOL WINAPI SetFormatFake(HDC, int n, const PIXELFORMATDESCRIPTOR *)
{
    LogCall("SetPixelFormat");
    if (fake->setFails)
        return FALSE;
    fake->setFormat = n;
    return TRUE;
}

HPALETTE WINAPI CreatePaletteFake(const LOGPALETTE *block)
{
    LogCall("CreatePalette");
    fake->palettes.emplace_back(block->palPalEntry, block->palPalEntry + block->palNumEntries);
    return fake->Palette(fake->palettes.size() - 1);
}

UINT WINAPI SetEntriesFake(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY *entries)
{
    std::vector<PALETTEENTRY> &held = fake->EntriesOf(palette);
    if (start >= held.size())
        return 0;
    count = count < held.size() - start ? count : UINT(held.size() - start);
    memcpy(&held[start], entries, count * sizeof *entries);
    return count;
}

UINT WINAPI GetEntriesFake(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries)
{
    std::vector<PALETTEENTRY> &held = fake->EntriesOf(palette);
    if (!entries)
        return UINT(held.size());
    if (start >= held.size())
        return 0;
    count = count < held.size() - start ? count : UINT(held.size() - start);
    memcpy(entries, &held[start], count * sizeof *entries);
    return count;
}

void WINAPI NoSleep(DWORD) {}
LOGGED_MEMBER(DeleteObject, BOOL, (HGDIOBJ), TRUE)
LOGGED_MEMBER(RealizePalette, UINT, (HDC), fake->realized)
LOGGED_MEMBER(UnrealizeObject, BOOL, (HGDIOBJ), TRUE)
LOGGED_MEMBER(RegCloseKey, LSTATUS, (HKEY), ERROR_SUCCESS)

HGDIOBJ WINAPI StockFake(int index) { return index == DEFAULT_PALETTE ? fake->Palette(0) : nullptr; }


HPALETTE WINAPI SelectFake(HDC, HPALETTE palette, BOOL background)
{
    LogCall(background ? "SelectPalette background" : "SelectPalette");
    HPALETTE previous = selected ? selected : fake->Palette(0);
    selected = palette;
    return previous;
}



UINT WINAPI SystemUseFake(HDC, UINT use)
{
    LogCall(use == SYSPAL_STATIC ? "SetSystemPaletteUse static" : "SetSystemPaletteUse nostatic");
    if (fake->systemPaletteUse == SYSPAL_ERROR)
        return SYSPAL_ERROR;
    const UINT previous = fake->systemPaletteUse;
    fake->systemPaletteUse = use;
    return previous;
}

DWORD WINAPI GetSysColorFake(int element) { return fake->sysColors[element]; }

BOOL WINAPI SetSysColorsFake(int count, const INT *elements, const COLORREF *colours)
{
    LogCall("SetSysColors");
    for (int i = 0; i < count; ++i)
        fake->sysColors[elements[i]] = colours[i];
    return TRUE;
}

BOOL WINAPI PostFake(HWND window, UINT message, WPARAM, LPARAM)
{
    if (window == HWND_BROADCAST && message == WM_SYSCOLORCHANGE)
        LogCall("broadcast WM_SYSCOLORCHANGE");
    else if (message == WM_USER)
        ++fake->pendingRealizeRequests;
    return TRUE;
}

BOOL WINAPI PeekFake(LPMSG, HWND, UINT first, UINT last, UINT)
{
    return first <= WM_USER && WM_USER <= last && fake->pendingRealizeRequests > 0;
}


LSTATUS WINAPI OpenKeyFake(HKEY root, LPCSTR path, DWORD, REGSAM, PHKEY key)
{
    if (!fake->registryOpens || root != HKEY_CURRENT_USER || Lower(path) != "control panel\\colors")
        return ERROR_FILE_NOT_FOUND;
    *key = kColoursKey;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI QueryFake(HKEY, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    auto found = fake->registry.find(name);
    if (found == fake->registry.end())
        return ERROR_FILE_NOT_FOUND;
    *type = found->second.type;
    const std::string &bytes = found->second.bytes;
    const DWORD room = *size;
    *size = DWORD(bytes.size());
    if (bytes.size() > room)
        return ERROR_MORE_DATA;
    memcpy(data, bytes.data(), bytes.size());
    return ERROR_SUCCESS;
}


HLOCAL WINAPI LocalAllocFake(UINT flags, SIZE_T bytes)
{
    fake->largestBlock = bytes > fake->largestBlock ? bytes : fake->largestBlock;
    return realPlatform.LocalAlloc(flags, bytes);
}

} // namespace

FakeGdi::FakeGdi()
{
    palettes.push_back({{0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
                        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
                        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
                        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
                        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}});
}

HPALETTE FakeGdi::Palette(size_t index) const
{
    return reinterpret_cast<HPALETTE>(kFirstPalette + 4 * index);
}

std::vector<PALETTEENTRY> &FakeGdi::EntriesOf(HPALETTE palette)
{
    return palettes.at((reinterpret_cast<uintptr_t>(palette) - kFirstPalette) / 4);
}

void InstallFakeGdi(FakeGdi *installed)
{
    fake = installed;
    selected = nullptr;
    describeCalls = 0;
    platform.GetPixelFormat = GetPixelFormatFake;
    platform.DescribePixelFormat = DescribeFake;
    platform.ChoosePixelFormat = ChooseFake;
    platform.SetPixelFormat = SetFormatFake;
    platform.CreatePalette = CreatePaletteFake;
    platform.SetPaletteEntries = SetEntriesFake;
    platform.GetPaletteEntries = GetEntriesFake;
    platform.GetStockObject = StockFake;
    platform.DeleteObject = LoggedDeleteObject;
    platform.SelectPalette = SelectFake;
    platform.RealizePalette = LoggedRealizePalette;
    platform.UnrealizeObject = LoggedUnrealizeObject;
    platform.SetSystemPaletteUse = SystemUseFake;
    platform.GetSysColor = GetSysColorFake;
    platform.SetSysColors = SetSysColorsFake;
    platform.PostMessageA = PostFake;
    platform.PeekMessageA = PeekFake;
    platform.Sleep = NoSleep;
    platform.RegOpenKeyExA = OpenKeyFake;
    platform.RegQueryValueExA = QueryFake;
    platform.RegCloseKey = LoggedRegCloseKey;
    platform.LocalAlloc = LocalAllocFake;
}
