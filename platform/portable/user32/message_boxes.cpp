// MessageBoxA: Win32's buttons, answers and captions, over the host's boxes.
#include "user32/message_boxes.h"
#include "host/sdl_message_boxes.h"

namespace {

struct ButtonSet {
    HostBoxButton buttons[2];
    int count;
    int dismissed;
};

bool ButtonsFor(UINT type, ButtonSet *set)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        *set = {{{IDOK, "OK", true, true}, {}}, 1, IDOK};
        return true;
    case MB_OKCANCEL:
        *set = {{{IDOK, "OK", true, false}, {IDCANCEL, "Cancel", false, true}}, 2, IDCANCEL};
        return true;
    case MB_YESNO:
        *set = {{{IDYES, "Yes", true, false}, {IDNO, "No", false, false}}, 2, IDNO};
        return true;
    default:
        return false;
    }
}

HostBoxIcon IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: return HostBoxIcon::Error;
    case MB_ICONEXCLAMATION: return HostBoxIcon::Warning;
    case MB_ICONINFORMATION:
    case MB_ICONQUESTION: return HostBoxIcon::Information;
    default: return HostBoxIcon::None;
    }
}

int WINAPI PortableMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    ButtonSet set;
    if (!ButtonsFor(type, &set))
        return 0;
    return HostShowMessageBox({owner, caption ? caption : "Error", // Win32's caption for a null one
                               text ? text : "", IconOf(type), set.buttons, set.count, set.dismissed});
}

} // namespace

void PortableFillMessageBoxes(PlatformTable *t)
{
    t->MessageBoxA = PortableMessageBoxA;
}
