// The registry, read-only: the current user's colour scheme.
#ifndef PLATFORM_PORTABLE_REGISTRY_H
#define PLATFORM_PORTABLE_REGISTRY_H

#include "platform/platform.h"

void PortableFillRegistry(PlatformTable *t);

#endif
