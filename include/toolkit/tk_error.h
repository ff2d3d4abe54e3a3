/** @file
 * Why a call of the library failed: one record per thread of the last
 * failure of any public function (the image readers, the texture table's
 * loads, the toolkit), a callback that hears of each failure as it happens,
 * and the switch for the message boxes. Callable from C; included by
 * toolkit/tk.h and image/image.h. */
#ifndef TOOLKIT_TK_ERROR_H
#define TOOLKIT_TK_ERROR_H

#include <stdint.h>

#include "toolkit/ov_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The codes of tkLastError() and of the error callback. The numbers are
 * stable: new codes are only ever added at the end. */
typedef enum TkErrorCode {
    TK_ERROR_NONE = 0,          /**< No failure on this thread since it started or last cleared. */
    TK_ERROR_OUT_OF_MEMORY = 1, /**< Memory, or a drawing resource of the platform, could not be obtained. */
    TK_ERROR_FILE_OPEN = 2,     /**< The file could not be opened, mapped or read. */
    TK_ERROR_FILE_FORMAT = 3,   /**< The file is not in a form the reader knows (not an rgb file, a bitmap header of another size). */
    TK_ERROR_CONVERSION = 4,    /**< The bitmap's pixel data could not be converted (damaged, cut short, unknown compression). */
    TK_ERROR_PIXEL_LIMIT = 5,   /**< The picture has more pixels than the limit of SetImagePixelLimit(). */
    TK_ERROR_ARGUMENT = 6,      /**< An argument was unusable: a null or invalid file name. */
    TK_ERROR_TABLE_FULL = 7,    /**< The texture table has handed out all of its names. */
    TK_ERROR_WINDOW = 8,        /**< The window class, the window or its device context could not be made. */
    TK_ERROR_PIXEL_FORMAT = 9,  /**< No pixel format could be chosen, set or described for the window. */
    TK_ERROR_CONTEXT = 10       /**< The OpenGL rendering context could not be made or made current. */
} TkErrorCode;

/** Receives each failure as it happens (see tkOnError()).
 * @param code a TkErrorCode.
 * @param text the failure as tkLastErrorText() gives it; valid only during the call. */
typedef void (*TkErrorCallback)(int32_t code, const char *text);

/** The code of the calling thread's last failure.
 * @return a TkErrorCode; TK_ERROR_NONE when no call on this thread has failed
 *         since the thread started or since tkClearLastError(). A call that
 *         succeeds leaves the record as it was.
 * Any thread; each thread has its own record. */
OV_EXPORT int32_t tkLastError(void);

/** The text of the calling thread's last failure: one line of UTF-8 without
 * a line end. A reader's text names the file ("pic.bmp: Unknown DIB file
 * format.", "Failed to open DIB file pic.bmp."); the toolkit's is the text of
 * its box.
 * @return the thread's own buffer, owned by the library, never null: "" when
 *         tkLastError() is TK_ERROR_NONE. It holds the text until the thread's
 *         next failure or tkClearLastError(); copy it to keep it. */
OV_EXPORT const char *tkLastErrorText(void);

/** Sets the calling thread's record back to TK_ERROR_NONE and "". Any thread. */
OV_EXPORT void tkClearLastError(void);

/** Installs the callback that receives every failure of every thread, on the
 * thread that failed, after the record is set and before any message box is
 * shown. A failure inside the callback is recorded but not reported to it
 * again. Any thread may install it.
 * @param callback the new callback, or null (the default) for none. It
 *        replaces the previous one at once, for all threads. */
OV_EXPORT void tkOnError(TkErrorCallback callback);

/** Records a failure as the library records its own: sets the calling
 * thread's record and calls the error callback, never showing a box. For
 * code on top of the library that reports through the same query; the
 * texture table's loads use it. Any thread.
 * @param code a TkErrorCode, or a number of the caller's own above 1000.
 * @param text one line of UTF-8, copied (cut at 511 bytes, between
 *        characters); null counts as "". */
OV_EXPORT void tkRecordError(int32_t code, const char *text);

/** Switches the message boxes of the specified entry points on or off for
 * all threads. While on (the default), a failure of the image readers'
 * LoadDibImage*() and LoadRgbImage*() or of tkOpenWindow() also shows its text
 * in a modal box captioned "Error", owned by the focused window, and the
 * failing call waits until the user closes it. Off, the same calls fail the
 * same way without a box. The record and the callback are kept either way.
 * LoadImageFile() never shows a box, nor do the texture table's own refusals
 * (its loads show the reader's).
 * @param flag non-zero for boxes, 0 for none. Takes effect at the next
 *        failure, on any thread; any thread may call it. */
OV_EXPORT void tkShowErrorBoxes(uint8_t flag);

#ifdef __cplusplus
}
#endif

#endif
