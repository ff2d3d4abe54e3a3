// Display modes. SDL switches modes only for a full-screen window, so the
// mode asked for is kept here and taken up by the pop-up windows made while
// it is set.
#ifndef PLATFORM_PORTABLE_HOST_SDL_DISPLAY_MODES_H
#define PLATFORM_PORTABLE_HOST_SDL_DISPLAY_MODES_H

#include <SDL.h>

#include <optional>

// Looks for a mode of the first display of that size (none given: the
// desktop's); when there is one and keep is set, pop-up windows made from now
// on take it. False for no such mode. The video is up.
bool HostFindDisplayMode(std::optional<int> width, std::optional<int> height, bool keep);

std::optional<SDL_DisplayMode> HostFullscreenMode();
void HostForgetFullscreenMode();

// The desktop's size; false when there is no display.
bool HostScreenSize(int *width, int *height);

#endif
