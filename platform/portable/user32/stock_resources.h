// The stock icons and cursors.
#ifndef PLATFORM_PORTABLE_STOCK_RESOURCES_H
#define PLATFORM_PORTABLE_STOCK_RESOURCES_H

#include "platform/platform.h"

void PortableFillStockResources(PlatformTable *t);

#endif
