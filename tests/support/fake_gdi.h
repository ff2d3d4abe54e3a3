// A scripted device for the toolkit's palette and pixel-format code: the
// formats, the system palette's use, the system colours, the registry and
// the window's queue answer as a test sets them, palettes are kept here, and
// every call lands in callLog in order. As on Windows, SetSysColors sends
// WM_SYSCOLORCHANGE to the top-level windows before it returns, and a
// deleted palette can no longer be used.
#ifndef TESTS_SUPPORT_FAKE_GDI_H
#define TESTS_SUPPORT_FAKE_GDI_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tests/support/platform_script.h"

struct FakeGdi {
    std::vector<PIXELFORMATDESCRIPTOR> formats; // format n is formats[n - 1]
    int shrinkTo = -1;      // from the second description on, the count the device reports
    int failDescribeAt = 0; // this number's description fails
    int chooseAnswer = 1;
    PIXELFORMATDESCRIPTOR lastRequest{};
    int setFormat = 0; // what GetPixelFormat answers
    bool setFails = false;

    UINT systemPaletteUse = SYSPAL_STATIC; // SYSPAL_ERROR: no system palette
    UINT realized = 0;                     // what RealizePalette answers
    // [0] is the stock default palette with the usual 20 static colours.
    std::vector<std::vector<PALETTEENTRY>> palettes{
        {{0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
         {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
         {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
         {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}}};
    size_t largestBlock = 0;
    UINT allocFlags = 0; // every local block's flags, or-ed
    int blocksHeld = 0;  // local blocks not yet freed

    COLORREF sysColors[25] = {};
    bool registryOpens = true;
    std::map<std::string, std::pair<DWORD, std::string>> registry; // type, bytes as delivered

    std::vector<WORD> versions; // palVersion of each palette made
    std::vector<bool> deleted;  // by palette index
    bool unrealizeFails = false;

    std::vector<std::pair<HWND, WNDPROC>> windows; // the top-level windows
    std::vector<MSG> posted; // not yet taken; a broadcast as HWND_BROADCAST

    HPALETTE Palette(size_t index) const { return reinterpret_cast<HPALETTE>(0x5000 + 4 * index); }
    size_t IndexOf(HPALETTE palette) const { return (reinterpret_cast<uintptr_t>(palette) - 0x5000) / 4; }
    std::vector<PALETTEENTRY> &EntriesOf(HPALETTE palette) { return palettes.at(IndexOf(palette)); }
    bool Live(HPALETTE palette) const
    {
        const size_t index = IndexOf(palette);
        return index < palettes.size() && !(index < deleted.size() && deleted[index]);
    }
    int Pending(UINT message) const;
    // Hands what was posted to the windows' procedures, in order, also what
    // they post meanwhile.
    void RunPosted();
};

// A table member that logs its name and gives a fixed answer.
#define LOGGED_MEMBER(name, result, params, answer) result WINAPI Logged##name params { LogCall(#name); return answer; }

// Puts the fake's members into `platform`; a ScopedPlatform restores them.
void InstallFakeGdi(FakeGdi *fake);

#endif
