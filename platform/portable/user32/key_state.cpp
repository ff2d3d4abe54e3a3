// The two key states, the character typed with the last key press taken, and GetKeyState.
#include "user32/key_state.h"

#include <mutex>


namespace {

struct DeviceKeys {
    std::mutex lock;
    PortableKeyState keys{};
};

DeviceKeys &Device()
{
    static auto *device = new DeviceKeys; // read by exiting threads' input too
    return *device;
}

thread_local PortableKeyState threadKeys{};

// The key press the thread took last, and what the keyboard typed with it.
struct TypedKey {
    MSG message{};
    uint32_t character = 0;
};
thread_local TypedKey lastTaken;

bool SameMessage(const MSG &a, const MSG &b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.time == b.time;
}

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

SHORT WINAPI PortableGetKeyState(int key)
{
    if (key < 0 || key > 255)
        return 0;
    const BYTE state = threadKeys[static_cast<size_t>(key)];
    // A held key reads as a negative number, as on Windows.
    return static_cast<SHORT>(((state & kDown) ? 0xFF80 : 0) | (state & kToggled));
}

} // namespace

void PortableNoteKey(BYTE key, bool down)
{
    std::lock_guard<std::mutex> hold(Device().lock);
    BYTE &state = Device().keys[key];
    if (down && !(state & kDown))
        state ^= kToggled;
    state = static_cast<BYTE>(down ? state | kDown : state & ~kDown);
}

void PortableNoteModifiers(bool shift, bool control, bool alt, bool capsLock, bool numLock)
{
    std::lock_guard<std::mutex> hold(Device().lock);
    PortableKeyState &keys = Device().keys;
    const auto set = [](BYTE &state, BYTE bit, bool on) { state = static_cast<BYTE>(on ? state | bit : state & ~bit); };
    set(keys[VK_SHIFT], kDown, shift);
    set(keys[VK_CONTROL], kDown, control);
    set(keys[VK_MENU], kDown, alt);
    set(keys[VK_CAPITAL], kToggled, capsLock);
    set(keys[VK_NUMLOCK], kToggled, numLock);
}

PortableKeyState PortableDeviceKeys()
{
    std::lock_guard<std::mutex> hold(Device().lock);
    return Device().keys;
}

bool PortableHeld(const PortableKeyState &keys, BYTE key)
{
    return (keys[key] & kDown) != 0;
}

void PortableAdoptInput(const MSG &message, const PortableKeyState &keys, uint32_t character)
{
    threadKeys = keys;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)
        lastTaken = {message, character};
}

const PortableKeyState &PortableThreadKeys()
{
    return threadKeys;
}

bool PortableTypedWith(const MSG &keyMessage, uint32_t *character)
{
    if (!SameMessage(keyMessage, lastTaken.message))
        return false;
    *character = lastTaken.character;
    return true;
}

void PortableFillKeyState(PlatformTable *t)
{
    t->GetKeyState = PortableGetKeyState;
}
