// Window classes. A window holds a reference on its class, so a class with
// live windows cannot be unregistered.
#ifndef PLATFORM_PORTABLE_WINDOW_CLASSES_H
#define PLATFORM_PORTABLE_WINDOW_CLASSES_H

#include "platform/platform.h"

// Takes a reference on the class and copies its record; false for no class.
bool PortableAcquireClass(LPCSTR className, HINSTANCE instance, WNDCLASSA *copy, ATOM *atom);
void PortableReleaseClass(ATOM atom);

void PortableFillWindowClasses(PlatformTable *t);

#endif
