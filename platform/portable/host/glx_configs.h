// The display's real pixel formats: the GLX framebuffer configurations that
// can draw to a window, each under one number from 1 in a fixed order.
#ifndef PLATFORM_PORTABLE_HOST_GLX_CONFIGS_H
#define PLATFORM_PORTABLE_HOST_GLX_CONFIGS_H

// After the platform header: ours defines APIENTRY unconditionally.
#include "platform/platform.h"

#include <GL/glx.h>

#include <vector>

// What a configuration and its visual say of themselves.
struct HostGlxTraits {
    bool rgba = true; // false: colour index
    int bufferSize = 0;
    int red = 0, green = 0, blue = 0, alpha = 0;
    int accumRed = 0, accumGreen = 0, accumBlue = 0, accumAlpha = 0;
    int depth = 0, stencil = 0, auxBuffers = 0;
    bool doubleBuffer = false, stereo = false;
    int visualClass = TrueColor;
    unsigned long redMask = 0, greenMask = 0, blueMask = 0;
};

// The descriptor Windows would give a format with these traits.
PIXELFORMATDESCRIPTOR HostDescribeGlxTraits(const HostGlxTraits &traits);

struct HostPixelFormat {
    GLXFBConfig config;
    PIXELFORMATDESCRIPTOR descriptor;
};

// The formats of the display's default screen, read once per process; empty
// when GLX offers none.
const std::vector<HostPixelFormat> &HostPixelFormats(Display *display);

#endif
