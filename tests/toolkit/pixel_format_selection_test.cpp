// The three policies: the request handed to the platform, the exact search
// over a scripted list of formats, an explicit number, and their failures.
#include "tests/toolkit/palette_fixture.h"
#include "toolkit/pixel_format_selection.h"

namespace {

using PixelFormats = ScriptedWindowTest;

PIXELFORMATDESCRIPTOR Rgba(BYTE colour, BYTE alpha, BYTE accum, BYTE depth, BYTE stencil, DWORD flags = 0)
{
    PIXELFORMATDESCRIPTOR d = Format(PFD_TYPE_RGBA, colour, flags);
    d.cAlphaBits = alpha;
    d.cAccumBits = d.cAccumAlphaBits = accum;
    d.cDepthBits = depth;
    d.cStencilBits = stencil;
    return d;
}

TEST_F(PixelFormats, TheRequestFollowsEachFlag)
{
    struct Case {
        uint32_t flags;
        DWORD dwFlags;
        BYTE type, colour, alpha, accum, depth, stencil;
    };
    const DWORD base = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    const Case cases[] = {
        {TKMODE_RGBA, base, PFD_TYPE_RGBA, 24, 0, 0, 0, 0},
        {TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER, base | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 24, 0, 0, 24, 0},
        {TKMODE_ALPHA | TKMODE_ACCUM_BUFFER, base, PFD_TYPE_RGBA, 24, 8, 32, 0, 0},
        {TKMODE_COLOR_INDEX | TKMODE_ALPHA | TKMODE_ACCUM_BUFFER, base, PFD_TYPE_COLORINDEX, 8, 8, 16, 0, 0},
        {TKMODE_COLOR_INDEX | TKMODE_ACCUM_BUFFER, base, PFD_TYPE_COLORINDEX, 8, 0, 8, 0, 0},
        {TKMODE_SHALLOW_DEPTH | TKMODE_DEPTH_BUFFER | TKMODE_STENCIL_BUFFER, base, PFD_TYPE_RGBA, 24, 0, 0, 16, 4},
        {TKMODE_SHALLOW_DEPTH | 0x084, base, PFD_TYPE_RGBA, 24, 0, 0, 16, 0}, // ignored bits
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.flags);
        PIXELFORMATDESCRIPTOR out;
        gdi.chooseAnswer = 7;
        EXPECT_EQ(RequestClosestFormat(nullptr, each.flags, &out), 7);
        const PIXELFORMATDESCRIPTOR &r = gdi.lastRequest;
        EXPECT_EQ(memcmp(&out, &r, sizeof r), 0);
        EXPECT_EQ(r.nSize, 40);
        EXPECT_EQ(r.nVersion, 1);
        EXPECT_EQ(r.dwFlags, each.dwFlags);
        EXPECT_EQ(std::vector<int>({r.iPixelType, r.cColorBits, r.cAlphaBits, r.cAccumBits, r.cDepthBits,
                                    r.cStencilBits, r.cAuxBuffers, r.iLayerType}),
                  std::vector<int>({each.type, each.colour, each.alpha, each.accum, each.depth, each.stencil, 0, 0}));
    }
}

TEST_F(PixelFormats, TheExactSearchKeepsTheDeepestMatchOfTheRightKind)
{
    const PIXELFORMATDESCRIPTOR noWindow = Rgba(32, 0, 0, 24, 0);
    PIXELFORMATDESCRIPTOR overlay = Rgba(32, 0, 0, 24, 0);
    overlay.iLayerType = 1;
    PIXELFORMATDESCRIPTOR withoutGL = overlay;
    withoutGL.iLayerType = PFD_MAIN_PLANE;
    withoutGL.dwFlags = PFD_DRAW_TO_WINDOW;
    PIXELFORMATDESCRIPTOR noAccumulatedAlpha = Rgba(32, 8, 64, 0, 0);
    noAccumulatedAlpha.cAccumAlphaBits = 0;
    PIXELFORMATDESCRIPTOR index = Format(PFD_TYPE_COLORINDEX, 8);
    index.cAlphaBits = index.cAccumBits = 8;
    index.cDepthBits = 16;
    struct Case {
        const char *why;
        uint32_t flags;
        std::vector<PIXELFORMATDESCRIPTOR> formats;
        int shrinkTo, failAt, expected;
    };
    const Case cases[] = {
        {"deepest wins, ties keep the lower", TKMODE_DEPTH_BUFFER,
         {Rgba(16, 0, 0, 16, 0), Rgba(24, 0, 0, 32, 0), Rgba(24, 0, 0, 24, 0), Rgba(32, 8, 0, 24, 0)}, -1, 0, 2},
        {"no colour bits is never kept", TKMODE_RGBA, {Rgba(0, 0, 0, 0, 0)}, -1, 0, 0},
        {"layer, window and GL support", TKMODE_DEPTH_BUFFER, {overlay, withoutGL, Rgba(16, 0, 0, 24, 0)}, -1, 0, 3},
        {"buffering", TKMODE_DOUBLE_BUFFER, {Rgba(24, 0, 0, 0, 0), Rgba(16, 0, 0, 0, 0, PFD_DOUBLEBUFFER)}, -1, 0, 2},
        {"a depth buffer where none is asked", TKMODE_RGBA, {noWindow}, -1, 0, 0},
        {"shallow depth takes any depth", TKMODE_SHALLOW_DEPTH, {Rgba(24, 0, 0, 32, 0)}, -1, 0, 1},
        {"stencil", TKMODE_STENCIL_BUFFER, {Rgba(32, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 8)}, -1, 0, 2},
        {"alpha and accumulation need accumulated alpha", TKMODE_ALPHA | TKMODE_ACCUM_BUFFER,
         {Rgba(32, 8, 0, 0, 0), noAccumulatedAlpha, Rgba(24, 8, 64, 0, 0)}, -1, 0, 3},
        {"colour index ignores alpha and accumulation", TKMODE_COLOR_INDEX | TKMODE_DEPTH_BUFFER,
         {Rgba(32, 0, 0, 24, 0), index}, -1, 0, 2},
        {"a count that shrinks ends the walk", TKMODE_RGBA,
         {Rgba(16, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 0), Rgba(32, 0, 0, 0, 0)}, 2, 0, 2},
        {"a failed description ends it with nothing", TKMODE_RGBA,
         {Rgba(16, 0, 0, 0, 0), Rgba(32, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 0)}, -1, 3, 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.why);
        InstallFakeGdi(&gdi); // restarts the description count
        gdi.formats = each.formats;
        gdi.shrinkTo = each.shrinkTo;
        gdi.failDescribeAt = each.failAt;
        PIXELFORMATDESCRIPTOR out{};
        EXPECT_EQ(SearchExactFormat(nullptr, each.flags, &out), each.expected);
        if (each.expected) {
            EXPECT_EQ(memcmp(&out, &each.formats[size_t(each.expected - 1)], sizeof out), 0);
        }
    }
}

TEST_F(PixelFormats, AnExplicitNumberNeedsOnlyToExistAndDrawWithOpenGL)
{
    PIXELFORMATDESCRIPTOR bitmapOnly = Format(PFD_TYPE_RGBA, 24);
    bitmapOnly.dwFlags = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_BITMAP;
    gdi.formats = {Format(PFD_TYPE_COLORINDEX, 8, PFD_DOUBLEBUFFER), bitmapOnly};
    toolkitState.formatPolicy = 7; // anything but 2 and 3 is by number
    for (int id : {0, -1, 2, 3}) {
        SCOPED_TRACE(id);
        messageBoxes.clear();
        toolkitState.formatId = id;
        EXPECT_FALSE(ApplyPixelFormat(nullptr, TKMODE_RGBA));
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, "Selecting a pixel format failed\n");
    }
    toolkitState.formatId = 1; // kind and buffers disagree with the flags: still taken
    EXPECT_TRUE(ApplyPixelFormat(nullptr, TKMODE_RGBA));
    EXPECT_EQ(gdi.setFormat, 1);
}

TEST_F(PixelFormats, ARefusedFormatIsReportedAndARequestPassedOnAsIs)
{
    gdi.formats = {Rgba(24, 0, 0, 24, 0)};
    toolkitState.formatPolicy = TKPF_CHOOSE;
    gdi.setFails = true;
    EXPECT_FALSE(ApplyPixelFormat(nullptr, TKMODE_DEPTH_BUFFER));
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "SetPixelFormat failed\n");

    gdi.setFails = false;
    gdi.chooseAnswer = 0;
    toolkitState.formatPolicy = TKPF_EXACT;
    gdi.formats.clear(); // no fall-back to the platform's choice either
    EXPECT_FALSE(ApplyPixelFormat(nullptr, TKMODE_DEPTH_BUFFER));
    EXPECT_EQ(messageBoxes.back().text, "Selecting a pixel format failed\n");

    gdi.formats = {Rgba(24, 0, 0, 24, 0)};
    toolkitState.formatPolicy = TKPF_CHOOSE;
    gdi.chooseAnswer = 1;
    EXPECT_TRUE(ApplyPixelFormat(nullptr, TKMODE_DEPTH_BUFFER)); // no palette needed, none made
    EXPECT_EQ(toolkitState.palette, nullptr);
    EXPECT_EQ(gdi.setFormat, 1);
}

} // namespace
