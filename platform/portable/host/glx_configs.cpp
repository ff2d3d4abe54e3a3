// GLX framebuffer configurations as numbered pixel formats.
#include "host/glx_configs.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <tuple>

namespace {

BYTE Byte(int value)
{
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

int LowestBit(unsigned long mask)
{
    return mask ? __builtin_ctzl(mask) : 0;
}

// Colours of these visuals come from a writable colour map: a palette.
bool IsPaletteVisual(int visualClass)
{
    return visualClass == PseudoColor || visualClass == GrayScale;
}

// Shifts come from the visual's masks. A visual without masks (RGBA drawn on
// a palette visual) packs red, green and blue upwards from bit 0, the layout
// of Windows' 3-3-2 palette formats. Alpha sits above the colour bits.
void PlaceComponents(const HostGlxTraits &traits, PIXELFORMATDESCRIPTOR *format)
{
    const bool masked = traits.redMask && traits.greenMask && traits.blueMask;
    const int redShift = masked ? LowestBit(traits.redMask) : 0;
    const int greenShift = masked ? LowestBit(traits.greenMask) : traits.red;
    const int blueShift = masked ? LowestBit(traits.blueMask) : traits.red + traits.green;
    format->cRedBits = Byte(traits.red);
    format->cRedShift = Byte(redShift);
    format->cGreenBits = Byte(traits.green);
    format->cGreenShift = Byte(greenShift);
    format->cBlueBits = Byte(traits.blue);
    format->cBlueShift = Byte(blueShift);
    format->cAlphaBits = Byte(traits.alpha);
    if (traits.alpha > 0)
        format->cAlphaShift =
            Byte(std::max({redShift + traits.red, greenShift + traits.green, blueShift + traits.blue}));
}

int Attribute(Display *display, GLXFBConfig config, int name)
{
    int value = 0;
    glXGetFBConfigAttrib(display, config, name, &value);
    return value;
}

// Main-plane configurations with a visual that draw to windows in RGBA or
// colour index; the rest cannot back a window's pixel format.
bool DrawsToWindow(Display *display, GLXFBConfig config)
{
    return (Attribute(display, config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) &&
           Attribute(display, config, GLX_VISUAL_ID) != 0 && Attribute(display, config, GLX_LEVEL) == 0 &&
           (Attribute(display, config, GLX_RENDER_TYPE) & (GLX_RGBA_BIT | GLX_COLOR_INDEX_BIT));
}

bool ReadTraits(Display *display, GLXFBConfig config, HostGlxTraits *traits)
{
    XVisualInfo *visual = glXGetVisualFromFBConfig(display, config);
    if (!visual)
        return false;
    traits->visualClass = visual->c_class;
    traits->redMask = visual->red_mask;
    traits->greenMask = visual->green_mask;
    traits->blueMask = visual->blue_mask;
    XFree(visual);
    traits->rgba = (Attribute(display, config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) != 0;
    traits->bufferSize = Attribute(display, config, GLX_BUFFER_SIZE);
    traits->red = Attribute(display, config, GLX_RED_SIZE);
    traits->green = Attribute(display, config, GLX_GREEN_SIZE);
    traits->blue = Attribute(display, config, GLX_BLUE_SIZE);
    traits->alpha = Attribute(display, config, GLX_ALPHA_SIZE);
    traits->accumRed = Attribute(display, config, GLX_ACCUM_RED_SIZE);
    traits->accumGreen = Attribute(display, config, GLX_ACCUM_GREEN_SIZE);
    traits->accumBlue = Attribute(display, config, GLX_ACCUM_BLUE_SIZE);
    traits->accumAlpha = Attribute(display, config, GLX_ACCUM_ALPHA_SIZE);
    traits->depth = Attribute(display, config, GLX_DEPTH_SIZE);
    traits->stencil = Attribute(display, config, GLX_STENCIL_SIZE);
    traits->auxBuffers = Attribute(display, config, GLX_AUX_BUFFERS);
    traits->doubleBuffer = Attribute(display, config, GLX_DOUBLEBUFFER) != 0;
    traits->stereo = Attribute(display, config, GLX_STEREO) != 0;
    return true;
}

int VisualClassRank(int visualClass)
{
    const int order[] = {TrueColor, DirectColor, PseudoColor, StaticColor, GrayScale, StaticGray};
    const int *found = std::find(std::begin(order), std::end(order), visualClass);
    return static_cast<int>(found - std::begin(order));
}

struct Ranked {
    int visualClassRank, caveat, samples, id;
    HostPixelFormat format;
};

// The numbering, the same for the same display every run: visuals that show
// colours by themselves first (TrueColor, DirectColor, then the palette and
// grey classes), configurations without a caveat before slow or
// non-conformant ones (GLX_NONE is the lowest caveat value), fewer samples
// first, and the server's GLX_FBCONFIG_ID last.
bool NumberedBefore(const Ranked &a, const Ranked &b)
{
    return std::tie(a.visualClassRank, a.caveat, a.samples, a.id) <
           std::tie(b.visualClassRank, b.caveat, b.samples, b.id);
}

std::vector<HostPixelFormat> ReadFormats(Display *display)
{
    int count = 0;
    GLXFBConfig *configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
    std::vector<Ranked> ranked;
    for (int i = 0; i < count; ++i) {
        HostGlxTraits traits;
        if (!DrawsToWindow(display, configs[i]) || !ReadTraits(display, configs[i], &traits))
            continue;
        ranked.push_back({VisualClassRank(traits.visualClass), Attribute(display, configs[i], GLX_CONFIG_CAVEAT),
                          Attribute(display, configs[i], GLX_SAMPLES),
                          Attribute(display, configs[i], GLX_FBCONFIG_ID),
                          {configs[i], HostDescribeGlxTraits(traits)}});
    }
    if (configs)
        XFree(configs); // the array only: the configurations live as long as the display
    std::sort(ranked.begin(), ranked.end(), NumberedBefore);
    std::vector<HostPixelFormat> formats;
    for (const Ranked &each : ranked)
        formats.push_back(each.format);
    return formats;
}

} // namespace

PIXELFORMATDESCRIPTOR HostDescribeGlxTraits(const HostGlxTraits &traits)
{
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (traits.doubleBuffer)
        format.dwFlags |= PFD_DOUBLEBUFFER;
    if (traits.stereo)
        format.dwFlags |= PFD_STEREO;
    if (!traits.rgba || IsPaletteVisual(traits.visualClass))
        format.dwFlags |= PFD_NEED_PALETTE;
    format.iPixelType = traits.rgba ? PFD_TYPE_RGBA : PFD_TYPE_COLORINDEX;
    // RGBA colour bits leave alpha out, as Windows counts them.
    format.cColorBits = Byte(traits.rgba ? traits.red + traits.green + traits.blue : traits.bufferSize);
    if (traits.rgba)
        PlaceComponents(traits, &format);
    format.cAccumRedBits = Byte(traits.accumRed);
    format.cAccumGreenBits = Byte(traits.accumGreen);
    format.cAccumBlueBits = Byte(traits.accumBlue);
    format.cAccumAlphaBits = Byte(traits.accumAlpha);
    format.cAccumBits = Byte(traits.accumRed + traits.accumGreen + traits.accumBlue + traits.accumAlpha);
    format.cDepthBits = Byte(traits.depth);
    format.cStencilBits = Byte(traits.stencil);
    format.cAuxBuffers = Byte(traits.auxBuffers);
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

const std::vector<HostPixelFormat> &HostPixelFormats(Display *display)
{
    static const auto *none = new std::vector<HostPixelFormat>;
    static auto *lock = new std::mutex;
    static const std::vector<HostPixelFormat> *formats = nullptr;
    if (!display)
        return *none;
    std::lock_guard<std::mutex> hold(*lock);
    if (!formats)
        formats = new std::vector<HostPixelFormat>(ReadFormats(display));
    return *formats;
}
