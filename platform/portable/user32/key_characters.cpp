#include "user32/key_characters.h"

uint32_t PortableFallbackCharacter(BYTE key, const PortableKeyState &keys)
{
    const bool shift = PortableHeld(keys, VK_SHIFT);
    const bool control = PortableHeld(keys, VK_CONTROL);
    switch (key) {
    case VK_BACK: return 0x08;
    case VK_TAB: return control ? 0 : 0x09;
    case VK_RETURN: return control ? 0x0A : 0x0D;
    case VK_ESCAPE: return 0x1B;
    case VK_SPACE: return ' ';
    default: break;
    }
    if (key >= 'A' && key <= 'Z') {
        if (control)
            return key - 'A' + 1u;
        const bool capital = shift != ((keys[VK_CAPITAL] & 1) != 0);
        return capital ? key : key - 'A' + 'a';
    }
    if (key >= '0' && key <= '9' && !control)
        return shift ? static_cast<uint32_t>(")!@#$%^&*("[key - '0']) : key;
    return 0;
}
