// The three policies: the request handed to the platform, the exact search
// over a scripted list of formats, an explicit number, and their failures.
#include <string>
#include <tuple>
#include <utility>

#include "tests/toolkit/palette_fixture.h"
#include "pixel_format_selection.h"

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

// Each case: the flags, then the request's window flags, kind, colour,
// alpha, accumulation, depth and stencil bits.
TEST_F(PixelFormats, TheRequestFollowsEachFlag)
{
    const int base = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL, rgba = PFD_TYPE_RGBA, index = PFD_TYPE_COLORINDEX;
    const std::pair<uint32_t, std::vector<int>> cases[] = {
        {TKMODE_RGBA, {base, rgba, 24, 0, 0, 0, 0}},
        {TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER, {base | PFD_DOUBLEBUFFER, rgba, 24, 0, 0, 24, 0}},
        {TKMODE_ALPHA | TKMODE_ACCUM_BUFFER, {base, rgba, 24, 8, 32, 0, 0}},
        {TKMODE_ACCUM_BUFFER, {base, rgba, 24, 0, 24, 0, 0}},
        {TKMODE_COLOR_INDEX | TKMODE_ALPHA | TKMODE_ACCUM_BUFFER, {base, index, 8, 8, 16, 0, 0}},
        {TKMODE_COLOR_INDEX | TKMODE_ACCUM_BUFFER, {base, index, 8, 0, 8, 0, 0}},
        {TKMODE_SHALLOW_DEPTH | TKMODE_DEPTH_BUFFER | TKMODE_STENCIL_BUFFER, {base, rgba, 24, 0, 0, 16, 4}},
        {TKMODE_SHALLOW_DEPTH | 0x084, {base, rgba, 24, 0, 0, 16, 0}}, // ignored bits
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.first);
        PIXELFORMATDESCRIPTOR out;
        gdi.chooseAnswer = 7;
        EXPECT_EQ(RequestClosestFormat(nullptr, each.first, &out), 7);
        const PIXELFORMATDESCRIPTOR &r = gdi.lastRequest;
        EXPECT_EQ(memcmp(&out, &r, sizeof r), 0);
        EXPECT_EQ(std::vector<int>({r.nSize, r.nVersion, r.cAuxBuffers, r.iLayerType}), std::vector<int>({40, 1, 0, 0}));
        EXPECT_EQ(std::vector<int>({int(r.dwFlags), r.iPixelType, r.cColorBits, r.cAlphaBits, r.cAccumBits,
                                    r.cDepthBits, r.cStencilBits}),
                  each.second);
    }
}

TEST_F(PixelFormats, TheExactSearchKeepsTheDeepestMatchOfTheRightKind)
{
    PIXELFORMATDESCRIPTOR overlay = Rgba(32, 0, 0, 24, 0), withoutGL = overlay;
    overlay.iLayerType = 1;
    withoutGL.dwFlags = PFD_DRAW_TO_WINDOW;
    PIXELFORMATDESCRIPTOR noAccumulatedAlpha = Rgba(32, 8, 64, 0, 0);
    noAccumulatedAlpha.cAccumAlphaBits = 0;
    PIXELFORMATDESCRIPTOR withoutAccumulatedAlpha = Rgba(24, 0, 48, 0, 0);
    withoutAccumulatedAlpha.cAccumAlphaBits = 0;
    PIXELFORMATDESCRIPTOR index = Rgba(8, 8, 8, 16, 0);
    index.iPixelType = PFD_TYPE_COLORINDEX;
    // Why, the flags, the formats, the count they shrink to, the description
    // that fails, the number found.
    const std::tuple<const char *, uint32_t, std::vector<PIXELFORMATDESCRIPTOR>, int, int, int> cases[] = {
        {"deepest wins, ties keep the lower", TKMODE_DEPTH_BUFFER,
         {Rgba(16, 0, 0, 16, 0), Rgba(24, 0, 0, 32, 0), Rgba(24, 0, 0, 24, 0), Rgba(32, 8, 0, 24, 0)}, -1, 0, 2},
        {"no colour bits is never kept", TKMODE_RGBA, {Rgba(0, 0, 0, 0, 0)}, -1, 0, 0},
        {"layer, window and GL support", TKMODE_DEPTH_BUFFER, {overlay, withoutGL, Rgba(16, 0, 0, 24, 0)}, -1, 0, 3},
        {"buffering", TKMODE_DOUBLE_BUFFER, {Rgba(24, 0, 0, 0, 0), Rgba(16, 0, 0, 0, 0, PFD_DOUBLEBUFFER)}, -1, 0, 2},
        {"a depth buffer where none is asked", TKMODE_RGBA, {Rgba(32, 0, 0, 24, 0)}, -1, 0, 0},
        {"shallow depth takes any depth", TKMODE_SHALLOW_DEPTH, {Rgba(24, 0, 0, 32, 0)}, -1, 0, 1},
        {"stencil", TKMODE_STENCIL_BUFFER, {Rgba(32, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 8)}, -1, 0, 2},
        {"alpha and accumulation need accumulated alpha", TKMODE_ALPHA | TKMODE_ACCUM_BUFFER,
         {Rgba(32, 8, 0, 0, 0), noAccumulatedAlpha, Rgba(24, 8, 64, 0, 0)}, -1, 0, 3},
        {"accumulation alone does not", TKMODE_ACCUM_BUFFER, {Rgba(32, 0, 0, 0, 0), withoutAccumulatedAlpha}, -1, 0, 2},
        {"colour index ignores alpha and accumulation", TKMODE_COLOR_INDEX | TKMODE_DEPTH_BUFFER,
         {Rgba(32, 0, 0, 24, 0), index}, -1, 0, 2},
        {"a count that shrinks ends the walk", TKMODE_RGBA,
         {Rgba(16, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 0), Rgba(32, 0, 0, 0, 0)}, 2, 0, 2},
        {"a failed description ends it with nothing", TKMODE_RGBA,
         {Rgba(16, 0, 0, 0, 0), Rgba(32, 0, 0, 0, 0), Rgba(24, 0, 0, 0, 0)}, -1, 3, 0},
    };
    for (const auto &[why, flags, formats, shrinkTo, failAt, expected] : cases) {
        SCOPED_TRACE(why);
        InstallFakeGdi(&gdi); // restarts the description count
        gdi.formats = formats;
        gdi.shrinkTo = shrinkTo;
        gdi.failDescribeAt = failAt;
        PIXELFORMATDESCRIPTOR out{};
        EXPECT_EQ(SearchExactFormat(nullptr, flags, &out), expected);
        EXPECT_TRUE(!expected || memcmp(&out, &formats[size_t(expected - 1)], sizeof out) == 0);
    }
}

// An explicit number needs only to exist and draw with OpenGL; no policy
// falls back on another; a palette only where the format needs one.
TEST_F(PixelFormats, ApplyingReportsWhatFailsAndSetsWhatWasFound)
{
    PIXELFORMATDESCRIPTOR bitmapOnly = Format(PFD_TYPE_RGBA, 24);
    bitmapOnly.dwFlags = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_BITMAP;
    // None is an RGBA single-buffered match; only the last needs a palette.
    gdi.formats = {bitmapOnly, Format(PFD_TYPE_COLORINDEX, 8, PFD_DOUBLEBUFFER),
                   ThreeThreeTwo(PFD_NEED_PALETTE | PFD_DOUBLEBUFFER)};
    const char *const none = "Selecting a pixel format failed\n";
    // Policy, number, whether setting fails, the message (none: set, by number unless chosen).
    const std::tuple<int32_t, int32_t, bool, const char *> cases[] = {
        {7, 0, false, none}, // anything but 2 and 3 is by number
        {7, -1, false, none},
        {7, 1, false, none}, // draws to a bitmap only
        {7, 4, false, none},
        {7, 2, false, nullptr}, // kind and buffers disagree with the flags: still taken
        {7, 3, false, nullptr}, // the last number
        {TKPF_EXACT, 0, false, none}, // the platform would choose 1
        {TKPF_CHOOSE, 0, true, "SetPixelFormat failed\n"},
        {TKPF_CHOOSE, 0, false, nullptr},
    };
    for (const auto &[policy, id, setFails, message] : cases) {
        SCOPED_TRACE(std::to_string(policy) + " " + std::to_string(id));
        messageBoxes.clear();
        gdi.setFormat = 0;
        gdi.setFails = setFails;
        toolkitState.palette = nullptr;
        toolkitState.formatPolicy = policy;
        toolkitState.formatId = id;
        EXPECT_EQ(ApplyPixelFormat(nullptr, TKMODE_RGBA), !message);
        const int set = message ? 0 : policy == TKPF_CHOOSE ? 1 : id;
        EXPECT_EQ(gdi.setFormat, set);
        EXPECT_EQ(toolkitState.palette != nullptr, set == 3);
        ASSERT_EQ(messageBoxes.size(), message ? 1u : 0u);
        EXPECT_TRUE(!message || messageBoxes[0].text == message);
    }
}

} // namespace
