// Per-thread message queues.
#ifndef PLATFORM_PORTABLE_MESSAGE_QUEUE_H
#define PLATFORM_PORTABLE_MESSAGE_QUEUE_H

#include "platform/platform.h"

// Every message the portable build makes, posted or sent, is stamped here,
// on one clock.
MSG PortableMakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// False when the thread is gone.
bool PortablePostToThread(DWORD threadId, const MSG &message);

// As a broadcast SendMessage: the calling thread's windows get the message
// through their procedure at once; other threads' windows have it posted,
// since sending across threads is not modelled.
void PortableSendToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam);

void PortableDiscardQueue(DWORD threadId); // PortableLock() held; the thread has ended

#endif
