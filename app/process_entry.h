// Program entry and the render thread. The two threads share only the two
// flags below; the render thread owns the window, its contexts and the scene.
#ifndef APP_PROCESS_ENTRY_H
#define APP_PROCESS_ENTRY_H

#include <atomic>

#include "platform/platform.h"

extern std::atomic<bool> keepRunning;    // written by the entry thread only
extern std::atomic<bool> renderFinished; // written by the render thread only

int ProcessEntry(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
DWORD WINAPI RenderThreadMain(LPVOID argument);
bool FilterMessage(MSG message);
bool OnShutdown();

#endif
