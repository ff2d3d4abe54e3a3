#include "host/sdl_message_boxes.h"

#include <SDL.h>
#include <errno.h> // program_invocation_short_name
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "host/sdl_video.h"
#include "host/sdl_windows.h"

namespace {

constexpr int kMostButtons = 3;

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

Uint32 IconFlags(HostBoxIcon icon)
{
    switch (icon) {
    case HostBoxIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case HostBoxIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case HostBoxIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
    }
}

} // namespace

int HostShowMessageBox(const HostBox &box)
{
    SDL_MessageBoxButtonData buttons[kMostButtons] = {};
    const int count = box.count < kMostButtons ? box.count : kMostButtons;
    for (int i = 0; i < count; ++i) {
        const HostBoxButton &button = box.buttons[i];
        buttons[i] = {Uint32((button.onEnter ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0) |
                             (button.onEscape ? SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT : 0)),
                      button.answer, button.text};
    }
    SDL_MessageBoxData shown{};
    shown.flags = IconFlags(box.icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    shown.window = box.owner ? HostSdlWindow(box.owner) : nullptr;
    shown.title = box.caption;
    shown.message = box.text;
    shown.numbuttons = count;
    shown.buttons = buttons;
    if (!HostEnsureVideo()) {
        WriteBoxToStandardError(box.caption, box.text); // the missing display is said already
        return 0;
    }
    int pressed = -1;
    TieBoxesToOwnersOnce();
    boxOwner = getpid();
    const int result = SDL_ShowMessageBox(&shown, &pressed);
    boxOwner = 0;
    if (result != 0) {
        WriteBoxToStandardError(box.caption, box.text, SDL_GetError());
        return 0;
    }
    return pressed >= 0 ? pressed : box.dismissed;
}
