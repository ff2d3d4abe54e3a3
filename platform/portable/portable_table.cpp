#include "portable.h"

extern "C" PlatformTable PlatformSystemTable(void)
{
    PlatformTable t{};
    PortableFillThreads(&t);
    PortableFillMessageQueue(&t);
    PortableFillWindowClasses(&t);
    PortableFillWindows(&t);
    PortableFillGL(&t);
    PortableFillFiles(&t);
    PortableFillServices(&t);
    PortableFillDibSections(&t);
    return t;
}
