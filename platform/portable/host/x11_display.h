// What kind of screen the X server shows. SDL does not tell.
#ifndef PLATFORM_PORTABLE_HOST_X11_DISPLAY_H
#define PLATFORM_PORTABLE_HOST_X11_DISPLAY_H

struct HostScreenKind {
    // The default visual is a colour map the program can write, 8 bits deep
    // (PseudoColor or GrayScale): a palette device, as Wine decides it too.
    bool palette = false;
    int bitsPerPixel = 32; // what the server stores a pixel in (32 for a 24-bit screen)
};

// Read once: the display does not change under a running program. A
// 32-bit direct-colour screen when there is no display.
const HostScreenKind &HostScreen();

#endif
