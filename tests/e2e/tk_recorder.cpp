// A toolkit program that prints every callback it gets, one line each, for
// the end-to-end check driven by real X input. A button press and p print
// the pointer's position too; after the loop, whether every handle and
// callback is null. The window is the kind a new user's program opened: 400 x
// 300 at 100, 100, with reshape, expose, key, button and move callbacks.
// With --box FILE it only reads FILE as a bitmap, so that a refused file
// shows the reader's box, and ends.
#include <stdio.h>
#include <string.h>

#include "image/image.h"
#include "toolkit/tk.h"
#include "toolkit_state.h"

#include <GL/gl.h>

namespace {

void Print(const char *format, int a = 0, int b = 0, int c = 0)
{
    printf(format, a, b, c);
    fflush(stdout);
}

void Reshape(int32_t width, int32_t height)
{
    glViewport(0, 0, width, height);
    Print("reshape %d %d\n", width, height);
}

void Expose()
{
    glClear(GL_COLOR_BUFFER_BIT);
    tkFlipBuffers();
}

void PrintPointer()
{
    int32_t x = 0, y = 0;
    tkPointerPosition(&x, &y);
    Print("pointer %d %d\n", x, y);
}

int32_t Key(int32_t key, int32_t modifiers)
{
    Print("key %d %d\n", key, modifiers);
    if (key == 'p')
        PrintPointer();
    return 0;
}

int32_t Down(int32_t x, int32_t y, int32_t button)
{
    Print("down %d %d %d\n", x, y, button);
    PrintPointer();
    return 0;
}

int32_t Up(int32_t x, int32_t y, int32_t button)
{
    Print("up %d %d %d\n", x, y, button);
    return 0;
}

int32_t Move(int32_t x, int32_t y, int32_t held)
{
    if (held)
        Print("drag %d %d %d\n", x, y, held);
    return 0;
}

bool AllGone()
{
    const ToolkitState &s = toolkitState;
    return !s.window && !s.deviceContext && !s.renderContext && !s.palette && !s.onReshape && !s.onExpose &&
           !s.onKey && !s.onButtonDown && !s.onButtonUp && !s.onPointerMove && !s.onIdle;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "--box") == 0)
        return LoadDibImageA(argv[2]) ? 0 : 1;
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER);
    tkPlaceWindow(100, 100, 400, 300);
    tkOnReshape(Reshape);
    tkOnExpose(Expose);
    tkOnKey(Key);
    tkOnButtonDown(Down);
    tkOnButtonUp(Up);
    tkOnPointerMove(Move);
    if (!tkOpenWindow("tk-recorder"))
        return 1;
    Print("ready\n");
    tkRunLoop();
    Print(AllGone() ? "closed, all null\n" : "closed, something left\n");
    return 0;
}
