// What the portable files share with one another; nothing here is part of the
// table. Functions marked "lock held" expect PortableLock() to be owned by the
// caller.
#ifndef PLATFORM_PORTABLE_INTERNAL_H
#define PLATFORM_PORTABLE_INTERNAL_H

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/platform.h"

struct SDL_Window;

// posix_thread.cpp: the one lock and condition variable behind every wait.
// Whatever can end a wait (an event set, a thread ending, a message posted)
// changes state under the lock and then notifies PortableSignal().
std::mutex &PortableLock();
std::condition_variable &PortableSignal();
DWORD PortableCurrentThreadId(); // not with the lock held: a first call registers the thread
bool PortableIsLiveThread(DWORD threadId); // lock held
// The program's module instance, GetModuleHandleA(NULL).
HINSTANCE PortableProgramInstance();

// What a thread or event handle refers to. Handles share the object, so a
// thread's state outlives a closed handle and the other way round.
struct PortableWaitable {
    virtual ~PortableWaitable() = default;
    virtual bool Signalled() const = 0; // lock held
    virtual void Acquired() {}          // lock held; an auto-reset event resets
};
std::shared_ptr<PortableWaitable> PortableResolveWaitable(HANDLE handle); // null if none
// True, and the object acquired, when it is signalled. Lock held.
bool PortableTryAcquire(PortableWaitable &object);

// message_queue.cpp
bool PortablePostToThread(DWORD threadId, const MSG &message);
void PortableDiscardQueue(DWORD threadId); // lock held; the thread has ended

// window_class.cpp: a window holds a reference on its class, so a class with
// live windows cannot be unregistered.
bool PortableAcquireClass(LPCSTR className, HINSTANCE instance, WNDCLASSA *copy, ATOM *atom);
void PortableReleaseClass(ATOM atom);

// sdl_window.cpp
bool PortableThreadOwnsWindows();
// Turns pending SDL events into sent and posted messages.
void PortablePumpWindowEvents();
DWORD PortableWindowOwner(HWND window); // 0 for no window
WNDPROC PortableWindowProc(HWND window); // null for no window
SDL_Window *PortableSdlWindow(HWND window);
// The window with the keyboard focus when the calling thread owns it, else null.
HWND PortableFocusedWindow();
// Remakes the SDL window under the same HWND so that it picks up the current
// SDL_GL attributes; the visual is fixed when an X11 window is made.
bool PortableRecreateSdlWindow(HWND window);

// sdl_gl.cpp: drops the window's device context when the window goes.
void PortableForgetWindowDC(HWND window);

#endif
