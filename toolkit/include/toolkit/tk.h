/* The windowing toolkit: one window with an OpenGL context, its settings,
 * callbacks and handles. Callable from C. */
#ifndef TOOLKIT_TK_H
#define TOOLKIT_TK_H

#include <stdint.h>

#include "platform/win32_types.h"
#include "toolkit/ov_export.h"
#include "toolkit/tk_error.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version, "major.minor.patch", the one its package reports. */
OV_EXPORT const char *tkVersion(void);

/* Display-mode request bits, combined with |. */
#define TKMODE_RGBA 0x000
#define TKMODE_COLOR_INDEX 0x001
#define TKMODE_SINGLE_BUFFER 0x000
#define TKMODE_DOUBLE_BUFFER 0x002
#define TKMODE_ACCUM_BUFFER 0x008
#define TKMODE_ALPHA 0x010
#define TKMODE_DEPTH_BUFFER 0x020
#define TKMODE_STENCIL_BUFFER 0x040
#define TKMODE_SHALLOW_DEPTH 0x100
#define TKMODE_TAKE_STATIC_COLORS 0x200

/* Pixel-format policies; any value other than 2 and 3 acts as TKPF_BY_ID. */
#define TKPF_BY_ID 1
#define TKPF_EXACT 2
#define TKPF_CHOOSE 3

/* Key codes; digits and letters arrive as typed. */
#define TKKEY_RETURN 13
#define TKKEY_ESCAPE 27
#define TKKEY_SPACE 32
#define TKKEY_LEFT 37
#define TKKEY_UP 38
#define TKKEY_RIGHT 39
#define TKKEY_DOWN 40

#define TKMOD_SHIFT 1
#define TKMOD_CONTROL 2

#define TKBTN_LEFT 1
#define TKBTN_RIGHT 2
#define TKBTN_MIDDLE 4

/* Callbacks have no user-data argument. A non-zero result asks for a redraw. */
typedef void (*TkReshapeCallback)(int32_t width, int32_t height);
typedef void (*TkExposeCallback)(void);
typedef int32_t (*TkKeyCallback)(int32_t key, int32_t modifiers);
typedef int32_t (*TkButtonCallback)(int32_t x, int32_t y, int32_t button);
typedef int32_t (*TkPointerMoveCallback)(int32_t x, int32_t y, int32_t heldButtons);
typedef void (*TkIdleCallback)(void);

/* x, y: the outer window's corner, or CW_USEDEFAULT in x to let the system
 * place it; width, height: the client area. Read when the window opens. */
OV_EXPORT void tkPlaceWindow(int32_t x, int32_t y, int32_t width, int32_t height);

OV_EXPORT void tkSetModeFlags(uint32_t flags);
OV_EXPORT uint32_t tkModeFlags(void);
OV_EXPORT void tkSetFormatPolicy(int32_t policy);
OV_EXPORT int32_t tkFormatPolicy(void);
/* Always 1: the number is checked only when a window opens under TKPF_BY_ID. */
OV_EXPORT int32_t tkSetFormatId(int32_t number);
OV_EXPORT int32_t tkFormatId(void);

OV_EXPORT void tkOnReshape(TkReshapeCallback callback);
OV_EXPORT void tkOnExpose(TkExposeCallback callback);
OV_EXPORT void tkOnKey(TkKeyCallback callback);
OV_EXPORT void tkOnButtonDown(TkButtonCallback callback);
OV_EXPORT void tkOnButtonUp(TkButtonCallback callback);
OV_EXPORT void tkOnPointerMove(TkPointerMoveCallback callback);
OV_EXPORT void tkOnIdle(TkIdleCallback callback);

/* Opens the one window with a current OpenGL context: 1 on success, 0 after
 * telling why (when error boxes are on). A process opens it once. */
OV_EXPORT int32_t tkOpenWindow(const char *title);
/* Turns messages into callbacks until the window is destroyed. */
OV_EXPORT void tkRunLoop(void);
/* Destroys the window; the loop then returns. */
OV_EXPORT void tkShutWindow(void);
/* Destroys the window and ends the process with exit code 0. */
OV_EXPORT void tkExitProgram(void);
/* Shows the back buffer of a double-buffered window. */
OV_EXPORT void tkFlipBuffers(void);
/* The pointer relative to the client area's corner; 0, 0 when unknown. */
OV_EXPORT void tkPointerPosition(int32_t *x, int32_t *y);

/* The colour map of a colour-index window, changed in place and realised
 * when the event loop runs again. Components run from 0 to 1. Before a
 * window is open these do nothing and tkCountMapEntries is 0. */
OV_EXPORT void tkStoreIndexColor(int32_t index, float red, float green, float blue);
/* 2^rampBits grey ramps of 2^levelBits entries each. */
OV_EXPORT void tkStoreFogRamps(int32_t levelBits, int32_t rampBits);
OV_EXPORT void tkStoreGreyRamp(void);
/* Fills the map after the window format's colour bit fields; the two
 * arguments are not read. */
OV_EXPORT void tkStoreRgbLayout(int32_t first, int32_t second);
OV_EXPORT int32_t tkCountMapEntries(void);

/* Null while no window is open. */
OV_EXPORT HWND tkWindowHandle(void);
OV_EXPORT HDC tkDeviceContext(void);
OV_EXPORT HGLRC tkRenderContext(void);

#ifdef __cplusplus
}
#endif

#endif
