// The portable build's table, filled file by file on top of every floor: each
// file fills the members of the one concern it implements, and connects the
// hooks that let a floor below reach it.
#include "advapi32/registry.h"
#include "gdi32/device_caps.h"
#include "gdi32/dib_sections.h"
#include "gdi32/gdi_objects.h"
#include "gdi32/palettes.h"
#include "gdi32/pixel_formats.h"
#include "gdi32/system_palette.h"
#include "kernel32/events_and_waits.h"
#include "kernel32/files_and_mappings.h"
#include "kernel32/kernel_handles.h"
#include "kernel32/local_heap.h"
#include "kernel32/module.h"
#include "kernel32/process.h"
#include "kernel32/threads.h"
#include "kernel32/virtual_memory.h"
#include "opengl32/gl_contexts.h"
#include "user32/default_window_proc.h"
#include "user32/display_modes.h"
#include "user32/key_state.h"
#include "user32/keyboard.h"
#include "user32/message_boxes.h"
#include "user32/message_queue.h"
#include "user32/mouse.h"
#include "user32/painting.h"
#include "user32/stock_resources.h"
#include "user32/system_colours.h"
#include "user32/window_classes.h"
#include "user32/window_dc.h"
#include "user32/window_events.h"
#include "user32/window_frame.h"
#include "user32/window_registry.h"
#include "user32/windows.h"
#include "user32/wsprintf.h"

extern "C" PlatformTable PlatformSystemTable(void)
{
    PlatformTable t{};
    PortableFillThreads(&t);
    PortableFillEventsAndWaits(&t);    // events and waiting for one object
    PortableFillKernelHandles(&t);     // CloseHandle
    PortableFillModule(&t);
    PortableFillFilesAndMappings(&t);
    PortableFillProcess(&t);           // version, exit, pseudo handle
    PortableFillLocalHeap(&t);
    PortableFillVirtualMemory(&t);     // PrefetchVirtualMemory

    PortableFillRegistry(&t);          // the colour scheme, read-only

    PortableFillGdiObjects(&t);        // stock objects, select, delete
    PortableFillDibSections(&t);       // memory contexts and DIB sections
    PortableFillPalettes(&t);          // logical palettes, UnrealizeObject
    PortableFillSystemPalette(&t);     // selection, realisation, static use
    PortableFillDeviceCaps(&t);
    PortableFillPixelFormats(&t);

    PortableFillGLContexts(&t);        // WGL, with SwapBuffers

    PortableFillMessageQueue(&t);      // and the queue's thread-exit hook
    PortableFillWindowClasses(&t);
    PortableFillStockResources(&t);    // icons and cursors
    PortableFillWindows(&t);           // create, destroy, show
    PortableFillWindowEvents(&t);      // SetForegroundWindow, and the palettes' active-window query
    PortableFillWindowRegistry(&t);    // per-window data
    PortableFillDefaultWindowProc(&t);
    PortableFillWindowFrame(&t);       // AdjustWindowRectEx, metrics
    PortableFillPainting(&t);          // update regions, paint brackets
    PortableFillKeyboard(&t);          // translation and focus
    PortableFillKeyState(&t);          // GetKeyState
    PortableFillMouse(&t);             // capture, cursor
    PortableFillDisplayModes(&t);
    PortableFillMessageBoxes(&t);
    PortableFillWindowDC(&t);
    PortableFillFormatting(&t);        // wsprintf
    PortableFillSystemColours(&t);
    return t;
}
