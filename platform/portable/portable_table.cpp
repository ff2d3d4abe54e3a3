#include "fill_table.h"

extern "C" PlatformTable PlatformSystemTable(void)
{
    PlatformTable t{};
    PortableFillThreads(&t);
    PortableFillEventsAndWaits(&t);
    PortableFillKernelHandles(&t);
    PortableFillModule(&t);
    PortableFillFilesAndMappings(&t);
    PortableFillProcess(&t);
    PortableFillLocalHeap(&t);

    PortableFillMessageQueue(&t);
    PortableFillWindowClasses(&t);
    PortableFillStockResources(&t);
    PortableFillSdlWindows(&t);
    PortableFillWindowRegistry(&t);
    PortableFillDefaultWindowProc(&t);
    PortableFillWindowFrame(&t);
    PortableFillPainting(&t);
    PortableFillKeyboard(&t);
    PortableFillKeyState(&t);
    PortableFillMouse(&t);
    PortableFillDisplayModes(&t);
    PortableFillMessageBoxes(&t);
    PortableFillWindowDC(&t);
    PortableFillFormatting(&t);

    PortableFillPixelFormats(&t);
    PortableFillDibSections(&t);
    PortableFillGdiObjects(&t);

    PortableFillGLContexts(&t);
    return t;
}
