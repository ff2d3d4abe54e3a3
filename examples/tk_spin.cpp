// tk-spin: a textured cube turning on the toolkit's idle callback; space
// switches between the polling loop (spinning) and the waiting one (still).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/tk.h"
#include "textures/texture_table.h"

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
#include <string>
#include <thread>

namespace {

const char kUsage[] =
    "usage: tk-spin [--seconds N] [BITMAP]\n"
    "A cube turning, textured with BITMAP, or else with crate.bmp found beside the\n"
    "program or in ../share/openvoskar from it.\n"
    "  --seconds N   quit after N seconds (paused or not) and print the frames per second\n"
    "Keys: arrows turn the cube, so does a drag with the left button; space stops and\n"
    "starts the spinning; Escape quits.\n";

float angleX = 20.0f, angleY = 30.0f;
bool spinning = true;
int32_t dragX = 0, dragY = 0;
int32_t texture = -1;
long frames = 0;
double quitAfter = 0, started = 0;

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Face(const float normal[3], const float corners[4][3])
{
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glNormal3fv(normal);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(uv[i]);
        glVertex3fv(corners[i]);
    }
}

void Cube()
{
    static const float n[6][3] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    static const float c[6][4][3] = {
        {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},     {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
        {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},     {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
        {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},     {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
    };
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f)
        Face(n[f], c[f]);
    glEnd();
}

void Draw()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -6);
    glRotatef(angleX, 1, 0, 0);
    glRotatef(angleY, 0, 1, 0);
    Cube();
    tkFlipBuffers();
    ++frames;
}

void Reshape(int32_t width, int32_t height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, height > 0 ? double(width) / height : 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
}

void EndWhenDue()
{
    if (quitAfter > 0 && Seconds() - started >= quitAfter)
        tkShutWindow();
}

void Idle()
{
    angleY += 1.0f;
    Draw();
    EndWhenDue();
}

// Still, the loop would wait for a message; a timed run must still end.
void IdleWhilePaused()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EndWhenDue();
}

// Still: the waiting loop, or for a timed run a polling one that only
// watches the clock.
TkIdleCallback IdleCallback() { return spinning ? Idle : quitAfter > 0 ? IdleWhilePaused : nullptr; }

int32_t Key(int32_t key, int32_t)
{
    switch (key) {
    case TKKEY_LEFT: angleY -= 5; return 1;
    case TKKEY_RIGHT: angleY += 5; return 1;
    case TKKEY_UP: angleX -= 5; return 1;
    case TKKEY_DOWN: angleX += 5; return 1;
    case TKKEY_SPACE:
        spinning = !spinning;
        tkOnIdle(IdleCallback());
        return 1;
    case TKKEY_ESCAPE: tkShutWindow(); return 0;
    default: return 0;
    }
}

int32_t ButtonDown(int32_t x, int32_t y, int32_t)
{
    dragX = x;
    dragY = y;
    return 0;
}

int32_t PointerMove(int32_t x, int32_t y, int32_t held)
{
    if (!(held & TKBTN_LEFT))
        return 0;
    angleY += float(x - dragX);
    angleX += float(y - dragY);
    dragX = x;
    dragY = y;
    return 1;
}

// The folder of this program's own file, with its separator.
std::string ProgramFolder()
{
    char path[4096] = {};
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const bool known = length > 0 && length < sizeof path;
#else
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const bool known = length > 0;
#endif
    std::string folder = known ? path : "";
    return folder.substr(0, folder.find_last_of("/\\") + 1);
}

bool Readable(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (file)
        fclose(file);
    return file != nullptr;
}

// crate.bmp beside the program (the build tree, the unpacked zip's bin/) or
// where the package installs it; empty when neither has it.
std::string FindCrate()
{
    const std::string folder = ProgramFolder();
    for (const std::string &place : {folder, folder + "../share/openvoskar/"})
        if (Readable(place + "crate.bmp"))
            return place + "crate.bmp";
    return std::string();
}

// A number of seconds above 0, whole text, or 0.
double SecondsArgument(const char *text)
{
    char *end = nullptr;
    const double seconds = strtod(text, &end);
    return end != text && *end == '\0' && seconds > 0 && seconds < 1e9 ? seconds : 0;
}

int Refuse(const char *what, const char *argument)
{
    fprintf(stderr, "tk-spin: %s%s\n%s", what, argument, kUsage);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::string bitmap;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0) {
            fputs(kUsage, stdout);
            return 0;
        }
        if (strcmp(argv[i], "--seconds") == 0) {
            const char *value = i + 1 < argc ? argv[++i] : "(none)";
            if ((quitAfter = SecondsArgument(value)) == 0)
                return Refuse("--seconds needs a number of seconds above 0: ", value);
        } else if (argv[i][0] == '-') {
            return Refuse("unknown option ", argv[i]);
        } else if (!bitmap.empty()) {
            return Refuse("one BITMAP at most, not also ", argv[i]);
        } else {
            bitmap = argv[i];
        }
    }
    const bool found = !bitmap.empty() || !(bitmap = FindCrate()).empty();
    tkShowErrorBoxes(0); // a refused bitmap is told on standard error
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER);
    tkPlaceWindow(TK_DEFAULT_POSITION, 0, 640, 480);
    tkOnReshape(Reshape);
    tkOnExpose(Draw);
    tkOnKey(Key);
    tkOnButtonDown(ButtonDown);
    tkOnPointerMove(PointerMove);
    tkOnIdle(Idle);
    if (!tkOpenWindow("tk-spin")) {
        fprintf(stderr, "tk-spin: %s\n", tkLastErrorText());
        return 1;
    }

    glEnable(GL_DEPTH_TEST);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    TextureTable textures;
    texture = found ? textures.AddTexture(bitmap.c_str()) : -1; // left bound when made
    if (texture >= 0) {
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    } else {
        if (found)
            fprintf(stderr, "tk-spin: no texture: %s\n", tkLastErrorText());
        else
            fprintf(stderr, "tk-spin: no texture: crate.bmp is neither beside the program nor in "
                            "../share/openvoskar from it\n");
        glColor3f(0.9f, 0.6f, 0.2f); // a plain cube
    }
    started = Seconds();
    tkRunLoop();
    if (quitAfter > 0)
        printf("tk-spin: %.1f frames per second\n", frames / (Seconds() - started));
    return 0;
}
