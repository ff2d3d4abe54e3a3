// The portable build's pixel-format rules over made-up configurations: how a
// GLX configuration is described, and which format ChoosePixelFormat picks.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "gdi32/pixel_format_choice.h"
#include "gdi32/pixel_format_list.h"

namespace {

// The fields a descriptor is told apart by, as one line.
std::string Line(const PIXELFORMATDESCRIPTOR &d)
{
    char text[200];
    snprintf(text, sizeof text,
             "%d/%d/%d flags %#lx type %d colour %d rgba %d>>%d %d>>%d %d>>%d %d>>%d accum %d(%d %d %d %d) depth %d "
             "stencil %d aux %d",
             d.nSize, d.nVersion, d.iLayerType, static_cast<unsigned long>(d.dwFlags), d.iPixelType, d.cColorBits,
             d.cRedBits, d.cRedShift, d.cGreenBits, d.cGreenShift, d.cBlueBits, d.cBlueShift, d.cAlphaBits,
             d.cAlphaShift, d.cAccumBits, d.cAccumRedBits, d.cAccumGreenBits, d.cAccumBlueBits, d.cAccumAlphaBits,
             d.cDepthBits, d.cStencilBits, d.cAuxBuffers);
    return text;
}

TEST(PixelFormatDescription, FollowsTheConfigurationAndItsVisual)
{
    // Traits: rgba, buffer size, red, green, blue, alpha, accumulation red,
    // green, blue, alpha, depth, stencil, aux, double, stereo, visual class, masks.
    const std::pair<PortableGlxTraits, const char *> cases[] = {
        {{true, 32, 8, 8, 8, 8, 0, 0, 0, 0, 24, 8, 0, true, false, TrueColor, 0xff0000, 0xff00, 0xff},
         "40/1/0 flags 0x25 type 0 colour 24 rgba 8>>16 8>>8 8>>0 8>>24 accum 0(0 0 0 0) depth 24 stencil 8 aux 0"},
        {{true, 16, 5, 6, 5, 0, 16, 16, 16, 8, 16, 0, 0, false, false, DirectColor, 0xf800, 0x7e0, 0x1f},
         "40/1/0 flags 0x24 type 0 colour 16 rgba 5>>11 6>>5 5>>0 0>>0 accum 56(16 16 16 8) depth 16 stencil 0 aux 0"},
        {{true, 24, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, false, false, TrueColor, 0xff, 0xff00, 0xff0000},
         "40/1/0 flags 0x24 type 0 colour 24 rgba 8>>0 8>>8 8>>16 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        // RGBA on a palette visual: Windows' 3-3-2 layout, and a palette needed.
        {{true, 8, 3, 3, 2, 0, 0, 0, 0, 0, 0, 0, 0, false, false, PseudoColor, 0, 0, 0},
         "40/1/0 flags 0xa4 type 0 colour 8 rgba 3>>0 3>>3 2>>6 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        {{true, 8, 3, 3, 2, 0, 0, 0, 0, 0, 0, 0, 0, false, false, StaticColor, 0, 0, 0},
         "40/1/0 flags 0x24 type 0 colour 8 rgba 3>>0 3>>3 2>>6 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 0"},
        {{false, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, true, true, PseudoColor, 0, 0, 0},
         "40/1/0 flags 0xa7 type 1 colour 8 rgba 0>>0 0>>0 0>>0 0>>0 accum 0(0 0 0 0) depth 0 stencil 0 aux 2"},
    };
    for (const auto &[traits, expected] : cases)
        EXPECT_EQ(Line(PortableDescribeGlxTraits(traits)), expected);
}

constexpr DWORD kWindowGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
constexpr DWORD kDouble = kWindowGL | PFD_DOUBLEBUFFER;
constexpr BYTE kRgba = PFD_TYPE_RGBA;

PIXELFORMATDESCRIPTOR Format(DWORD flags, BYTE type, BYTE colour, BYTE depth, BYTE alpha = 0, BYTE stencil = 0,
                             BYTE accum = 0)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = flags;
    format.iPixelType = type;
    format.cColorBits = colour;
    format.cDepthBits = depth;
    format.cAlphaBits = alpha;
    format.cStencilBits = stencil;
    format.cAccumBits = accum;
    return format;
}

TEST(PixelFormatChoice, TakesTheClosestByTheRulesInOrder)
{
    const PIXELFORMATDESCRIPTOR formats[] = {
        Format(kWindowGL, kRgba, 24, 0),                                                  // 1
        Format(kDouble, kRgba, 16, 16),                                                   // 2
        Format(kDouble, kRgba, 24, 16),                                                   // 3
        Format(kDouble, kRgba, 24, 24, 0, 8),                                             // 4
        Format(kDouble, kRgba, 24, 24, 8),                                                // 5
        Format(kDouble, kRgba, 24, 24, 0, 0, 64),                                         // 6
        Format(kDouble, PFD_TYPE_COLORINDEX, 8, 16),                                      // 7
        Format(kDouble, kRgba, 30, 24),                                                   // 8
        Format(kDouble, kRgba, 24, 16),                                                   // 9, the same as 3
        Format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL, kRgba, 24, 16), // 10
    };
    const struct Case {
        const char *name;
        PIXELFORMATDESCRIPTOR request;
        int expected;
    } cases[] = {
        {"the demo's request, exactly there", Format(kDouble, kRgba, 16, 16), 2},
        {"a tie keeps the lower number", Format(kDouble, kRgba, 24, 16), 3},
        {"a missing stencil outweighs sizes", Format(kDouble, kRgba, 24, 24, 0, 4), 4},
        {"a missing alpha outweighs a closer depth", Format(kDouble, kRgba, 24, 16, 8), 5},
        {"accumulation asked for", Format(kDouble, kRgba, 24, 24, 0, 0, 32), 6},
        {"pixel type before buffering", Format(kWindowGL, PFD_TYPE_COLORINDEX, 8, 0), 7},
        {"buffering before sizes", Format(kWindowGL, kRgba, 24, 24), 1},
        {"more colour beats less", Format(kDouble, kRgba, 28, 24), 8},
        {"short of all: the largest", Format(kDouble, kRgba, 32, 24), 8},
        {"smallest excess", Format(kDouble, kRgba, 20, 16), 3},
        {"flags the request sets must be offered", Format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL, kRgba, 24, 16), 10},
        {"an unknown pixel type matches nothing", Format(kDouble, 2, 24, 16), 0},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(PortableClosestPixelFormat(formats, std::size(formats), each.request), each.expected);
    }
    EXPECT_EQ(PortableClosestPixelFormat(formats, 0, cases[0].request), 0);
}

} // namespace
