// The portable build's table is filled file by file: each file fills the
// members of the one concern it implements, in the order of platform.h.
#ifndef PLATFORM_PORTABLE_FILL_TABLE_H
#define PLATFORM_PORTABLE_FILL_TABLE_H

#include "platform/platform.h"

// kernel32/
void PortableFillThreads(PlatformTable *t);          // threads.cpp
void PortableFillEventsAndWaits(PlatformTable *t);   // events_and_waits.cpp
void PortableFillKernelHandles(PlatformTable *t);    // kernel_handles.cpp: CloseHandle
void PortableFillModule(PlatformTable *t);           // module.cpp
void PortableFillFilesAndMappings(PlatformTable *t); // files_and_mappings.cpp
void PortableFillProcess(PlatformTable *t);          // process.cpp: version, exit, pseudo handle
void PortableFillLocalHeap(PlatformTable *t);        // local_heap.cpp
void PortableFillVirtualMemory(PlatformTable *t);    // virtual_memory.cpp: PrefetchVirtualMemory

// user32/
void PortableFillMessageQueue(PlatformTable *t);      // message_queue.cpp
void PortableFillWindowClasses(PlatformTable *t);     // window_classes.cpp
void PortableFillStockResources(PlatformTable *t);    // stock_resources.cpp: icons and cursors
void PortableFillWindows(PlatformTable *t);           // windows.cpp
void PortableFillWindowEvents(PlatformTable *t);      // window_events.cpp: SetForegroundWindow
void PortableFillWindowRegistry(PlatformTable *t);    // window_registry.cpp: per-window data
void PortableFillDefaultWindowProc(PlatformTable *t); // default_window_proc.cpp
void PortableFillWindowFrame(PlatformTable *t);       // window_frame.cpp: AdjustWindowRectEx, metrics
void PortableFillPainting(PlatformTable *t);          // painting.cpp: update regions, paint brackets
void PortableFillKeyboard(PlatformTable *t);          // keyboard.cpp: translation and focus
void PortableFillKeyState(PlatformTable *t);          // key_state.cpp: GetKeyState
void PortableFillMouse(PlatformTable *t);             // mouse.cpp: capture, cursor
void PortableFillDisplayModes(PlatformTable *t);      // display_modes.cpp
void PortableFillMessageBoxes(PlatformTable *t);      // message_boxes.cpp
void PortableFillWindowDC(PlatformTable *t);          // window_dc.cpp
void PortableFillFormatting(PlatformTable *t);        // wsprintf.cpp
void PortableFillSystemColours(PlatformTable *t);     // system_colours.cpp

// gdi32/
void PortableFillPixelFormats(PlatformTable *t); // pixel_formats.cpp
void PortableFillDibSections(PlatformTable *t);  // dib_sections.cpp: memory contexts and DIB sections
void PortableFillGdiObjects(PlatformTable *t);   // gdi_objects.cpp: stock objects, select, delete
void PortableFillPalettes(PlatformTable *t);     // palettes.cpp: logical palettes, UnrealizeObject
void PortableFillSystemPalette(PlatformTable *t); // system_palette.cpp: selection, realisation, static use
void PortableFillDeviceCaps(PlatformTable *t);   // device_caps.cpp

// opengl32/
void PortableFillGLContexts(PlatformTable *t); // gl_contexts.cpp, with SwapBuffers

// advapi32/
void PortableFillRegistry(PlatformTable *t); // registry.cpp: the colour scheme, read-only

#endif
