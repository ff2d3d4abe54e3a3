/* ov-view: shows a picture through the image readers in a toolkit window of
 * its size. Up and Down (or i and o) zoom in and out, Escape quits; the
 * toolkit passes no punctuation to a program, so + and - cannot. A refused
 * file shows the reader's message. Usage: ov-view FILE (.bmp .dib .rgb .sgi .bw) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "image/image.h"
#include "toolkit/tk.h"

#include <GL/gl.h>

static PixelImage *picture;
static float zoom = 1.0f;

static int EndsWith(const char *text, const char *tail)
{
    size_t length = strlen(text), tailLength = strlen(tail);
    if (tailLength > length)
        return 0;
    for (size_t i = 0; i < tailLength; ++i) {
        char c = text[length - tailLength + i];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != tail[i])
            return 0;
    }
    return 1;
}

static const char *BaseName(const char *path)
{
    const char *name = path;
    for (const char *p = path; *p; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    return name;
}

static PixelImage *Load(const char *name)
{
    if (EndsWith(name, ".bmp") || EndsWith(name, ".dib"))
        return LoadDibImageA(name);
    if (EndsWith(name, ".rgb") || EndsWith(name, ".sgi") || EndsWith(name, ".bw"))
        return LoadRgbImageA(name);
    fprintf(stderr, "ov-view: %s: not a .bmp, .dib, .rgb, .sgi or .bw file\n", name);
    return NULL;
}

static void Reshape(int32_t width, int32_t height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

/* The picture's bottom row first, as the readers deliver it and GL draws it. */
static void Draw(void)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2i(0, 0);
    glPixelZoom(zoom, zoom);
    glDrawPixels(picture->width, picture->height, GL_RGB, GL_UNSIGNED_BYTE, picture->pixels);
    tkFlipBuffers();
}

static int32_t Key(int32_t key, int32_t modifiers)
{
    (void)modifiers;
    switch (key) {
    case TKKEY_UP:
    case 'i':
        zoom *= 2.0f;
        return 1;
    case TKKEY_DOWN:
    case 'o':
        zoom /= 2.0f;
        return 1;
    case TKKEY_ESCAPE:
        tkShutWindow();
        return 0;
    default:
        return 0;
    }
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: ov-view FILE\n");
        return 2;
    }
    picture = Load(argv[1]);
    if (!picture)
        return 1;
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER);
    tkPlaceWindow(TK_DEFAULT_POSITION, 0, picture->width, picture->height);
    tkOnReshape(Reshape);
    tkOnExpose(Draw);
    tkOnKey(Key);
    if (!tkOpenWindow(BaseName(argv[1])))
        return 1;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClearColor(0, 0, 0, 1);
    tkRunLoop();
    free(picture->pixels);
    free(picture);
    return 0;
}
