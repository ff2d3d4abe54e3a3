// A toolkit window that exists only as handles, on the scripted device.
#ifndef TESTS_TOOLKIT_PALETTE_FIXTURE_H
#define TESTS_TOOLKIT_PALETTE_FIXTURE_H

#include <gtest/gtest.h>

#include "tests/support/fake_gdi.h"
#include "tests/support/platform_script.h"
#include "toolkit_state.h"
#include "window_procedure.h"

inline PIXELFORMATDESCRIPTOR Format(BYTE type, BYTE colourBits, DWORD flags = 0)
{
    PIXELFORMATDESCRIPTOR d{};
    d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | flags;
    d.iPixelType = type;
    d.cColorBits = colourBits;
    return d;
}

// An 8-bit RGBA format with red in bits 0-2, green 3-5, blue 6-7.
inline PIXELFORMATDESCRIPTOR ThreeThreeTwo(DWORD flags = PFD_NEED_PALETTE)
{
    PIXELFORMATDESCRIPTOR d = Format(PFD_TYPE_RGBA, 8, flags);
    d.cRedBits = d.cGreenBits = d.cGreenShift = 3;
    d.cBlueBits = 2;
    d.cBlueShift = 6;
    return d;
}

class ScriptedWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = toolkitState;
        InstallFakeGdi(&gdi);
        Handles(); // the rest of the record as a program starts
        gdi.windows = {{toolkitState.window, ToolkitWindowProc}};
    }
    void TearDown() override
    {
        toolkitState = saved_;
        EXPECT_EQ(gdi.blocksHeld, 0) << "a local block not given back";
    }

    // An open window, the active one.
    void Handles()
    {
        toolkitState.window = reinterpret_cast<HWND>(0x100);
        toolkitState.deviceContext = reinterpret_cast<HDC>(0x200);
        toolkitState.renderContext = reinterpret_cast<HGLRC>(0x300);
        toolkitState.windowActive = 1;
    }
    // The window's format, set already; no palette made for it yet.
    void UseFormat(const PIXELFORMATDESCRIPTOR &format)
    {
        gdi.formats = {format};
        gdi.setFormat = 1;
        toolkitState.palette = nullptr;
    }
    const std::vector<PALETTEENTRY> &Made() { return gdi.EntriesOf(toolkitState.palette); }

    ScopedPlatform scoped_;
    FakeGdi gdi;
    ToolkitState saved_;
};

inline bool operator==(const PALETTEENTRY &a, const PALETTEENTRY &b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue && a.peFlags == b.peFlags;
}

#endif
