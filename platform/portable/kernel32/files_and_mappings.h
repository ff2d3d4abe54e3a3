// Files opened for reading and read-only mappings of them.
#ifndef PLATFORM_PORTABLE_FILES_AND_MAPPINGS_H
#define PLATFORM_PORTABLE_FILES_AND_MAPPINGS_H

#include "platform/platform.h"

void PortableFillFilesAndMappings(PlatformTable *t);

#endif
