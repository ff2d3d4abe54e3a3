// Message boxes over SDL's: the same buttons, answers and captions as Win32's.
// Where no box can be shown (no display, SDL's video refused) the caption and
// text go to standard error instead, so that no failure goes unheard.
#include <SDL.h>
#include <errno.h> // program_invocation_short_name
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "fill_table.h"
#include "user32/sdl_windows.h"
#include "user32/window_registry.h"

namespace {

// SDL shows an X box from a child process of the calling thread. Set while
// this thread shows one, and copied into that child by fork.
thread_local pid_t boxOwner = 0;

// In the child: the box dies with the thread that waits for it, so a program
// that ends or is killed takes its box along.
void TieBoxToOwner()
{
    if (!boxOwner)
        return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxOwner) // the owner went before the tie was made
        _exit(1);
}

void TieBoxesToOwnersOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { pthread_atfork(nullptr, nullptr, TieBoxToOwner); });
}

// One line on standard error: program, caption, text, and why no box showed
// when the display is there.
void WriteBoxToStandardError(const char *caption, const char *text, const char *reason = nullptr)
{
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    for (char &c : line)
        if (c == '\n')
            c = ' ';
    std::fprintf(stderr, "%s: %s: %s", program_invocation_short_name, caption, line.c_str());
    if (reason)
        std::fprintf(stderr, " (no message box: %s)", reason);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

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
    if (!PortableEnsureVideo()) {
        WriteBoxToStandardError(box.title, box.message); // the missing display is said already
        return 0;
    }
    int pressed = -1;
    TieBoxesToOwnersOnce();
    boxOwner = getpid();
    const int shown = SDL_ShowMessageBox(&box, &pressed);
    boxOwner = 0;
    if (shown != 0) {
        WriteBoxToStandardError(box.title, box.message, SDL_GetError());
        return 0;
    }
    return pressed >= 0 ? pressed : set.dismissed;
}

} // namespace

void PortableFillMessageBoxes(PlatformTable *t)
{
    t->MessageBoxA = PortableMessageBoxA;
}
