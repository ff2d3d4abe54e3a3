#include "host/sdl_events.h"

#include <SDL.h>

#include <chrono>

#include "host/host_input.h"
#include "host/sdl_keys.h"
#include "host/sdl_video.h"
#include "host/sdl_windows.h"
#include "host/x11_display_watch.h"

namespace {

uint32_t EventWindowId(const SDL_Event &event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    default: return 0; // SDL_QUIT among them: only WM_CLOSE ends a window here
    }
}

// The first character of SDL's text event, if one follows the press at once
// (SDL makes both of the same X key event).
uint32_t TakeTypedCharacter()
{
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT)
        return 0;
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    const auto *text = reinterpret_cast<const unsigned char *>(next.text.text);
    if (text[0] < 0x80)
        return text[0];
    const int length = text[0] >= 0xF0 ? 4 : text[0] >= 0xE0 ? 3 : 2;
    uint32_t code = text[0] & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (text[i] & 0x3F);
    }
    return code;
}

void ReportKey(HWND window, const SDL_KeyboardEvent &event)
{
    HostKey key{};
    key.down = event.type == SDL_KEYDOWN;
    key.character = key.down ? TakeTypedCharacter() : 0; // taken even for a key Win32 has no name for
    key.key = HostVirtualKey(event.keysym);
    if (key.key == 0)
        return;
    key.repeat = event.repeat != 0;
    key.extended = HostExtendedKey(event.keysym.scancode);
    const Uint16 mod = event.keysym.mod;
    key.shift = mod & KMOD_SHIFT;
    key.control = mod & KMOD_CTRL;
    key.alt = mod & KMOD_ALT;
    key.capsLock = mod & KMOD_CAPS;
    key.numLock = mod & KMOD_NUM;
    PortableInputKey(window, key);
}

HostButton ButtonOf(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return HostButton::Left;
    case SDL_BUTTON_RIGHT: return HostButton::Right;
    case SDL_BUTTON_MIDDLE: return HostButton::Middle;
    default: return HostButton::None;
    }
}

void ReportPointer(HWND window, const SDL_Event &event)
{
    HostPointer pointer{};
    if (event.type == SDL_MOUSEMOTION) {
        pointer.x = event.motion.x;
        pointer.y = event.motion.y;
        pointer.leftHeld = event.motion.state & SDL_BUTTON_LMASK;
        pointer.rightHeld = event.motion.state & SDL_BUTTON_RMASK;
        pointer.middleHeld = event.motion.state & SDL_BUTTON_MMASK;
    } else {
        pointer.button = ButtonOf(event.button.button);
        if (pointer.button == HostButton::None) // Win32 has no message for the others
            return;
        pointer.down = event.type == SDL_MOUSEBUTTONDOWN;
        pointer.x = event.button.x;
        pointer.y = event.button.y;
    }
    PortableInputPointer(window, pointer);
}

void ReportWindowChange(HWND window, const SDL_WindowEvent &event)
{
    HostWindowChange change;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: change = HostWindowChange::Closed; break;
    case SDL_WINDOWEVENT_MINIMIZED: change = HostWindowChange::Minimized; break;
    case SDL_WINDOWEVENT_RESTORED: change = HostWindowChange::Restored; break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: change = HostWindowChange::FocusGained; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: change = HostWindowChange::FocusLost; break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: change = HostWindowChange::Resized; break;
    case SDL_WINDOWEVENT_MOVED: change = HostWindowChange::Moved; break;
    case SDL_WINDOWEVENT_EXPOSED: change = HostWindowChange::Exposed; break;
    default: return;
    }
    PortableInputWindowChange(window, change, event.data1, event.data2);
}

void Report(const SDL_Event &event)
{
    const HWND window = HostWindowOfSdl(EventWindowId(event));
    if (!window)
        return;
    switch (event.type) {
    case SDL_WINDOWEVENT:
        ReportWindowChange(window, event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        ReportKey(window, event.key);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        ReportPointer(window, event);
        break;
    default:
        break;
    }
}

// SDL keeps timers of its own besides what X sends (a focus change is told a
// moment after X tells it), so it is read at least this often.
constexpr auto kQuietReadInterval = std::chrono::milliseconds(10);

// SDL lock held. Reading SDL's queue reads the connection, a few system calls
// even when nothing came, and a frame loop looks at its queue once a pass: a
// quiet display and an empty SDL queue are looked at first.
bool ReadDue()
{
    static std::chrono::steady_clock::time_point lastRead;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRead < kQuietReadInterval && !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) && HostDisplayQuiet())
        return false;
    lastRead = now;
    return true;
}

} // namespace

void HostReadEvents()
{
    HostSdlHold hold(HostSdlLock()); // one reader of SDL's queue at a time
    if (!ReadDue())
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Report(event);
    HostDisplayRead();
}
