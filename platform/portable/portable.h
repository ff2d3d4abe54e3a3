// The portable build's implementations, one file per platform concern. Each
// file fills its own members of the table.
#ifndef PLATFORM_PORTABLE_H
#define PLATFORM_PORTABLE_H

#include "platform/platform.h"

void PortableFillThreads(PlatformTable *t);       // posix_thread.cpp
void PortableFillMessageQueue(PlatformTable *t);  // message_queue.cpp
void PortableFillWindowClasses(PlatformTable *t); // window_class.cpp
void PortableFillWindows(PlatformTable *t);       // sdl_window.cpp
void PortableFillGL(PlatformTable *t);            // sdl_gl.cpp
void PortableFillFiles(PlatformTable *t);         // posix_file.cpp
void PortableFillServices(PlatformTable *t);      // user_services.cpp: focus, metrics, formatting
void PortableFillDibSections(PlatformTable *t);   // gdi_dib.cpp

#endif
