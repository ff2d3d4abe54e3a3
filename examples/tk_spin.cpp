// tk-spin: a textured cube turning on the toolkit's idle callback.
//   arrows turn it, a drag with the left button turns it, space stops and
//   starts the spinning (the waiting and the polling loop), Escape quits.
// Usage: tk-spin [--seconds N] [BITMAP]   (--seconds: quit after N seconds
// and print the frames per second)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/tk.h"
#include "textures/texture_table.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>

namespace {

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

void Idle()
{
    angleY += 1.0f;
    Draw();
    if (quitAfter > 0 && Seconds() - started >= quitAfter)
        tkShutWindow();
}

int32_t Key(int32_t key, int32_t)
{
    switch (key) {
    case TKKEY_LEFT: angleY -= 5; return 1;
    case TKKEY_RIGHT: angleY += 5; return 1;
    case TKKEY_UP: angleX -= 5; return 1;
    case TKKEY_DOWN: angleX += 5; return 1;
    case TKKEY_SPACE:
        spinning = !spinning;
        tkOnIdle(spinning ? Idle : nullptr);
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

} // namespace

int main(int argc, char **argv)
{
    const char *bitmap = "crate.bmp";
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            quitAfter = atof(argv[++i]);
        else
            bitmap = argv[i];
    }
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER | TKMODE_DEPTH_BUFFER);
    tkPlaceWindow(TK_DEFAULT_POSITION, 0, 640, 480);
    tkOnReshape(Reshape);
    tkOnExpose(Draw);
    tkOnKey(Key);
    tkOnButtonDown(ButtonDown);
    tkOnPointerMove(PointerMove);
    tkOnIdle(Idle);
    if (!tkOpenWindow("tk-spin"))
        return 1;

    glEnable(GL_DEPTH_TEST);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    TextureTable textures;
    texture = textures.AddTexture(bitmap); // left bound when made
    if (texture >= 0) {
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    } else {
        glColor3f(0.9f, 0.6f, 0.2f); // no bitmap: a plain cube
    }
    started = Seconds();
    tkRunLoop();
    if (quitAfter > 0)
        printf("tk-spin: %.1f frames per second\n", frames / (Seconds() - started));
    return 0;
}
