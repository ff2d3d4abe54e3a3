/** @file
 * Image files: readers for device-independent bitmaps (.bmp, .dib) and SGI
 * rgb images (.rgb, .sgi, .bw) that deliver one decoded picture record.
 * Callable from C. The readers keep nothing between calls and take no locks:
 * any thread may call them, also several at once.
 *
 * Failures: every reader returns null and records why in the calling
 * thread's failure record (tkLastError(), tkLastErrorText() in
 * toolkit/tk_error.h). The specified entry points LoadDibImage*() and
 * LoadRgbImage*() also show the message in a box while boxes are on
 * (tkShowErrorBoxes(), on by default), and wait until it is closed;
 * LoadImageFile() never shows one.
 */
#ifndef IMAGE_IMAGE_H
#define IMAGE_IMAGE_H

#include <stdint.h>
#ifdef _WIN32
#include <wchar.h>
#endif

#include "toolkit/ov_export.h"
#include "toolkit/tk_error.h"

#ifdef __cplusplus
extern "C" {
#endif

/** A decoded picture. The record and its pixel array come from malloc() and
 * belong to the caller, who frees pixels (when not null), then the record,
 * with free(). */
typedef struct PixelImage {
    int32_t width;         /**< Pixels in a row. */
    int32_t height;        /**< Rows. */
    /** width x height pixels of three bytes, red, green, blue, left to right;
     * rows bottom first, with nothing between rows (a row is width x 3 bytes,
     * whatever the width). Null only when an SGI file's record was made but
     * its pixels found no memory (TK_ERROR_OUT_OF_MEMORY is then recorded). */
    unsigned char *pixels;
} PixelImage;

/** A character of a UTF-16 file name (WCHAR). */
#ifdef _WIN32
typedef wchar_t ImageWideChar;
#else
typedef uint16_t ImageWideChar;
#endif

/** Reads an SGI rgb file: one byte a sample (of two-byte samples the high
 * byte), verbatim or run-length encoded, either byte order; channels 1 to 3
 * as red, green and blue (one or two channels as grey; a fourth is ignored).
 * LoadRgbImage() and LoadRgbImageA() are the same call.
 * @param name the file's name, terminated, in 8-bit characters: the ANSI
 *        code page on Windows, UTF-8 elsewhere.
 * @return a new PixelImage the caller frees, or null after recording and,
 *         while boxes are on, showing why: "Failed to open image file NAME.",
 *         "Invalid rgb file.", "Out of memory.", "Image larger than the pixel
 *         limit.". */
OV_EXPORT PixelImage *LoadRgbImage(const char *name);
/** @copydoc LoadRgbImage */
OV_EXPORT PixelImage *LoadRgbImageA(const char *name);
/** LoadRgbImage() for a UTF-16 file name.
 * @param name the file's name, terminated, in UTF-16.
 * @return as LoadRgbImage(). */
OV_EXPORT PixelImage *LoadRgbImageW(const ImageWideChar *name);

/** Reads a device-independent bitmap file, with or without the 14-byte file
 * header, with the 12-byte core or the 40-byte info header, in any bit depth
 * and compression the platform's drawing interface converts (1, 4, 8, 16,
 * 24 and 32 bits, run-length, bit fields). The longer 108- and 124-byte
 * headers are refused; LoadImageFile() reads them. LoadDibImage() and
 * LoadDibImageA() are the same call.
 * @param name the file's name, terminated, in 8-bit characters: the ANSI
 *        code page on Windows, UTF-8 elsewhere.
 * @return a new PixelImage the caller frees, or null after recording and,
 *         while boxes are on, showing why: "Failed to open DIB file NAME.",
 *         "Unknown DIB file format.", "Image file conversion error.", "Out of
 *         memory.", "Image larger than the pixel limit.". */
OV_EXPORT PixelImage *LoadDibImage(const char *name);
/** @copydoc LoadDibImage */
OV_EXPORT PixelImage *LoadDibImageA(const char *name);
/** LoadDibImage() for a UTF-16 file name.
 * @param name the file's name, terminated, in UTF-16.
 * @return as LoadDibImage(). */
OV_EXPORT PixelImage *LoadDibImageW(const ImageWideChar *name);

/** Reads a bitmap or an SGI rgb file, whichever the file's first bytes say
 * it is, whatever its name ends with: "BM" a bitmap with its file header, a
 * header size of 12, 40, 108 or 124 a bitmap without one, 0x01DA in either
 * byte order an SGI file. Bitmaps with the 108- and 124-byte headers are read
 * as GDI reads them: their bit-field masks are honoured, their colour-space
 * fields ignored. Never shows a box.
 * @param path the file's name in UTF-8, also on Windows.
 * @return a new PixelImage the caller frees, or null; then tkLastError() and
 *         tkLastErrorText() say why, the text naming the file: a reader's
 *         failure as above, TK_ERROR_FILE_FORMAT for a file of neither kind,
 *         TK_ERROR_ARGUMENT for a null path or one that is not UTF-8. */
OV_EXPORT PixelImage *LoadImageFile(const char *path);

/** The pixel limit when the program starts: a record within 512 MiB, close to
 * what other image libraries allow. A file of a few kilobytes can claim
 * billions of pixels; all readers refuse a picture of more pixels than the
 * limit before they obtain anything for it, with "Image larger than the
 * pixel limit." and TK_ERROR_PIXEL_LIMIT. */
#define IMAGE_DEFAULT_PIXEL_LIMIT 178956970u

/** Sets the pixel limit for every later call on any thread.
 * @param pixels the most pixels (width x height) a picture may have; 0 for
 *        no limit.
 * @return the previous limit. */
OV_EXPORT uint64_t SetImagePixelLimit(uint64_t pixels);

#ifdef __cplusplus
}
#endif

#endif
