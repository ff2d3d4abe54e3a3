/* ov-view: shows a picture file in a toolkit window, zoomed about the
 * window's centre in steps of two. The toolkit passes no punctuation to a
 * program, so + and - cannot zoom; Up and Down, or i and o, do. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "image/image.h"
#include "toolkit/tk.h"

#include <GL/gl.h>

static const char kUsage[] =
    "usage: ov-view FILE\n"
    "Shows a bitmap (.bmp, .dib) or an SGI rgb picture (.rgb, .sgi, .bw), told apart by\n"
    "their first bytes, at a size that fits the screen. The window may be resized; the\n"
    "picture stays centred.\n"
    "Keys:\n"
    "  Up or i     zoom in, twice as large (at most 32 times)\n"
    "  Down or o   zoom out, half as large (at least 1/32)\n"
    "  Escape      quit\n";

enum { kZoomSteps = 5 }; /* 2^-5 to 2^5 */

static PixelImage *picture;
static int zoomStep; /* the zoom is 2^zoomStep */
static int32_t windowWidth, windowHeight;

/* 2^step as a fraction. */
static int64_t Numerator(int step) { return step > 0 ? (int64_t)1 << step : 1; }
static int64_t Denominator(int step) { return step < 0 ? (int64_t)1 << -step : 1; }

/* length pixels at the zoom 2^step, whole pixels rounded up. */
static int64_t Scaled(int32_t length, int step)
{
    return (length * Numerator(step) + Denominator(step) - 1) / Denominator(step);
}

/* Where length pixels at the zoom 2^step start, centred in room pixels:
 * (room - length x 2^step) / 2 rounded down, also when negative. */
static int32_t CentredStart(int32_t room, int32_t length, int step)
{
    const int64_t twice = room * Denominator(step) - length * Numerator(step), divisor = 2 * Denominator(step);
    return (int32_t)(twice >= 0 ? twice / divisor : -((divisor - 1 - twice) / divisor));
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

/* The loader takes UTF-8; a Windows program's arguments come in the ANSI
 * code page. The result is the caller's to free. */
static char *Utf8Path(const char *argument)
{
#ifdef _WIN32
    int wide = MultiByteToWideChar(CP_ACP, 0, argument, -1, NULL, 0);
    WCHAR *text = malloc(sizeof(WCHAR) * (size_t)(wide > 0 ? wide : 1));
    int bytes = 0;
    if (text && MultiByteToWideChar(CP_ACP, 0, argument, -1, text, wide) > 0)
        bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char *path = bytes > 0 ? malloc((size_t)bytes) : NULL;
    if (path)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, path, bytes, NULL, NULL);
    free(text);
    return path;
#else
    char *path = malloc(strlen(argument) + 1);
    if (path)
        strcpy(path, argument);
    return path;
#endif
}

/* The largest step of at most 1 whose picture leaves room on the screen for
 * the window's frame. */
static int FittingStep(void)
{
    int32_t screenWidth = 0, screenHeight = 0;
    tkScreenSize(&screenWidth, &screenHeight);
    int step = 0;
    while (step > -kZoomSteps && screenWidth > 0 && screenHeight > 0 &&
           (Scaled(picture->width, step) > screenWidth - 64 || Scaled(picture->height, step) > screenHeight - 96))
        --step;
    return step;
}

static void Reshape(int32_t width, int32_t height)
{
    windowWidth = width;
    windowHeight = height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

/* The picture's bottom row first, as the readers deliver it and GL draws it.
 * Its corner may lie outside the window: the raster position is set inside
 * and moved out by an empty bitmap, which keeps it valid. */
static void Draw(void)
{
    const GLfloat zoom = (GLfloat)Numerator(zoomStep) / (GLfloat)Denominator(zoomStep);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, (GLfloat)CentredStart(windowWidth, picture->width, zoomStep),
             (GLfloat)CentredStart(windowHeight, picture->height, zoomStep), NULL);
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
        if (zoomStep == kZoomSteps)
            return 0;
        ++zoomStep;
        return 1;
    case TKKEY_DOWN:
    case 'o':
        if (zoomStep == -kZoomSteps)
            return 0;
        --zoomStep;
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
    if (argc == 2 && strcmp(argv[1], "--help") == 0) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        if (argc == 2)
            fprintf(stderr, "ov-view: unknown option %s\n", argv[1]);
        else
            fprintf(stderr, "ov-view: give one FILE\n");
        fputs(kUsage, stderr);
        return 2;
    }
    char *path = Utf8Path(argv[1]);
    picture = LoadImageFile(path);
    free(path);
    if (!picture || !picture->pixels) {
        fprintf(stderr, "ov-view: %s\n", tkLastErrorText());
        return 1;
    }
    zoomStep = FittingStep();
    const int64_t width = Scaled(picture->width, zoomStep), height = Scaled(picture->height, zoomStep);
    tkSetModeFlags(TKMODE_RGBA | TKMODE_DOUBLE_BUFFER);
    tkPlaceWindow(TK_DEFAULT_POSITION, 0, width > 0 ? (int32_t)width : 1, height > 0 ? (int32_t)height : 1);
    tkOnReshape(Reshape);
    tkOnExpose(Draw);
    tkOnKey(Key);
    if (!tkOpenWindow(BaseName(argv[1]))) {
        fprintf(stderr, "ov-view: %s\n", tkLastErrorText());
        return 1;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClearColor(0, 0, 0, 1);
    tkRunLoop();
    free(picture->pixels);
    free(picture);
    return 0;
}
