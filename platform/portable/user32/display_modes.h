// Display modes. SDL switches modes only for a full-screen window, so the
// mode asked for is kept here and taken up by the WS_POPUP windows made while
// it is set.
#ifndef PLATFORM_PORTABLE_DISPLAY_MODES_H
#define PLATFORM_PORTABLE_DISPLAY_MODES_H

#include <SDL.h>

#include <optional>

std::optional<SDL_DisplayMode> PortableFullscreenMode();

// The desktop's size; false before SDL's video is up or when it cannot tell.
bool PortableScreenSize(int *width, int *height);

#endif
