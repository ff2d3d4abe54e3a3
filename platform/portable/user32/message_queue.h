// Per-thread message queues.
#ifndef PLATFORM_PORTABLE_MESSAGE_QUEUE_H
#define PLATFORM_PORTABLE_MESSAGE_QUEUE_H

#include <stdint.h>

#include <functional>

#include "platform/platform.h"
#include "user32/key_state.h"

// Every message the portable build makes, posted or sent, is stamped here,
// on one clock.
MSG PortableMakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// False when the thread is gone.
bool PortablePostToThread(DWORD threadId, const MSG &message);

// As a broadcast SendMessage: the calling thread's windows get the message
// through their procedure at once; other threads' windows have it posted,
// since sending across threads is not modelled.
void PortableSendToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam);

// A key or mouse message with the key state it happened in and, for a key
// press, the character the keyboard gave (0 for none).
struct PortableInput {
    MSG message;
    PortableKeyState keys;
    uint32_t character = 0;
};
bool PortablePostInput(DWORD threadId, const PortableInput &input);

// Hands work on a thread's windows to that thread, which does it at its next
// look at its queue, before it takes a message, as Win32 handles messages
// sent from other threads; false when the thread is gone.
bool PortableAskThread(DWORD threadId, std::function<void()> task);

void PortableFillMessageQueue(PlatformTable *t);

#endif
