#include "host/sdl_keys.h"

namespace {

struct KeyName {
    SDL_Scancode scancode;
    BYTE key;
};

constexpr KeyName kByPosition[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},      {SDL_SCANCODE_KP_ENTER, VK_RETURN},   {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},     {SDL_SCANCODE_TAB, VK_TAB},           {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_LEFT, VK_LEFT},          {SDL_SCANCODE_UP, VK_UP},             {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},          {SDL_SCANCODE_INSERT, VK_INSERT},     {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_HOME, VK_HOME},          {SDL_SCANCODE_END, VK_END},           {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},      {SDL_SCANCODE_LSHIFT, VK_SHIFT},      {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},      {SDL_SCANCODE_RCTRL, VK_CONTROL},     {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},          {SDL_SCANCODE_LGUI, VK_LWIN},         {SDL_SCANCODE_RGUI, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, VK_APPS},   {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},  {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},  {SDL_SCANCODE_PAUSE, VK_PAUSE},       {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY}, {SDL_SCANCODE_KP_PLUS, VK_ADD},     {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},  {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},  {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},   {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},  {SDL_SCANCODE_SLASH, VK_OEM_2},       {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},  {SDL_SCANCODE_BACKSLASH, VK_OEM_5},   {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
};

constexpr SDL_Scancode kExtended[] = {
    SDL_SCANCODE_LEFT,  SDL_SCANCODE_UP,     SDL_SCANCODE_RIGHT,  SDL_SCANCODE_DOWN,     SDL_SCANCODE_INSERT,
    SDL_SCANCODE_DELETE, SDL_SCANCODE_HOME,  SDL_SCANCODE_END,    SDL_SCANCODE_PAGEUP,   SDL_SCANCODE_PAGEDOWN,
    SDL_SCANCODE_RCTRL, SDL_SCANCODE_RALT,   SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_NUMLOCKCLEAR,
    SDL_SCANCODE_LGUI,  SDL_SCANCODE_RGUI,   SDL_SCANCODE_APPLICATION, SDL_SCANCODE_PRINTSCREEN,
};

} // namespace

BYTE HostVirtualKey(const SDL_Keysym &given)
{
    SDL_Keysym key = given;
    if (key.scancode == SDL_SCANCODE_UNKNOWN) // an event made by a program may name only the symbol
        key.scancode = SDL_GetScancodeFromKey(key.sym);
    if (key.sym >= SDLK_a && key.sym <= SDLK_z)
        return static_cast<BYTE>('A' + (key.sym - SDLK_a));
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9)
        return static_cast<BYTE>('0' + (key.sym - SDLK_0));
    if (key.scancode >= SDL_SCANCODE_F1 && key.scancode <= SDL_SCANCODE_F12)
        return static_cast<BYTE>(VK_F1 + (key.scancode - SDL_SCANCODE_F1));
    if (key.scancode >= SDL_SCANCODE_F13 && key.scancode <= SDL_SCANCODE_F24)
        return static_cast<BYTE>(VK_F1 + 12 + (key.scancode - SDL_SCANCODE_F13));
    if (key.scancode >= SDL_SCANCODE_KP_1 && key.scancode <= SDL_SCANCODE_KP_9)
        return static_cast<BYTE>(VK_NUMPAD0 + 1 + (key.scancode - SDL_SCANCODE_KP_1));
    if (key.scancode == SDL_SCANCODE_KP_0)
        return VK_NUMPAD0;
    // A layout without Latin letters still has them where a US keyboard has.
    if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z)
        return static_cast<BYTE>('A' + (key.scancode - SDL_SCANCODE_A));
    if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_0)
        return static_cast<BYTE>(key.scancode == SDL_SCANCODE_0 ? '0' : '1' + (key.scancode - SDL_SCANCODE_1));
    for (const KeyName &name : kByPosition) {
        if (name.scancode == key.scancode)
            return name.key;
    }
    return 0;
}

bool HostExtendedKey(SDL_Scancode scancode)
{
    for (SDL_Scancode extended : kExtended) {
        if (extended == scancode)
            return true;
    }
    return false;
}
