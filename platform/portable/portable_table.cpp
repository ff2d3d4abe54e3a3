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
    PortableFillVirtualMemory(&t);

    PortableFillMessageQueue(&t);
    PortableFillWindowClasses(&t);
    PortableFillStockResources(&t);
    PortableFillWindows(&t);
    PortableFillWindowEvents(&t);
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
    PortableFillSystemColours(&t);

    PortableFillPixelFormats(&t);
    PortableFillDibSections(&t);
    PortableFillGdiObjects(&t);
    PortableFillPalettes(&t);
    PortableFillSystemPalette(&t);
    PortableFillDeviceCaps(&t);

    PortableFillGLContexts(&t);

    PortableFillRegistry(&t);
    return t;
}
