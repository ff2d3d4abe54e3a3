// Per-thread message queues.
#ifndef PLATFORM_PORTABLE_MESSAGE_QUEUE_H
#define PLATFORM_PORTABLE_MESSAGE_QUEUE_H

#include "platform/platform.h"

// Every message the portable build makes, posted or sent, is stamped here,
// on one clock.
MSG PortableMakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// False when the thread is gone.
bool PortablePostToThread(DWORD threadId, const MSG &message);

void PortableDiscardQueue(DWORD threadId); // PortableLock() held; the thread has ended

#endif
