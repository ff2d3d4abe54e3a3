// Modal message boxes over SDL's. Where no box can be shown (no display, SDL's
// video refused) the caption and text go to standard error instead, so that
// no failure goes unheard.
#ifndef PLATFORM_PORTABLE_HOST_SDL_MESSAGE_BOXES_H
#define PLATFORM_PORTABLE_HOST_SDL_MESSAGE_BOXES_H

#include "platform/platform.h"

enum class HostBoxIcon { None, Error, Warning, Information };

struct HostBoxButton {
    int answer;
    const char *text;
    bool onEnter;  // Return presses it
    bool onEscape; // Escape presses it
};

struct HostBox {
    HWND owner; // null for none
    const char *caption;
    const char *text;
    HostBoxIcon icon;
    const HostBoxButton *buttons; // left to right
    int count;
    int dismissed; // the answer when the box is closed without a button
};

// Shows the box and waits for the user's answer; 0 when no box could be shown.
int HostShowMessageBox(const HostBox &box);

#endif
