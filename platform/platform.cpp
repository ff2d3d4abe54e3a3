#include "platform/platform.h"

// Filled before main runs; nothing calls through it during static construction.
PlatformTable platform = PlatformSystemTable();
