// Key-press latency of a toolkit program: from the moment a key press is
// made at the X server (XTEST) to the moment the program's onKey reports it
// on its standard output, for COUNT presses of "x". Both ends are timed here
// on one clock; the pipe adds microseconds.
//   key-latency COUNT COMMAND...   (COMMAND runs tk-recorder)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    pid_t pid = 0;
    int output = -1;
    std::string pending;

    // The next line it printed, or false after `limit` without one.
    bool ReadLine(std::string *line, std::chrono::milliseconds limit)
    {
        const Clock::time_point until = Clock::now() + limit;
        for (;;) {
            const size_t end = pending.find('\n');
            if (end != std::string::npos) {
                *line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (!line->empty() && line->back() == '\r')
                    line->pop_back();
                return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            pollfd readable{output, POLLIN, 0};
            if (left <= 0 || poll(&readable, 1, int(left)) <= 0)
                return false;
            char buffer[4096];
            const ssize_t got = read(output, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            pending.append(buffer, size_t(got));
        }
    }
    bool WaitFor(const std::string &wanted, std::chrono::milliseconds limit)
    {
        std::string line;
        while (ReadLine(&line, limit)) {
            if (line == wanted)
                return true;
        }
        return false;
    }
};

Program Start(char **command)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        exit(2);
    Program program;
    program.pid = fork();
    if (program.pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        execvp(command[0], command);
        _exit(127);
    }
    close(pipeEnds[1]);
    program.output = pipeEnds[0];
    return program;
}

Window FindNamed(Display *display, Window top, const char *name)
{
    char *found = nullptr;
    if (XFetchName(display, top, &found) && found) {
        const bool same = strcmp(found, name) == 0;
        XFree(found);
        if (same)
            return top;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, top, &root, &parent, &children, &count))
        return 0;
    Window match = 0;
    for (unsigned i = 0; i < count && !match; ++i)
        match = FindNamed(display, children[i], name);
    if (children)
        XFree(children);
    return match;
}

void Key(Display *display, KeyCode code, bool down)
{
    XTestFakeKeyEvent(display, code, down, CurrentTime);
    XSync(display, False);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: key-latency COUNT COMMAND...\n");
        return 2;
    }
    const int count = atoi(argv[1]);
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    Program program = Start(argv + 2);
    if (!program.WaitFor("ready", std::chrono::seconds(30))) {
        fprintf(stderr, "key-latency: the program never got ready\n");
        return 1;
    }
    usleep(500000);
    const Window window = FindNamed(display, DefaultRootWindow(display), "tk-recorder");
    if (!window) {
        fprintf(stderr, "key-latency: no window named tk-recorder\n");
        return 1;
    }
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    usleep(300000);

    const KeyCode x = XKeysymToKeycode(display, XK_x);
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        const Clock::time_point pressed = Clock::now();
        Key(display, x, true);
        const bool seen = program.WaitFor("key 120 0", std::chrono::seconds(2));
        const Clock::time_point reported = Clock::now();
        Key(display, x, false);
        if (!seen) {
            fprintf(stderr, "key-latency: press %d never reached onKey\n", i + 1);
            break;
        }
        latencies.push_back(std::chrono::duration<double, std::milli>(reported - pressed).count());
        usleep(20000);
    }
    kill(program.pid, SIGTERM);
    waitpid(program.pid, nullptr, 0);
    if (latencies.size() != size_t(count))
        return 1;
    std::sort(latencies.begin(), latencies.end());
    printf("%d presses: median %.3f ms, worst %.3f ms\n", count, latencies[latencies.size() / 2], latencies.back());
    return 0;
}
