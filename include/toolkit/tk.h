/** @file
 * The windowing toolkit: one top-level window with an OpenGL rendering
 * context, an event loop that turns the window's events into the program's
 * callbacks, a pixel format chosen from display-mode flags, and the colour
 * map of colour-index windows. Callable from C.
 *
 * Threads: the toolkit keeps one process-wide record without locks. Call
 * every tk function (but the error query of toolkit/tk_error.h and
 * tkVersion(), which any thread may call) on one thread, the one that opens
 * the window; it is the thread that must run tkRunLoop(), it receives the
 * window's messages, and every callback runs on it.
 *
 * Positions and sizes are in pixels. Client positions count from the client
 * area's top-left corner, x to the right and y down; screen positions from
 * the screen's top-left corner the same way.
 *
 * A program sets its options and callbacks, calls tkOpenWindow(), then
 * tkRunLoop(), which returns once the window is gone.
 */
#ifndef TOOLKIT_TK_H
#define TOOLKIT_TK_H

#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "toolkit/ov_export.h"
#include "toolkit/tk_error.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The library's version, "major.minor.patch", the one its package reports.
 * @return a constant string owned by the library. Any thread. */
OV_EXPORT const char *tkVersion(void);

/** @name Display-mode flags
 * The request of tkSetModeFlags(), bits combined with |. Unnamed bits are
 * ignored. @{ */
#define TKMODE_RGBA 0x000               /**< RGBA pixels (bit 0x001 clear). */
#define TKMODE_COLOR_INDEX 0x001        /**< Colour-index pixels through a palette; the default. */
#define TKMODE_SINGLE_BUFFER 0x000      /**< One colour buffer (bit 0x002 clear); the default. */
#define TKMODE_DOUBLE_BUFFER 0x002      /**< Front and back buffers; show the back one with tkFlipBuffers(). */
#define TKMODE_ACCUM_BUFFER 0x008       /**< An accumulation buffer. */
#define TKMODE_ALPHA 0x010              /**< Alpha bits in the colour buffer. */
#define TKMODE_DEPTH_BUFFER 0x020       /**< A depth buffer (24 bits where the platform chooses). */
#define TKMODE_STENCIL_BUFFER 0x040     /**< A stencil buffer. */
#define TKMODE_SHALLOW_DEPTH 0x100      /**< A 16-bit depth buffer, with or without TKMODE_DEPTH_BUFFER. */
#define TKMODE_TAKE_STATIC_COLORS 0x200 /**< A palette takes over the system palette's static colours, changing the desktop's colours while the window is active. */
/** @} */

/** @name Pixel-format policies
 * How tkOpenWindow() picks the format (tkSetFormatPolicy()). Any value other
 * than TKPF_EXACT and TKPF_CHOOSE acts as TKPF_BY_ID. @{ */
#define TKPF_BY_ID 1  /**< The format numbered by tkSetFormatId(). */
#define TKPF_EXACT 2  /**< The first format that matches the mode flags exactly. */
#define TKPF_CHOOSE 3 /**< The format the platform finds closest to the mode flags; the default. */
/** @} */

/** @name Keys
 * The key codes onKey receives. Besides these, the digits '0' to '9' and the
 * letters 'A' to 'Z' and 'a' to 'z' arrive as their character codes, as
 * typed (Shift and Caps Lock decide the case). No other key reaches onKey:
 * no punctuation, function, editing or modifier key. @{ */
#define TKKEY_RETURN 13 /**< Return. */
#define TKKEY_ESCAPE 27 /**< Escape. */
#define TKKEY_SPACE 32  /**< Space bar. */
#define TKKEY_LEFT 37   /**< Left arrow. */
#define TKKEY_UP 38     /**< Up arrow. */
#define TKKEY_RIGHT 39  /**< Right arrow. */
#define TKKEY_DOWN 40   /**< Down arrow. */
/** @} */

/** @name Modifiers
 * Bits of onKey's second argument: the modifier keys held as the key came. @{ */
#define TKMOD_SHIFT 1   /**< A Shift key. */
#define TKMOD_CONTROL 2 /**< A Control key. */
/** @} */

/** @name Buttons
 * The button of onButtonDown and onButtonUp, and the bits of onPointerMove's
 * held buttons. @{ */
#define TKBTN_LEFT 1   /**< Left button. */
#define TKBTN_RIGHT 2  /**< Right button. */
#define TKBTN_MIDDLE 4 /**< Middle button. */
/** @} */

/** The x of tkPlaceWindow() that lets the system choose the window's place. */
#define TK_DEFAULT_POSITION (-2147483647 - 1)

/** The client area's new size, once when tkRunLoop() starts and at every size
 * change; also while tkOpenWindow() shows the window, before its OpenGL
 * context exists. Minimised, the size is 0 x 0. A redraw follows.
 * @param width, height the client area in pixels. */
typedef void (*TkReshapeCallback)(int32_t width, int32_t height);
/** Draw the picture: at every paint request, with the context current. A
 * double-buffered window shows it after tkFlipBuffers(). */
typedef void (*TkExposeCallback)(void);
/** A key was pressed (repeats included); see the key codes.
 * @param key a TKKEY_ code or a digit's or letter's character code.
 * @param modifiers TKMOD_ bits held.
 * @return non-zero to ask for a redraw. */
typedef int32_t (*TkKeyCallback)(int32_t key, int32_t modifiers);
/** A mouse button was pressed or released. While any button is held the
 * window keeps the pointer, so positions may lie outside the client area,
 * negative among them.
 * @param x, y the pointer in client pixels.
 * @param button one TKBTN_ value.
 * @return non-zero to ask for a redraw. */
typedef int32_t (*TkButtonCallback)(int32_t x, int32_t y, int32_t button);
/** The pointer moved over the client area, or anywhere while a button is held.
 * @param x, y the pointer in client pixels.
 * @param heldButtons TKBTN_ bits of the buttons held, 0 for none.
 * @return non-zero to ask for a redraw. */
typedef int32_t (*TkPointerMoveCallback)(int32_t x, int32_t y, int32_t heldButtons);
/** Called by tkRunLoop() again and again whenever no message waits; while one
 * is set the loop never sleeps. */
typedef void (*TkIdleCallback)(void);

/** Where the window will open and the size of its client area; read by
 * tkOpenWindow(). Default: placed by the system, 100 x 100.
 * @param x, y the outer window's top-left corner in screen pixels, frame
 *        included; TK_DEFAULT_POSITION in x lets the system place it (y is then
 *        ignored).
 * @param width, height the client area in pixels. */
OV_EXPORT void tkPlaceWindow(int32_t x, int32_t y, int32_t width, int32_t height);

/** The size of the screen, for sizing a window before it opens.
 * @param width, height receive the size in pixels, both 0 when the platform
 *        cannot tell; neither may be null. */
OV_EXPORT void tkScreenSize(int32_t *width, int32_t *height);

/** The display-mode request tkOpenWindow() turns into a pixel format.
 * Default: TKMODE_COLOR_INDEX | TKMODE_SINGLE_BUFFER.
 * @param flags TKMODE_ bits. */
OV_EXPORT void tkSetModeFlags(uint32_t flags);
/** @return the display-mode request as last set. */
OV_EXPORT uint32_t tkModeFlags(void);
/** How tkOpenWindow() picks the pixel format. Default: TKPF_CHOOSE.
 * @param policy a TKPF_ value; any other acts as TKPF_BY_ID. */
OV_EXPORT void tkSetFormatPolicy(int32_t policy);
/** @return the policy as last set, unchanged. */
OV_EXPORT int32_t tkFormatPolicy(void);
/** The pixel-format number used under TKPF_BY_ID. Default: 0.
 * @param number a format number; checked only when the window opens, where a
 *        number the display lacks fails the open.
 * @return always 1. */
OV_EXPORT int32_t tkSetFormatId(int32_t number);
/** @return the format number as last set. */
OV_EXPORT int32_t tkFormatId(void);

/** @name Callbacks
 * Each replaces its callback at once, also from inside a callback, and null
 * (the default) switches it off. All run on the window's thread, inside
 * tkRunLoop() (onReshape also inside tkOpenWindow()), and may call any
 * toolkit function, tkShutWindow() included. The window's teardown sets
 * every callback back to null. @{ */
OV_EXPORT void tkOnReshape(TkReshapeCallback callback);       /**< @param callback see TkReshapeCallback. */
OV_EXPORT void tkOnExpose(TkExposeCallback callback);         /**< @param callback see TkExposeCallback. */
OV_EXPORT void tkOnKey(TkKeyCallback callback);               /**< @param callback see TkKeyCallback. */
OV_EXPORT void tkOnButtonDown(TkButtonCallback callback);     /**< @param callback see TkButtonCallback. */
OV_EXPORT void tkOnButtonUp(TkButtonCallback callback);       /**< @param callback see TkButtonCallback. */
OV_EXPORT void tkOnPointerMove(TkPointerMoveCallback callback); /**< @param callback see TkPointerMoveCallback. */
OV_EXPORT void tkOnIdle(TkIdleCallback callback);             /**< @param callback see TkIdleCallback. */
/** @} */

/** Opens the one window, shown, with a pixel format after the mode flags and
 * policy and an OpenGL rendering context current on the calling thread.
 * A process opens the window once: a second call fails.
 * @param title the window's title, UTF-8 on Linux, the ANSI code page on
 *        Windows; copied.
 * @return 1 on success. 0 on failure: the window class, the window, its
 *         device context, the pixel format or the context could not be had
 *         (TK_ERROR_WINDOW, TK_ERROR_PIXEL_FORMAT, TK_ERROR_CONTEXT in
 *         tkLastError(), after a box while boxes are on). Whatever was made is
 *         destroyed again; tkRunLoop() then returns at once. */
OV_EXPORT int32_t tkOpenWindow(const char *title);
/** Turns the window's messages into callbacks until the window is destroyed
 * (its close box, tkShutWindow()). It first calls onReshape with the client
 * size. Without onIdle it sleeps until a message comes. When it returns,
 * every callback and handle is null again; the settings are kept. */
OV_EXPORT void tkRunLoop(void);
/** Destroys the window, releasing its palette, context and device context;
 * tkRunLoop() then returns. Nothing happens without a window. */
OV_EXPORT void tkShutWindow(void);
/** Destroys the window as tkShutWindow() does and ends the process with exit
 * code 0; it does not return. */
OV_EXPORT void tkExitProgram(void);
/** Shows the back buffer of a double-buffered window; call it at the end of
 * onExpose. Without a window, or single-buffered, it changes nothing. */
OV_EXPORT void tkFlipBuffers(void);
/** Where the pointer is now, in client pixels: the position the button
 * callbacks would get, also outside the client area (then negative or past
 * its size).
 * @param x, y receive the position; both 0 when the platform cannot tell.
 *        Neither may be null. */
OV_EXPORT void tkPointerPosition(int32_t *x, int32_t *y);

/** @name Colour map
 * The palette of a colour-index window (and of an RGBA window on an 8-bit
 * display), changed in place and realised when tkRunLoop() next takes a
 * message. Without such a window they do nothing. Components run from 0
 * (none) to 1 (full); while the static colours are taken, entries 0 and 255
 * stay the system's black and white. @{ */
/** Sets one entry.
 * @param index the entry, 0 to tkCountMapEntries() - 1; others are ignored.
 * @param red, green, blue the colour. */
OV_EXPORT void tkStoreIndexColor(int32_t index, float red, float green, float blue);
/** Fills the map with 2^rampBits grey ramps of 2^levelBits entries each; ramp
 * k starts at grey k x 2^levelBits and climbs by 2^rampBits, cut at 255.
 * Entries past the ramps keep their colours.
 * @param levelBits, rampBits bit counts, 0 to 32. */
OV_EXPORT void tkStoreFogRamps(int32_t levelBits, int32_t rampBits);
/** Fills the whole map with one grey ramp from black to white. */
OV_EXPORT void tkStoreGreyRamp(void);
/** Fills the map after the window format's red, green and blue bit fields
 * and realises it at once.
 * @param first, second not read. */
OV_EXPORT void tkStoreRgbLayout(int32_t first, int32_t second);
/** @return the number of map entries, 0 without a colour-index window. */
OV_EXPORT int32_t tkCountMapEntries(void);
/** @} */

#ifdef _WIN32
typedef HWND TkWindowRef;   /**< The window as the platform knows it. */
typedef HDC TkDeviceRef;    /**< The window's device context. */
typedef HGLRC TkContextRef; /**< The window's OpenGL rendering context. */
#else
/** The toolkit's window, opaque: compare it with null, nothing more. */
typedef struct TkWindowObject *TkWindowRef;
/** The window's device context, opaque. */
typedef struct TkDeviceObject *TkDeviceRef;
/** The window's OpenGL rendering context, opaque. */
typedef struct TkContextObject *TkContextRef;
#endif

/** @name Handles
 * The window's handles, owned by the toolkit: null before tkOpenWindow() and
 * after the window is destroyed. On Windows they are the real HWND, HDC and
 * HGLRC; elsewhere opaque. @{ */
OV_EXPORT TkWindowRef tkWindowHandle(void);    /**< @return the window. */
OV_EXPORT TkDeviceRef tkDeviceContext(void);   /**< @return its device context. */
OV_EXPORT TkContextRef tkRenderContext(void);  /**< @return its rendering context. */
/** @} */

#ifdef __cplusplus
}
#endif

#endif
