// The pointer: SDL's capture of it and where it is.
#ifndef PLATFORM_PORTABLE_HOST_SDL_POINTER_H
#define PLATFORM_PORTABLE_HOST_SDL_POINTER_H

// An X pointer grab while on: a drag past a window's edge keeps reporting.
void HostCapturePointer(bool on);

// Screen coordinates; false when there is no display.
bool HostPointerPosition(int *x, int *y);

#endif
