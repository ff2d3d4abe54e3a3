// A scripted device for the toolkit's palette and pixel-format code: the
// formats, the system palette's use, the system colours, the registry and
// the window's queue answer as a test sets them, palettes are kept here, and
// every call lands in callLog in order.
#ifndef TESTS_SUPPORT_FAKE_GDI_H
#define TESTS_SUPPORT_FAKE_GDI_H

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/platform_script.h"

struct FakeRegistryValue {
    DWORD type;
    std::string bytes; // delivered as is, terminator included only if given
};

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
    std::vector<std::vector<PALETTEENTRY>> palettes; // [0] is the stock default palette
    size_t largestBlock = 0;

    COLORREF sysColors[25] = {};
    bool registryOpens = true;
    std::map<std::string, FakeRegistryValue> registry;

    int pendingRealizeRequests = 0; // WM_USER posted and not yet taken

    FakeGdi(); // the stock palette holds the usual 20 static colours
    HPALETTE Palette(size_t index) const;
    std::vector<PALETTEENTRY> &EntriesOf(HPALETTE palette);
};

// A table member that logs its name and gives a fixed answer.
#define LOGGED_MEMBER(name, result, params, answer)                                                         \
    result WINAPI Logged##name params                                                                      \
    {                                                                                                      \
        LogCall(#name);                                                                                    \
        return answer;                                                                                     \
    }

// Puts the fake's members into `platform`; a ScopedPlatform restores them.
void InstallFakeGdi(FakeGdi *fake);

#endif
