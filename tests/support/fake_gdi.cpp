#include "tests/support/fake_gdi.h"

#include <string.h>

#include <algorithm>

namespace {

FakeGdi *fake = nullptr;
HPALETTE selected = nullptr;
int describeCalls = 0;

int WINAPI GetPixelFormatFake(HDC) { return fake->setFormat; }

int WINAPI DescribeFake(HDC, int n, UINT size, PIXELFORMATDESCRIPTOR *out)
{
    LogCall("DescribePixelFormat");
    const int count = ++describeCalls > 1 && fake->shrinkTo >= 0 ? fake->shrinkTo : int(fake->formats.size());
    if (n < 1 || n > int(fake->formats.size()) || n == fake->failDescribeAt)
        return 0;
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
    if (!fake->setFails)
        fake->setFormat = n;
    return !fake->setFails;
}

HPALETTE WINAPI CreatePaletteFake(const LOGPALETTE *block)
{
    LogCall("CreatePalette");
    fake->palettes.emplace_back(block->palPalEntry, block->palPalEntry + block->palNumEntries);
    fake->versions.push_back(block->palVersion);
    return fake->Palette(fake->palettes.size() - 1);
}

// Only what lies inside the palette, as GDI does; says how much.
UINT WINAPI SetEntriesFake(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY *entries)
{
    if (!fake->Live(palette))
        return 0;
    std::vector<PALETTEENTRY> &held = fake->EntriesOf(palette);
    count = start < held.size() ? std::min(count, UINT(held.size() - start)) : 0;
    std::copy_n(entries, count, held.begin() + (count ? start : 0));
    return count;
}

UINT WINAPI GetEntriesFake(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries)
{
    if (!fake->Live(palette))
        return 0;
    const std::vector<PALETTEENTRY> &held = fake->EntriesOf(palette);
    if (!entries)
        return UINT(held.size());
    count = start < held.size() ? std::min(count, UINT(held.size() - start)) : 0;
    std::copy_n(held.begin() + (count ? start : 0), count, entries);
    return count;
}

void WINAPI NoSleep(DWORD) {}
LOGGED_MEMBER(RealizePalette, UINT, (HDC), fake->realized)
LOGGED_MEMBER(UnrealizeObject, BOOL, (HGDIOBJ palette),
              !fake->unrealizeFails && fake->Live(static_cast<HPALETTE>(palette)))
LOGGED_MEMBER(RegCloseKey, LSTATUS, (HKEY), ERROR_SUCCESS)

// The stock palette stays.
BOOL WINAPI DeleteFake(HGDIOBJ object)
{
    LogCall("DeleteObject");
    const size_t index = fake->IndexOf(static_cast<HPALETTE>(object));
    if (index > 0 && index < fake->palettes.size()) {
        fake->deleted.resize(fake->palettes.size());
        fake->deleted[index] = true;
    }
    return TRUE;
}

HGDIOBJ WINAPI StockFake(int index) { return index == DEFAULT_PALETTE ? fake->Palette(0) : nullptr; }

HPALETTE WINAPI SelectFake(HDC, HPALETTE palette, BOOL background)
{
    LogCall(background ? "SelectPalette background" : "SelectPalette");
    if (!fake->Live(palette))
        return nullptr;
    HPALETTE previous = selected ? selected : fake->Palette(0);
    selected = palette;
    return previous;
}

UINT WINAPI SystemUseFake(HDC, UINT use)
{
    LogCall(use == SYSPAL_STATIC ? "SetSystemPaletteUse static" : "SetSystemPaletteUse nostatic");
    const UINT previous = fake->systemPaletteUse;
    if (previous != SYSPAL_ERROR)
        fake->systemPaletteUse = use;
    return previous;
}

DWORD WINAPI GetSysColorFake(int element) { return fake->sysColors[element]; }

BOOL WINAPI SetSysColorsFake(int count, const INT *elements, const COLORREF *colours)
{
    LogCall("SetSysColors");
    for (int i = 0; i < count; ++i)
        fake->sysColors[elements[i]] = colours[i];
    for (const auto &[window, procedure] : fake->windows)
        procedure(window, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

BOOL WINAPI PostFake(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == HWND_BROADCAST && message == WM_SYSCOLORCHANGE)
        LogCall("broadcast WM_SYSCOLORCHANGE");
    MSG posted{};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    fake->posted.push_back(posted);
    return TRUE;
}

bool Matches(const MSG &message, HWND window, UINT first, UINT last)
{
    const bool anyKind = first == 0 && last == 0;
    return (!window || message.hwnd == window || message.hwnd == HWND_BROADCAST) &&
           (anyKind || (first <= message.message && message.message <= last));
}

BOOL WINAPI PeekFake(LPMSG out, HWND window, UINT first, UINT last, UINT flags)
{
    for (auto it = fake->posted.begin(); it != fake->posted.end(); ++it) {
        if (!Matches(*it, window, first, last))
            continue;
        *out = *it;
        if (flags & PM_REMOVE)
            fake->posted.erase(it);
        return TRUE;
    }
    return FALSE;
}

LSTATUS WINAPI OpenKeyFake(HKEY root, LPCSTR path, DWORD, REGSAM, PHKEY key)
{
    if (!fake->registryOpens || root != HKEY_CURRENT_USER || strcmp(path, "Control Panel\\Colors") != 0)
        return ERROR_FILE_NOT_FOUND;
    *key = reinterpret_cast<HKEY>(0x7000);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI QueryFake(HKEY, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    auto found = fake->registry.find(name);
    if (found == fake->registry.end())
        return ERROR_FILE_NOT_FOUND;
    *type = found->second.first;
    const std::string &bytes = found->second.second;
    const bool fits = bytes.size() <= *size;
    *size = DWORD(bytes.size());
    if (fits)
        memcpy(data, bytes.data(), bytes.size());
    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

HLOCAL WINAPI LocalAllocFake(UINT flags, SIZE_T bytes)
{
    fake->largestBlock = bytes > fake->largestBlock ? bytes : fake->largestBlock;
    fake->allocFlags |= flags;
    ++fake->blocksHeld;
    return realPlatform.LocalAlloc(flags, bytes);
}

HLOCAL WINAPI LocalFreeFake(HLOCAL block)
{
    fake->blocksHeld -= block != nullptr;
    return realPlatform.LocalFree(block);
}

} // namespace

int FakeGdi::Pending(UINT message) const
{
    int count = 0;
    for (const MSG &each : posted)
        count += each.message == message;
    return count;
}

void FakeGdi::RunPosted()
{
    for (int taken = 0; taken < 100 && !posted.empty(); ++taken) {
        const MSG message = posted.front();
        posted.erase(posted.begin());
        for (const auto &[window, procedure] : windows) {
            if (message.hwnd == window || message.hwnd == HWND_BROADCAST)
                procedure(window, message.message, message.wParam, message.lParam);
        }
    }
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
    platform.DeleteObject = DeleteFake;
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
    platform.LocalFree = LocalFreeFake;
}
