// Message boxes over SDL's: the same buttons, answers and captions as Win32's.
#include <SDL.h>

#include "fill_table.h"
#include "user32/window_registry.h"

namespace {

struct ButtonSet {
    SDL_MessageBoxButtonData buttons[2];
    int count;
    int dismissed; // the answer when the box is closed without a button
};

bool ButtonsFor(UINT type, ButtonSet *set)
{
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const Uint32 escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        *set = {{{enter | escape, IDOK, "OK"}, {}}, 1, IDOK};
        return true;
    case MB_OKCANCEL:
        *set = {{{enter, IDOK, "OK"}, {escape, IDCANCEL, "Cancel"}}, 2, IDCANCEL};
        return true;
    case MB_YESNO:
        *set = {{{enter, IDYES, "Yes"}, {0, IDNO, "No"}}, 2, IDNO};
        return true;
    default:
        return false;
    }
}

Uint32 IconFlags(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
    case MB_ICONINFORMATION:
    case MB_ICONQUESTION: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
    }
}

int WINAPI PortableMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    ButtonSet set;
    if (!ButtonsFor(type, &set))
        return 0;
    SDL_MessageBoxData box{};
    box.flags = IconFlags(type) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = owner ? PortableSdlWindow(owner) : nullptr;
    box.title = caption ? caption : "Error"; // Win32's caption for a null one
    box.message = text ? text : "";
    box.numbuttons = set.count;
    box.buttons = set.buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0)
        return 0;
    return pressed >= 0 ? pressed : set.dismissed;
}

} // namespace

void PortableFillMessageBoxes(PlatformTable *t)
{
    t->MessageBoxA = PortableMessageBoxA;
}
