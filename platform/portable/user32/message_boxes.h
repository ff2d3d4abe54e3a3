// MessageBoxA.
#ifndef PLATFORM_PORTABLE_MESSAGE_BOXES_H
#define PLATFORM_PORTABLE_MESSAGE_BOXES_H

#include "platform/platform.h"

void PortableFillMessageBoxes(PlatformTable *t);

#endif
